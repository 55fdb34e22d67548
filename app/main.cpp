#include "caller_controller.h"
#include "draws.h"
#include "main_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("bingo-caller"));
    QApplication::setApplicationVersion(QStringLiteral(BINGO_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral(BINGO_APP_ID));

    bingo::MainWindow window;
    bingo::CallerController controller(window, bingo::ProcessRandomSource());
    window.show();
    return QApplication::exec();
}

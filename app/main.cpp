#include "draws.h"
#include "main_window.h"
#include "startup.h"

#include <QApplication>

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char* argv[]) {
#ifdef Q_OS_WIN
    // Held until the process ends: the setup program and the uninstaller look for it, and
    // leave alone the files that Windows locks while the program runs.
    CreateMutexW(nullptr, FALSE, L"Local\\bingo-caller");
#endif
    QTranslator texts;
    bingo::LoadTexts(texts);
    if (const QString problem = bingo::DisplayProblem(argc, argv, texts); !problem.isEmpty()) {
        std::fprintf(stderr, "bingo-caller: %s\n", qPrintable(problem));
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("bingo-caller"));
    QApplication::setApplicationVersion(QStringLiteral(BINGO_VERSION_TEXT));
    // On Wayland the app id; on X11 docks match the window to its launcher by WM_CLASS, which
    // Qt makes from the program's and the application's name (the entry's StartupWMClass).
    QApplication::setDesktopFileName(QStringLiteral(BINGO_APP_ID));
    if (!texts.isEmpty()) {
        QApplication::installTranslator(&texts);
    }
    bingo::MainWindow window(bingo::ProcessRandomSource());
    window.show();
    return QApplication::exec();
}

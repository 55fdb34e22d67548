#include "draws.h"
#include "main_window.h"
#include "startup.h"

int main(int argc, char* argv[]) {
    bingo::Startup startup;
    const std::unique_ptr<QApplication> app = startup.Open(argc, argv);
    if (!app) {
        return 1;
    }
    bingo::MainWindow window(bingo::ProcessRandomSource());
    window.show();
    return QApplication::exec();
}

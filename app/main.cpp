#include "draws.h"
#include "main_window.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Qt aborts, leaving a core file, when it finds no display to open. Tell the user instead;
// where the platform or display is named (on the command line or in QT_QPA_PLATFORM), Qt
// decides as it always does.
bool DisplayMissing(int argc, char* argv[]) {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        while (*option == '-') {
            ++option; // Qt takes -platform and --platform alike
        }
        if (option != argv[i] &&
            (std::strcmp(option, "platform") == 0 || std::strcmp(option, "display") == 0)) {
            return false;
        }
    }
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return !set("QT_QPA_PLATFORM") && !set("DISPLAY") && !set("WAYLAND_DISPLAY");
#else
    (void)argc;
    (void)argv;
    return false;
#endif
}

} // namespace

int main(int argc, char* argv[]) {
    if (DisplayMissing(argc, argv)) {
        std::fprintf(stderr, "%s: no display to open; set DISPLAY or WAYLAND_DISPLAY\n",
                     "bingo-caller");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("bingo-caller"));
    QApplication::setApplicationVersion(QStringLiteral(BINGO_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral(BINGO_APP_ID));

    bingo::MainWindow window(bingo::ProcessRandomSource());
    window.show();
    return QApplication::exec();
}

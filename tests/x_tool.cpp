// The X session harness from the command line, for scripts and shell tests:
//   xsession run COMMAND [ARG...]   runs COMMAND on a private Xvfb; exits with its status
//   xsession run --cookie COMMAND... the same on a server that lets in only holders of its
//                                    cookie, which XAUTHORITY names
//   xsession screenshot FILE.png    the caller a dozen calls into a game, saved as a picture

#include "x_session.h"

#include <QGuiApplication>

#include <cstdio>

using bingo::testing::XSession;

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "xsession: %s\n", qPrintable(message));
    return 1;
}

int Screenshot(XSession& x, const QString& path) {
    QString error;
    if (!x.Launch(&error)) {
        return Fail(error);
    }
    if (!x.CallNumbers(12).save(path)) {
        return Fail(QStringLiteral("cannot write ") + path);
    }
    std::printf("wrote %s\n", qPrintable(path));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // Offscreen: this process only needs Qt's image code, never a window of its own.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = QGuiApplication::arguments().mid(1);
    const QString mode = args.isEmpty() ? QString() : args.takeFirst();
    const bool cookie = mode == QLatin1String("run") && args.value(0) == QLatin1String("--cookie");
    if (cookie) {
        args.removeFirst();
    }
    if (!(mode == QLatin1String("run") && !args.isEmpty()) &&
        !(mode == QLatin1String("screenshot") && args.size() == 1)) {
        return Fail(QStringLiteral(
            "usage: xsession run [--cookie] COMMAND [ARG...] | screenshot FILE.png"));
    }
    XSession x;
    QString error;
    if (!x.StartServer(&error, cookie)) {
        return Fail(error);
    }
    if (mode == QLatin1String("screenshot")) {
        return Screenshot(x, args.front());
    }
    const QString program = args.takeFirst();
    if (!x.Start(program, args)) {
        return Fail(QStringLiteral("cannot start ") + program);
    }
    const auto status = x.WaitForExit(-1);
    return status ? *status : 1;
}

// The X session harness from the command line, for scripts and shell tests:
//   xsession run COMMAND [ARG...]   runs COMMAND on a private Xvfb; exits with its status
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
    QImage picture = x.Grab();
    for (int call = 0; call < 12; ++call) {
        x.ClickControl("Command2");
        picture = x.WaitForStill(picture);
    }
    if (!picture.save(path)) {
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
    if (!(mode == QLatin1String("run") && !args.isEmpty()) &&
        !(mode == QLatin1String("screenshot") && args.size() == 1)) {
        return Fail(QStringLiteral("usage: xsession run COMMAND [ARG...] | screenshot FILE.png"));
    }
    XSession x;
    QString error;
    if (!x.StartServer(&error)) {
        return Fail(error);
    }
    if (mode == QLatin1String("screenshot")) {
        return Screenshot(x, args.front());
    }
    if (!x.Start(args.takeFirst(), args)) {
        return Fail(QStringLiteral("cannot start ") + QString::fromLocal8Bit(argv[2]));
    }
    const auto status = x.WaitForExit(-1);
    return status ? *status : 1;
}

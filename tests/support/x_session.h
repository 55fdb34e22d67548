#pragma once

// End-to-end harness: a private Xvfb, the real bingo-caller under it, and what a person has:
// the mouse and keyboard (xdotool), the screen (ImageMagick's import) and eyes for text
// (tesseract). Every process started here dies with the test process, even when the test is
// killed for running too long.

#include "layout_tables.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <sys/prctl.h>

#include <csignal>
#include <memory>

namespace bingo::testing {

// What is missing of the tools the suite needs, as a message; empty when all are there.
inline QString MissingTools() {
    for (const char* tool : {"Xvfb", "xdotool", "import", "tesseract"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            return QStringLiteral("%1 is not installed; scripts/test installs it")
                .arg(QString::fromLatin1(tool));
        }
    }
    return {};
}

inline void DieWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

inline void EndProcess(QProcess& process) {
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(2000)) {
            process.kill();
            process.waitForFinished(2000);
        }
    }
}

class XSession {
public:
    XSession() = default;
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;
    ~XSession() {
        EndProcess(m_app);
        EndProcess(m_server);
    }

    // Starts Xvfb on a display it finds free itself; false with a reason on failure.
    bool StartServer(QString* error) {
        DieWithParent(m_server);
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"),
                        QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("1600x1200x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
        QElapsedTimer clock;
        clock.start();
        while (!m_server.canReadLine() && clock.elapsed() < 10000 &&
               m_server.state() != QProcess::NotRunning) {
            m_server.waitForReadyRead(200);
        }
        const QByteArray line = m_server.readLine().trimmed();
        if (line.isEmpty()) {
            *error = QStringLiteral("Xvfb did not start: ") +
                     QString::fromLocal8Bit(m_server.readAllStandardError());
            return false;
        }
        m_display = QStringLiteral(":") + QString::fromLatin1(line);
        return true;
    }

    // Launches the program and waits for its window; extra environment for it in `env`.
    bool Launch(QString* error, const QStringList& env = {}) {
        QProcessEnvironment environment = Environment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        for (const QString& entry : env) {
            environment.insert(entry.section(QLatin1Char('='), 0, 0),
                               entry.section(QLatin1Char('='), 1));
        }
        m_app.setProcessEnvironment(environment);
        m_app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        DieWithParent(m_app);
        m_app.start(QStringLiteral(BINGO_CALLER_PATH), {});
        if (!m_app.waitForStarted(10000)) {
            *error = QStringLiteral("bingo-caller did not start: ") + m_app.errorString();
            return false;
        }
        QByteArray out;
        if (!Run({"search", "--sync", "--onlyvisible", "--pid", QString::number(m_app.processId())},
                 &out, 15000)) {
            *error = QStringLiteral("no window of bingo-caller appeared");
            return false;
        }
        m_window = QString::fromLatin1(out.split('\n').front().trimmed());
        // Let the first paint land before anyone looks.
        if (WaitForStill().isNull()) {
            *error = QStringLiteral("the window could not be grabbed");
            return false;
        }
        return true;
    }

    // Ends the program, so that Launch can start it afresh on the same display.
    void Quit() { EndProcess(m_app); }

    bool AppRunning() const { return m_app.state() == QProcess::Running; }
    const QString& Window() const { return m_window; }

    // Runs an X client on this display; its standard output in `out`.
    bool Run(const QStringList& args, QByteArray* out = nullptr, int timeoutMs = 10000,
             const QString& program = QStringLiteral("xdotool")) const {
        QProcess process;
        process.setProcessEnvironment(Environment());
        DieWithParent(process);
        process.start(program, args);
        if (!process.waitForFinished(timeoutMs)) {
            EndProcess(process);
            return false;
        }
        if (out != nullptr) {
            *out = process.readAllStandardOutput();
        }
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    // The window's client area as it is on screen now.
    QImage Grab() const {
        QByteArray png;
        if (!Run({QStringLiteral("-window"), m_window, QStringLiteral("png:-")}, &png, 10000,
                 QStringLiteral("import"))) {
            return {};
        }
        return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
    }

    // Grabs until two pictures in a row agree (the window has finished repainting), or
    // until `changedFrom` is left behind when one is given.
    QImage WaitForStill(const QImage& changedFrom = {}, int timeoutMs = 5000) const {
        QElapsedTimer clock;
        clock.start();
        QImage previous = Grab();
        while (clock.elapsed() < timeoutMs) {
            QThread::msleep(40);
            QImage next = Grab();
            if (!next.isNull() && next == previous &&
                (changedFrom.isNull() || next != changedFrom)) {
                return next;
            }
            previous = std::move(next);
        }
        return previous;
    }

    void Click(QPoint at) const {
        Run({"mousemove", "--window", m_window, QString::number(at.x()), QString::number(at.y()),
             "click", "1"});
    }
    void ClickControl(const char* name, int scale = 1) const {
        Click(Pixels(Control(name), scale).center());
    }
    void Key(const char* key) const {
        Run({"windowfocus", "--sync", m_window});
        Run({"key", "--clearmodifiers", QString::fromLatin1(key)});
    }

    // Text in one region of a picture as tesseract reads it, limited to `allowed`.
    static QString Read(const QImage& picture, QRect region, const char* allowed, int pageMode) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("region.png"));
        // Tesseract reads best at text sizes, with a margin: a lone 72 pt "O" as cut from
        // the box it does not read at all.
        constexpr int kMargin = 20;
        QImage page(region.size() + QSize(2 * kMargin, 2 * kMargin), QImage::Format_RGB32);
        page.fill(Qt::white);
        for (int y = 0; y < region.height(); ++y) {
            for (int x = 0; x < region.width(); ++x) {
                page.setPixel(x + kMargin, y + kMargin,
                              picture.pixel(region.topLeft() + QPoint(x, y)));
            }
        }
        page.scaled(page.size() * 2 / 5, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .save(path);
        QProcess process;
        DieWithParent(process);
        process.start(QStringLiteral("tesseract"),
                      {path, QStringLiteral("stdout"), QStringLiteral("--psm"),
                       QString::number(pageMode), QStringLiteral("-c"),
                       QStringLiteral("tessedit_char_whitelist=") + QString::fromLatin1(allowed)});
        if (!process.waitForFinished(20000)) {
            EndProcess(process);
            return {};
        }
        return QString::fromUtf8(process.readAllStandardOutput()).simplified();
    }

private:
    QProcessEnvironment Environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        return environment;
    }

    QProcess m_server;
    QProcess m_app;
    QString m_display;
    QString m_window;
};

// Which cells a picture shows light red, by sampling inside each cell's frame away from
// its digits.
inline std::vector<int> RedCells(const QImage& picture, int scale = 1) {
    std::vector<int> red;
    for (int n = 1; n <= 75; ++n) {
        const QRect cell = CellPixels(n, scale);
        const QPoint inside = cell.topLeft() + QPoint(4, 4) * scale;
        if (picture.pixel(inside) == kCalledRed) {
            red.push_back(n);
        }
    }
    return red;
}

inline int WhiteCells(const QImage& picture, int scale = 1) {
    int white = 0;
    for (int n = 1; n <= 75; ++n) {
        const QRect cell = CellPixels(n, scale);
        white += picture.pixel(cell.topLeft() + QPoint(4, 4) * scale) == kWhite ? 1 : 0;
    }
    return white;
}

} // namespace bingo::testing

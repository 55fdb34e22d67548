#pragma once

// The one way this project puts a program on a screen: a private Xvfb (which takes its own
// display number and lock file), the real bingo-caller under it, optionally behind a wrapper
// such as valgrind, and what a person has: the mouse and keyboard (xdotool), the screen
// (grabbed through xcb) and eyes for text (tesseract). The end-to-end suites, memcheck, the
// whole-program benchmark and the screenshot all go through here. Every process started here
// dies with the process that started it, even when that one is killed.

#include "pictures.h"

#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

struct xcb_connection_t;

namespace bingo::testing {

// What is missing of the tools the harness needs, as a message; empty when all are there.
QString MissingTools(const QStringList& tools = {"Xvfb", "xdotool", "tesseract"});

class XSession {
public:
    static QString CallerPath(); // the bingo-caller this build made

    XSession() = default;
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;
    ~XSession();

    // Starts Xvfb on a display it finds free itself, and the window manager named in
    // BINGO_WINDOW_MANAGER if one is (none by default); false with a reason on failure. With
    // `cookie`, the server lets in only clients that hold a cookie made for it, which
    // Environment() names in XAUTHORITY.
    bool StartServer(QString* error, bool cookie = false);
    const QString& Display() const { return m_display; }
    // This process's environment with DISPLAY set to the private server.
    QProcessEnvironment Environment() const;

    // Starts `program` (behind `wrapper`, if given) with extra `env` entries NAME=VALUE, and
    // waits for its window and first still picture.
    bool Launch(QString* error, const QStringList& env = {}, const QStringList& wrapper = {},
                int timeoutMs = 20000, const QString& program = CallerPath());
    // StartServer, then Launch.
    bool Open(QString* error, const QStringList& env = {}, const QStringList& wrapper = {},
              int timeoutMs = 20000, const QString& program = CallerPath());
    // Clicks STOP `calls` times, each time waiting until one more cell is red and the window
    // is still again; the last picture. Called from a still window.
    QImage CallNumbers(int calls, int timeoutMs = 5000) const;
    // Starts any program, with extra `env` entries NAME=VALUE, without waiting for a window.
    bool Start(const QString& program, const QStringList& args = {}, const QStringList& env = {});
    // Looks once for the program's viewable window; true, and the window kept, when found.
    bool FindWindow();
    // Finds the window by its title instead of its process: for programs whose window belongs
    // to another process than the one started (a Windows program under Wine).
    void FindByTitle(const QString& title) { m_title = title; }
    // Asks the window to close, as a window manager's close button does, and waits for the
    // program to end; its exit code, or nothing if it did not end in time.
    std::optional<int> Close(int timeoutMs);
    // The program's exit code once it ends by itself; nothing if it did not end in time.
    std::optional<int> WaitForExit(int timeoutMs);
    // Ends the program, so that Launch can start it afresh on the same display.
    void Quit();

    bool AppRunning() const { return m_app.state() == QProcess::Running; }
    qint64 AppPid() const { return m_app.processId(); }
    QString Window() const { return QString::number(m_window); }

    // Runs an X client on this display; its standard output in `out`.
    bool Run(const QStringList& args, QByteArray* out = nullptr, int timeoutMs = 10000,
             const QString& program = QStringLiteral("xdotool")) const;

    // The window's client area as it is on screen now (or one pixel of it).
    QImage Grab() const;
    QRgb Pixel(QPoint at) const;
    // Grabs until two pictures in a row agree (the window has finished repainting), or
    // until `changedFrom` is left behind when one is given.
    QImage WaitForStill(const QImage& changedFrom = {}, int timeoutMs = 5000) const;

    void Click(QPoint at, int button = 1) const;
    void ClickControl(const char* name, int scale = 1) const;
    void Key(const char* key) const;
    // Holds `key` down for `ms` milliseconds, with the server's key repeat running.
    void HoldKey(const char* key, int ms) const;
    // A property of the window as the server holds it (a string, or 32-bit values).
    QByteArray Property(const char* name) const;

private:
    QImage GrabRect(QRect rect) const;
    bool Viewable(unsigned window) const;
    // The window under `parent`, a window manager's frames included, that is the program's.
    unsigned Search(unsigned parent, const QByteArray& wanted, int depth) const;

    QProcess m_server;
    QProcess m_manager;
    QProcess m_app;
    QString m_display;
    QTemporaryDir m_cookies;
    bool m_cookie = false;
    xcb_connection_t* m_connection = nullptr;
    unsigned m_root = 0;
    unsigned m_window = 0;
    QString m_title;
};

} // namespace bingo::testing

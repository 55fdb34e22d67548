#include "startup.h"

#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace bingo {
namespace {

constexpr const char* kProgram = "bingo-caller";
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
constexpr bool kDisplayMayBeMissing = true;
#else
constexpr bool kDisplayMayBeMissing = false; // Windows always has a desktop
#endif

// The texts, marked for lupdate in the context they are translated in.
const char* const kNoDisplay =
    QT_TRANSLATE_NOOP("bingo::Startup", "no display to open; set DISPLAY or WAYLAND_DISPLAY");
const char* const kNoXServer =
    QT_TRANSLATE_NOOP("bingo::Startup", "cannot open display %1: no X server answers there");
const char* const kRefused = QT_TRANSLATE_NOOP(
    "bingo::Startup", "cannot open display %1: the X server refused the connection (%2)");
const char* const kDisplayUnset =
    QT_TRANSLATE_NOOP("bingo::Startup", "cannot open a display: DISPLAY is not set");
const char* const kNoWaylandPlugin =
    QT_TRANSLATE_NOOP("bingo::Startup", "cannot open Wayland display %1: Qt's Wayland plugin is "
                                        "missing (Debian package qt6-wayland)");
const char* const kNoPlatform =
    QT_TRANSLATE_NOOP("bingo::Startup", "cannot open the display: Qt could not start (%1)");

QString Environment(const char* name) {
    return qEnvironmentVariable(name);
}

bool Named(const char* option, const char* name) {
    const char* bare = option;
    while (*bare == '-') {
        ++bare; // Qt takes -platform and --platform alike
    }
    return bare != option && std::strcmp(bare, name) == 0;
}

// Whether the command line chooses the platform or display itself: Qt decides then.
bool ChosenOnCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (Named(argv[i], "platform") || Named(argv[i], "display")) {
            return true;
        }
    }
    return false;
}

QString DisplayName(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (Named(argv[i], "display")) {
            return QString::fromLocal8Bit(argv[i + 1]);
        }
    }
    return Environment("DISPLAY");
}

// Whether Qt has its Wayland platform plugin here, without which it cannot use a Wayland display
// whatever order of platforms it tries.
bool HasWaylandPlugin() {
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                         QStringLiteral("/platforms"));
    return !platforms.entryList({QStringLiteral("*wayland*")}, QDir::Files).isEmpty();
}

// A line that only names a logging category, as "qt.qpa.xcb:", which Qt prints before its
// message on a line of its own.
bool OnlyCategory(const QString& words) {
    return words.size() > 1 && words.endsWith(QLatin1Char(':')) &&
           std::all_of(words.begin(), words.end() - 1, [](QChar c) {
               return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.');
           });
}

void Print(const QString& line) {
    std::fprintf(stderr, "%s: %s\n", kProgram, line.toLocal8Bit().constData());
    std::fflush(stderr);
}

// While Qt opens the display, standard error goes to memory: libxcb prints the X server's
// refusal there itself, and Qt its reasons, before Qt aborts. What was printed goes on to the
// real standard error once the display is open.
class ErrorCapture {
public:
    void Begin() {
#ifdef Q_OS_LINUX
        std::fflush(stderr);
        m_memory = ::memfd_create("stderr", MFD_CLOEXEC);
        m_saved = m_memory < 0 ? -1 : ::dup(STDERR_FILENO);
        if (m_saved < 0 || ::dup2(m_memory, STDERR_FILENO) < 0) {
            End();
        }
#endif
    }
    // Puts standard error back; what went to memory meanwhile.
    QByteArray End() {
        QByteArray text;
#ifdef Q_OS_LINUX
        std::fflush(stderr);
        if (m_saved >= 0) {
            ::dup2(m_saved, STDERR_FILENO);
            ::close(m_saved);
            m_saved = -1;
        }
        if (m_memory >= 0) {
            char buffer[4096];
            ssize_t got = 0;
            off_t at = 0;
            while ((got = ::pread(m_memory, buffer, sizeof buffer, at)) > 0) {
                text.append(buffer, got);
                at += got;
            }
            ::close(m_memory);
            m_memory = -1;
        }
#endif
        return text;
    }

private:
    int m_memory = -1;
    int m_saved = -1;
};

#ifndef Q_OS_WIN
// The icon theme's icon where the desktop has one installed and Qt can draw it (the theme's
// SVG needs Qt's SVG plugin), else the sizes made from the same SVG that travel in the
// executable. Windows takes the icon resource of the executable instead.
QIcon WindowIcon() {
    const QIcon themed = QIcon::fromTheme(QStringLiteral(BINGO_APP_ID));
    if (!themed.pixmap(QSize(32, 32)).isNull()) {
        return themed;
    }
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    }
    return icon;
}
#endif

ErrorCapture g_capture;
const Startup* g_opening = nullptr;
QtMessageHandler g_qtHandler = nullptr;
QStringList g_qtSaid; // Qt's messages while it opens the display

} // namespace

bool PrefersJapanese(const QStringList& languages) {
    for (const QString& language : languages) {
        if (language.startsWith(QLatin1String("ja"))) {
            return true;
        }
        if (language.startsWith(QLatin1String("en"))) {
            return false;
        }
    }
    return false;
}

QStringList LocaleLanguages() {
    QString locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = Environment(name);
        if (!locale.isEmpty()) {
            break;
        }
    }
    const QString list = Environment("LANGUAGE");
    // gettext reads LANGUAGE only where a locale other than C is set.
    if (!list.isEmpty() && !locale.isEmpty() && locale != QLatin1String("C") &&
        locale != QLatin1String("POSIX")) {
        return list.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    }
    return {locale};
}

bool LoadJapanese(QTranslator& translator) {
    return translator.load(QStringLiteral(":/i18n/bingo-caller_ja.qm"));
}

QString Startup::Text(const char* source) const {
    const QString text = m_messages.translate("bingo::Startup", source);
    return text.isEmpty() ? QString::fromUtf8(source) : text;
}

QString Startup::PlatformFailure(const QStringList& qtSaid, const QString& printed) const {
    const QString wayland = Environment("WAYLAND_DISPLAY");
    if (m_display.isEmpty() && !wayland.isEmpty() && !HasWaylandPlugin()) {
        return Text(kNoWaylandPlugin).arg(wayland);
    }
    const auto qtSays = [&qtSaid](QLatin1String words) {
        return std::any_of(qtSaid.begin(), qtSaid.end(),
                           [words](const QString& message) { return message.contains(words); });
    };
    if (qtSays(QLatin1String("could not connect to display"))) {
        if (m_display.isEmpty()) {
            return Text(kDisplayUnset);
        }
        // What was printed that is none of Qt's messages (some run over several lines, as
        // Qt 6.8's warning of a C locale) is the X server's refusal, which libxcb prints.
        QString rest = printed;
        for (const QString& message : qtSaid) {
            rest.remove(message);
        }
        for (const QString& line : rest.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString words = line.trimmed();
            if (!words.isEmpty() && !OnlyCategory(words)) {
                return Text(kRefused).arg(m_display, words);
            }
        }
        return Text(kNoXServer).arg(m_display);
    }
    return Text(kNoPlatform).arg(qtSaid.isEmpty() ? QString() : qtSaid.back());
}

void Startup::Watch(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (g_opening == nullptr) {
        g_qtHandler(type, context, message);
        return;
    }
    g_qtSaid << message;
    if (type != QtFatalMsg) {
        g_qtHandler(type, context, message);
        return;
    }
    // Qt is about to abort: no platform could be started.
    const QString printed = QString::fromLocal8Bit(g_capture.End());
    Print(g_opening->PlatformFailure(g_qtSaid, printed));
    std::_Exit(1);
}

std::unique_ptr<QApplication> Startup::Open(int& argc, char** argv) {
    if (PrefersJapanese(LocaleLanguages())) {
        LoadJapanese(m_messages);
    }
    m_display = DisplayName(argc, argv);
    if (kDisplayMayBeMissing && !ChosenOnCommandLine(argc, argv) &&
        Environment("QT_QPA_PLATFORM").isEmpty() && m_display.isEmpty() &&
        Environment("WAYLAND_DISPLAY").isEmpty()) {
        Print(Text(kNoDisplay));
        return nullptr;
    }

    g_opening = this;
    g_qtHandler = qInstallMessageHandler(Watch);
    g_capture.Begin();
    auto app = std::make_unique<QApplication>(argc, argv);
    const QByteArray said = g_capture.End();
    qInstallMessageHandler(g_qtHandler);
    g_opening = nullptr;
    std::fwrite(said.constData(), 1, static_cast<std::size_t>(said.size()), stderr);

    QApplication::setApplicationName(QString::fromLatin1(kProgram));
    QApplication::setApplicationVersion(QStringLiteral(BINGO_VERSION_TEXT));
    // On Wayland the app id; on X11 docks match the window to its launcher by WM_CLASS, which
    // Qt makes from the program's and the application's name (the entry's StartupWMClass).
    QApplication::setDesktopFileName(QStringLiteral(BINGO_APP_ID));
#ifndef Q_OS_WIN
    QApplication::setWindowIcon(WindowIcon());
#endif
    if (PrefersJapanese(QLocale::system().uiLanguages()) && LoadJapanese(m_window)) {
        QApplication::installTranslator(&m_window);
    }
    return app;
}

} // namespace bingo

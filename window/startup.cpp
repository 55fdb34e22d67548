#include "startup.h"

#include <QDir>
#include <QLibraryInfo>
#include <QLocale>

#include <cstdio>
#include <cstring>
#include <optional>

#ifdef BINGO_HAVE_XCB
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>
#endif

namespace bingo {
namespace {

#ifdef BINGO_HAVE_XCB
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
const char* const kNoCompositor = QT_TRANSLATE_NOOP(
    "bingo::Startup", "cannot open Wayland display %1: no compositor answers there");

// What the command line gives -NAME (or --NAME), as Qt reads it: nothing where it is absent,
// an empty text where it is the last argument.
std::optional<QString> Option(int argc, char** argv, const char* name) {
    std::optional<QString> value;
    for (int i = 1; i < argc; ++i) {
        const char* bare = argv[i] + std::strspn(argv[i], "-");
        if (bare != argv[i] && std::strcmp(bare, name) == 0) {
            value = i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]) : QString();
        }
    }
    return value;
}

bool HasWaylandPlugin() {
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                         QStringLiteral("/platforms"));
    return !platforms.entryList({QStringLiteral("*wayland*")}, QDir::Files).isEmpty();
}

// Whether a compositor listens where Wayland clients look for the display `name`.
bool WaylandAnswers(const QString& name) {
    const QByteArray path = name.startsWith(u'/')
                                ? name.toLocal8Bit()
                                : qgetenv("XDG_RUNTIME_DIR") + '/' + name.toLocal8Bit();
    sockaddr_un address{AF_UNIX, {}};
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool answers =
        ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return answers;
}

// Opens the X display once and closes it: nothing where it answers, else the server's reason
// for refusing, or an empty one where none answered. libxcb prints the reason on standard
// error rather than handing it back, so standard error is a pipe while it connects.
std::optional<QString> XRefusal(const QString& display) {
    int pipe[2] = {-1, -1};
    std::fflush(stderr);
    const int saved = ::pipe2(pipe, O_CLOEXEC | O_NONBLOCK) == 0 ? ::dup(STDERR_FILENO) : -1;
    if (saved >= 0) {
        ::dup2(pipe[1], STDERR_FILENO);
    }
    xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    ::dup2(saved, STDERR_FILENO); // nothing to put back where saved is -1
    char said[512] = {};
    const ssize_t got = ::read(pipe[0], said, sizeof said - 1);
    for (int fd : {saved, pipe[0], pipe[1]}) {
        ::close(fd);
    }
    if (answers) {
        return std::nullopt;
    }
    return QString::fromLocal8Bit(said, got > 0 ? got : 0).section(u'\n', 0, 0).trimmed();
}
#endif

} // namespace

bool LoadTexts(QTranslator& texts) {
    // Qt reads LANGUAGE's list even under the C locale, where gettext, and so the rest of the
    // system, ignores it: there the program speaks English too. English, the sources' own
    // texts, has a file without texts, so that it wins where it comes first.
    const QLocale system = QLocale::system();
    return system.language() != QLocale::C &&
           texts.load(system, QStringLiteral("bingo-caller"), QStringLiteral("_"),
                      QStringLiteral(":/i18n")) &&
           !texts.isEmpty();
}

// Qt tries Wayland first where WAYLAND_DISPLAY is set, then X11 where a display is named.
QString DisplayProblem([[maybe_unused]] int argc, [[maybe_unused]] char** argv,
                       [[maybe_unused]] const QTranslator& texts) {
#ifdef BINGO_HAVE_XCB
    const auto text = [&texts](const char* source) {
        const QString translated = texts.translate("bingo::Startup", source);
        return translated.isEmpty() ? QString::fromUtf8(source) : translated;
    };
    const QString platform = Option(argc, argv, "platform")
                                 .value_or(qEnvironmentVariable("QT_QPA_PLATFORM"))
                                 .section(u';', 0, 0);
    if (!platform.isEmpty() && !platform.startsWith(u"xcb")) {
        return {};
    }
    const std::optional<QString> displayOption = Option(argc, argv, "display");
    const QString display = displayOption.value_or(qEnvironmentVariable("DISPLAY"));
    const bool displayNamed = !display.isEmpty() || displayOption;
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (platform.isEmpty() && !wayland.isEmpty()) {
        const bool plugin = HasWaylandPlugin();
        if (plugin && WaylandAnswers(wayland)) {
            return {};
        }
        if (!displayNamed) {
            return text(plugin ? kNoCompositor : kNoWaylandPlugin).arg(wayland);
        }
    }
    if (display.isEmpty()) {
        return text(platform.isEmpty() && !displayNamed ? kNoDisplay : kDisplayUnset);
    }
    const std::optional<QString> refusal = XRefusal(display);
    return !refusal             ? QString()
           : refusal->isEmpty() ? text(kNoXServer).arg(display)
                                : text(kRefused).arg(display, *refusal);
#else
    return {};
#endif
}

} // namespace bingo

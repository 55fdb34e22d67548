#include "x_session.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>

#include <sys/prctl.h>
#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace bingo::testing {
namespace {

void DieWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

void EndProcess(QProcess& process) {
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(2000)) {
            process.kill();
            process.waitForFinished(2000);
        }
    }
}

// xcb replies are malloc'd; this frees them.
struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// An X authority file of one cookie for any display (address and display number left empty),
// which a server takes as its list of cookies and a client as its own.
QByteArray AuthorityFile(const QByteArray& name, const QByteArray& cookie) {
    QByteArray file("\xff\xff"); // FamilyWild
    for (const QByteArray& field : {QByteArray(), QByteArray(), name, cookie}) {
        file += char(field.size() >> 8);
        file += char(field.size() & 0xff);
        file += field;
    }
    return file;
}

} // namespace

QString MissingTools(const QStringList& tools) {
    for (const QString& tool : tools) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            return QStringLiteral("%1 is not installed; scripts/test installs it").arg(tool);
        }
    }
    return {};
}

XSession::~XSession() {
    EndProcess(m_app);
    EndProcess(m_manager);
    if (m_connection != nullptr) {
        xcb_disconnect(m_connection);
    }
    EndProcess(m_server);
}

bool XSession::StartServer(QString* error, bool cookie) {
    DieWithParent(m_server);
    // -br: a black root, so a window that has not painted yet is told apart from one that has.
    QStringList args = {"-displayfd",   "1",   "-screen",   "0",
                        "1600x1200x24", "-br", "-nolisten", "tcp"};
    QByteArray name("MIT-MAGIC-COOKIE-1");
    QByteArray secret(16, '\0');
    m_cookie = cookie;
    if (cookie) {
        QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(secret.data()), 4);
        QFile file(m_cookies.filePath(QStringLiteral("cookies")));
        if (!file.open(QIODevice::WriteOnly) || file.write(AuthorityFile(name, secret)) < 0) {
            *error = QStringLiteral("cannot write the cookie file");
            return false;
        }
        args << QStringLiteral("-auth") << file.fileName();
    }
    m_server.start(QStringLiteral("Xvfb"), args);
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
    xcb_auth_info_t auth{int(name.size()), name.data(), int(secret.size()), secret.data()};
    m_connection =
        cookie ? xcb_connect_to_display_with_auth_info(qPrintable(m_display), &auth, nullptr)
               : xcb_connect(qPrintable(m_display), nullptr);
    if (xcb_connection_has_error(m_connection) != 0) {
        *error = QStringLiteral("cannot connect to Xvfb on ") + m_display;
        return false;
    }
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const QString manager = qEnvironmentVariable("BINGO_WINDOW_MANAGER");
    if (!manager.isEmpty()) {
        m_manager.setProcessEnvironment(Environment());
        DieWithParent(m_manager);
        m_manager.start(manager, {});
        // A window manager announces itself on the root window once it manages the screen.
        const xcb_atom_t check = Atom(m_connection, "_NET_SUPPORTING_WM_CHECK");
        clock.restart();
        while (clock.elapsed() < 10000) {
            const Reply<xcb_get_property_reply_t> property(xcb_get_property_reply(
                m_connection,
                xcb_get_property(m_connection, 0, m_root, check, XCB_ATOM_WINDOW, 0, 1), nullptr));
            if (property && xcb_get_property_value_length(property.get()) > 0) {
                return true;
            }
            QThread::msleep(50);
        }
        *error = manager + QStringLiteral(" did not start");
        return false;
    }
    return true;
}

QProcessEnvironment XSession::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    if (m_cookie) {
        environment.insert(QStringLiteral("XAUTHORITY"),
                           m_cookies.filePath(QStringLiteral("cookies")));
    }
    return environment;
}

QString XSession::CallerPath() {
    return QStringLiteral(BINGO_CALLER_PATH);
}

bool XSession::Start(const QString& program, const QStringList& args, const QStringList& env) {
    QProcessEnvironment environment = Environment();
    for (const QString& entry : env) {
        environment.insert(entry.section(QLatin1Char('='), 0, 0),
                           entry.section(QLatin1Char('='), 1));
    }
    m_window = 0;
    m_app.setProcessEnvironment(environment);
    m_app.setProcessChannelMode(QProcess::ForwardedChannels);
    DieWithParent(m_app);
    m_app.start(program, args);
    return m_app.waitForStarted(10000);
}

bool XSession::Launch(QString* error, const QStringList& env, const QStringList& wrapper,
                      int timeoutMs, const QString& program) {
    QStringList command = wrapper;
    command << program;
    if (!Start(command.takeFirst(), command, env)) {
        *error = program + QStringLiteral(" did not start: ") + m_app.errorString();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (!FindWindow() && clock.elapsed() < timeoutMs && (AppRunning() || !m_title.isEmpty())) {
        QThread::msleep(20);
    }
    if (m_window == 0) {
        *error = QStringLiteral("no window of %1 appeared").arg(program);
        return false;
    }
    // Let the first paint land before anyone looks: the window is black until then, and
    // under Wine it paints later than a native one.
    QImage unpainted(Grab().size(), QImage::Format_RGB32);
    unpainted.fill(Qt::black);
    const QImage first = WaitForStill(unpainted, timeoutMs);
    if (first.isNull() || first == unpainted) {
        *error = QStringLiteral("the window was never painted");
        return false;
    }
    return true;
}

bool XSession::Open(QString* error, const QStringList& env, const QStringList& wrapper,
                    int timeoutMs, const QString& program) {
    return StartServer(error) && Launch(error, env, wrapper, timeoutMs, program);
}

QImage XSession::CallNumbers(int calls, int timeoutMs) const {
    QImage picture = Grab();
    std::size_t red = RedCells(picture).size();
    for (int call = 0; call < calls; ++call) {
        ClickControl("Command2");
        // A still picture alone can be half a repaint: a program slowed by valgrind or a busy
        // machine may pause in one longer than a grab. A call is done when one more cell is
        // red (none once all are) and the window is still.
        red = std::min<std::size_t>(red + 1, 75);
        QElapsedTimer clock;
        clock.start();
        do {
            picture = WaitForStill({}, timeoutMs);
        } while (RedCells(picture).size() != red && clock.elapsed() < timeoutMs);
    }
    return picture;
}

bool XSession::FindWindow() {
    if (m_title.isEmpty() && m_app.state() != QProcess::Running) {
        return false;
    }
    const QByteArray wanted =
        m_title.isEmpty() ? QByteArray::number(m_app.processId()) : m_title.toUtf8();
    // The program's window is a child of the root, or two levels deeper in a window
    // manager's frame.
    m_window = Search(m_root, wanted, 3);
    return m_window != 0;
}

unsigned XSession::Search(unsigned parent, const QByteArray& wanted, int depth) const {
    const xcb_atom_t pidAtom = Atom(m_connection, "_NET_WM_PID");
    const xcb_atom_t nameAtom = Atom(m_connection, "_NET_WM_NAME");
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, parent), nullptr));
    if (!tree) {
        return 0;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    for (int i = 0; i < count; ++i) {
        const Reply<xcb_get_property_reply_t> property(xcb_get_property_reply(
            m_connection,
            m_title.isEmpty()
                ? xcb_get_property(m_connection, 0, children[i], pidAtom, XCB_ATOM_CARDINAL, 0, 1)
                : xcb_get_property(m_connection, 0, children[i], nameAtom,
                                   XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr));
        if (!property || xcb_get_property_value_length(property.get()) == 0) {
            continue;
        }
        const auto* value = static_cast<const char*>(xcb_get_property_value(property.get()));
        const int length = xcb_get_property_value_length(property.get());
        const QByteArray found = m_title.isEmpty()
                                     ? QByteArray::number(*reinterpret_cast<const uint32_t*>(value))
                                     : QByteArray(value, length);
        if (found == wanted && Viewable(children[i])) {
            return children[i];
        }
    }
    for (int i = 0; depth > 1 && i < count; ++i) {
        if (const unsigned found = Search(children[i], wanted, depth - 1)) {
            return found;
        }
    }
    return 0;
}

bool XSession::Viewable(unsigned window) const {
    const Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::optional<int> XSession::Close(int timeoutMs) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = m_window;
    event.type = Atom(m_connection, "WM_PROTOCOLS");
    event.data.data32[0] = Atom(m_connection, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(m_connection, 0, m_window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(m_connection);
    if (m_title.isEmpty()) {
        return WaitForExit(timeoutMs);
    }
    // The window's own process is not ours to wait for: wait for the window to go.
    QElapsedTimer clock;
    clock.start();
    while (Viewable(m_window)) {
        if (clock.elapsed() > timeoutMs) {
            return std::nullopt;
        }
        QThread::msleep(50);
    }
    return 0;
}

std::optional<int> XSession::WaitForExit(int timeoutMs) {
    if (!m_app.waitForFinished(timeoutMs) || m_app.exitStatus() != QProcess::NormalExit) {
        return std::nullopt;
    }
    return m_app.exitCode();
}

void XSession::Quit() {
    EndProcess(m_app);
}

bool XSession::Run(const QStringList& args, QByteArray* out, int timeoutMs,
                   const QString& program) const {
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

QImage XSession::GrabRect(QRect rect) const {
    const Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
        m_connection,
        xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_window, int16_t(rect.x()),
                      int16_t(rect.y()), uint16_t(rect.width()), uint16_t(rect.height()), ~0u),
        nullptr));
    if (!image || image->depth != 24 ||
        xcb_get_image_data_length(image.get()) != rect.width() * rect.height() * 4) {
        return {};
    }
    // Depth 24 in 32-bit pixels, as Xvfb's screen is made: Qt's RGB32 to the byte.
    return QImage(xcb_get_image_data(image.get()), rect.width(), rect.height(),
                  QImage::Format_RGB32)
        .copy();
}

QImage XSession::Grab() const {
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, m_window), nullptr));
    if (!geometry) {
        return {};
    }
    return GrabRect(QRect(0, 0, geometry->width, geometry->height));
}

QRgb XSession::Pixel(QPoint at) const {
    const QImage pixel = GrabRect(QRect(at, QSize(1, 1)));
    return pixel.isNull() ? qRgb(0, 0, 0) : pixel.pixel(0, 0);
}

QImage XSession::WaitForStill(const QImage& changedFrom, int timeoutMs) const {
    QElapsedTimer clock;
    clock.start();
    QImage previous = Grab();
    while (clock.elapsed() < timeoutMs) {
        QThread::msleep(40);
        QImage next = Grab();
        if (!next.isNull() && next == previous && (changedFrom.isNull() || next != changedFrom)) {
            return next;
        }
        previous = std::move(next);
    }
    return previous;
}

void XSession::Click(QPoint at, int button) const {
    Run({"mousemove", "--window", Window(), QString::number(at.x()), QString::number(at.y()),
         "click", QString::number(button)});
}

void XSession::ClickControl(const char* name, int scale) const {
    Click(Pixels(Control(name), scale).center());
}

void XSession::Key(const char* key) const {
    Run({"windowfocus", "--sync", Window()});
    Run({"key", "--clearmodifiers", QString::fromLatin1(key)});
}

void XSession::HoldKey(const char* key, int ms) const {
    Run({"windowfocus", "--sync", Window()});
    Run({"keydown", QString::fromLatin1(key)});
    QThread::msleep(static_cast<unsigned long>(ms));
    Run({"keyup", QString::fromLatin1(key)});
}

QByteArray XSession::Property(const char* name) const {
    constexpr uint32_t kMostLongs = 1 << 20;
    const Reply<xcb_get_property_reply_t> property(
        xcb_get_property_reply(m_connection,
                               xcb_get_property(m_connection, 0, m_window, Atom(m_connection, name),
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, kMostLongs),
                               nullptr));
    if (!property) {
        return {};
    }
    return QByteArray(static_cast<const char*>(xcb_get_property_value(property.get())),
                      xcb_get_property_value_length(property.get()));
}

} // namespace bingo::testing

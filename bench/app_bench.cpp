// Performance report for the whole program. Start-up, memory and CPU are measured on the real
// bingo-caller under a private Xvfb, side by side with a bare Qt window of the same size;
// handler latency and the tick period are measured in this process on the offscreen platform,
// where the window and controller are the program's own. Prints one table; each figure is a
// median of repeated runs unless it says otherwise.

#include "caller_controller.h"
#include "draws.h"
#include "main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QTimerEvent>

#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kLaunches = 11;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto at = std::size_t(std::ceil(p / 100.0 * double(values.size()))) - 1;
    return values[std::min(at, values.size() - 1)];
}

long StatusKib(qint64 pid, const char* field) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').front().toLong();
        }
    }
    return -1;
}

// User plus system CPU time of a process, in seconds.
double CpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray text = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold spaces.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double ticks = double(fields[11].toLongLong() + fields[12].toLongLong());
    return ticks / double(sysconf(_SC_CLK_TCK));
}

class XServer {
public:
    bool Start() {
        m_server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1600x1200x24",
                                                "-br", "-nolisten", "tcp"});
        if (!m_server.waitForReadyRead(10000)) {
            return false;
        }
        m_display = ":" + QString::fromLatin1(m_server.readLine().trimmed());
        m_connection = xcb_connect(qPrintable(m_display), nullptr);
        if (xcb_connection_has_error(m_connection)) {
            return false;
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const char* name = "_NET_WM_PID";
        auto* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name),
            nullptr);
        m_pidAtom = reply->atom;
        std::free(reply);
        return true;
    }
    ~XServer() {
        if (m_connection != nullptr) {
            xcb_disconnect(m_connection);
        }
        m_server.kill();
        m_server.waitForFinished();
    }

    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("DISPLAY"), m_display);
        return env;
    }
    const QString& Display() const { return m_display; }

    // The viewable top-level window of a process, once it has one.
    std::optional<xcb_window_t> WindowOf(qint64 pid) const {
        auto* tree =
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr);
        if (tree == nullptr) {
            return std::nullopt;
        }
        std::optional<xcb_window_t> found;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
            auto* property = xcb_get_property_reply(
                m_connection,
                xcb_get_property(m_connection, 0, children[i], m_pidAtom, XCB_ATOM_CARDINAL, 0, 1),
                nullptr);
            if (property != nullptr && xcb_get_property_value_length(property) == 4 &&
                *static_cast<uint32_t*>(xcb_get_property_value(property)) == uint32_t(pid)) {
                auto* attributes = xcb_get_window_attributes_reply(
                    m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr);
                if (attributes != nullptr && attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
                    found = children[i];
                }
                std::free(attributes);
            }
            std::free(property);
        }
        std::free(tree);
        return found;
    }

    // Whether the window's centre shows anything but the black it starts out with.
    bool Painted(xcb_window_t window) const {
        auto* image = xcb_get_image_reply(
            m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 341, 216, 1, 1, ~0u),
            nullptr);
        if (image == nullptr) {
            return false;
        }
        const uint8_t* pixel = xcb_get_image_data(image);
        const bool painted = (pixel[0] | pixel[1] | pixel[2]) != 0;
        std::free(image);
        return painted;
    }

private:
    QProcess m_server;
    QString m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    xcb_atom_t m_pidAtom = 0;
};

struct Launch {
    double startMs = 0;
    long peakKib = 0;
    xcb_window_t window = 0;
};

// Starts a program, times it to its first painted frame, lets it settle, reads its peak
// memory, and leaves it running for `keep` (or ends it).
std::optional<Launch> Measure(const XServer& x, const QString& program, QProcess* keep = nullptr) {
    QProcess own;
    QProcess& process = keep != nullptr ? *keep : own;
    process.setProcessEnvironment(x.Environment());
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    if (!process.waitForStarted()) {
        return std::nullopt;
    }
    std::optional<xcb_window_t> window;
    while (clock.elapsed() < 20000) {
        if (!window) {
            window = x.WindowOf(process.processId());
        }
        if (window && x.Painted(*window)) {
            break;
        }
        QThread::usleep(500);
    }
    if (!window) {
        return std::nullopt;
    }
    Launch launch;
    launch.startMs = double(clock.nsecsElapsed()) / 1e6;
    launch.window = *window;
    QThread::msleep(1000);
    launch.peakKib = StatusKib(process.processId(), "VmHWM:");
    if (keep == nullptr) {
        process.kill();
        process.waitForFinished();
    }
    return launch;
}

struct Row {
    QString what;
    QString measured;
    QString target;
};

void Print(const std::vector<Row>& rows) {
    std::printf("\n| figure | measured | target |\n| --- | --- | --- |\n");
    for (const Row& row : rows) {
        std::printf("| %s | %s | %s |\n", qPrintable(row.what), qPrintable(row.measured),
                    qPrintable(row.target));
    }
}

QString Machine() {
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    QString model = QStringLiteral("unknown processor");
    if (cpuinfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : cpuinfo.readAll().split('\n')) {
            if (line.startsWith("model name")) {
                model = QString::fromLatin1(line.mid(line.indexOf(':') + 1).trimmed());
                break;
            }
        }
    }
    return QStringLiteral("%1, %2 cores").arg(model).arg(QThread::idealThreadCount());
}

// Median time of `action` over `runs` runs, in milliseconds.
template <typename Action> double TimeMs(int runs, Action action) {
    std::vector<double> times;
    QElapsedTimer clock;
    for (int i = 0; i < runs; ++i) {
        clock.start();
        action();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    return Median(times);
}

} // namespace

int main(int argc, char* argv[]) {
    const QString dir = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    const QString caller = QStringLiteral(BINGO_CALLER_PATH);
    const QString empty = dir + QStringLiteral("/empty_window");
    std::vector<Row> rows;

    std::printf("machine: %s\n", qPrintable(Machine()));
    {
        XServer x;
        if (!x.Start()) {
            std::fprintf(stderr, "Xvfb did not start\n");
            return 1;
        }
        std::vector<double> callerStart, emptyStart, callerPeak, emptyPeak;
        for (int i = 0; i < kLaunches; ++i) {
            const auto a = Measure(x, caller);
            const auto b = Measure(x, empty);
            if (!a || !b) {
                std::fprintf(stderr, "a program did not start\n");
                return 1;
            }
            callerStart.push_back(a->startMs);
            emptyStart.push_back(b->startMs);
            callerPeak.push_back(double(a->peakKib));
            emptyPeak.push_back(double(b->peakKib));
        }
        const double startRatio = Median(callerStart) / Median(emptyStart);
        const double peakRatio = Median(callerPeak) / Median(emptyPeak);
        rows.push_back({"start to first frame (Xvfb)",
                        QStringLiteral("%1 ms; empty window %2 ms; ratio %3")
                            .arg(Median(callerStart), 0, 'f', 1)
                            .arg(Median(emptyStart), 0, 'f', 1)
                            .arg(startRatio, 0, 'f', 2),
                        "ratio ≤ 1.4"});
        rows.push_back({"peak resident memory",
                        QStringLiteral("%1 MiB; empty window %2 MiB; ratio %3")
                            .arg(Median(callerPeak) / 1024.0, 0, 'f', 1)
                            .arg(Median(emptyPeak) / 1024.0, 0, 'f', 1)
                            .arg(peakRatio, 0, 'f', 2),
                        "ratio ≤ 1.3"});

        QProcess running;
        const auto launched = Measure(x, caller, &running);
        if (!launched) {
            return 1;
        }
        const double idle0 = CpuSeconds(running.processId());
        QThread::sleep(10);
        const double idle = CpuSeconds(running.processId()) - idle0;
        QProcess click;
        click.setProcessEnvironment(x.Environment());
        // START's centre: 120 + 3855 / 2, 3600 + 1095 / 2 twips, in pixels.
        click.start(QStringLiteral("xdotool"),
                    {"mousemove", "--window", QString::number(launched->window), "136", "276",
                     "click", "1"});
        click.waitForFinished();
        const double rolling0 = CpuSeconds(running.processId());
        QThread::sleep(10);
        const double rolling = CpuSeconds(running.processId()) - rolling0;
        running.kill();
        running.waitForFinished();
        rows.push_back(
            {"CPU while idle, 10 s", QStringLiteral("%1 %").arg(idle * 10.0, 0, 'f', 2), "0 %"});
        rows.push_back({"CPU while rolling, 10 s",
                        QStringLiteral("%1 % of one core").arg(rolling * 10.0, 0, 'f', 2),
                        "≤ 3 %"});
    }

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bingo::MainWindow window(bingo::ProcessRandomSource());
    window.show();
    const auto findButton = [&window](const char* name) {
        return window.findChild<QPushButton*>(QString::fromLatin1(name));
    };
    const auto field = [&window](const char* name) {
        return window.findChild<QLineEdit*>(QString::fromLatin1(name));
    };
    QPushButton* resetButton = findButton("Command1");
    QPushButton* stopButton = findButton("Command2");
    QPushButton* startButton = findButton("Command3");
    QTimer* timer = window.findChild<QTimer*>(QStringLiteral("Timer1"));
    const auto tick = [timer] {
        QTimerEvent event(timer->timerId());
        QCoreApplication::sendEvent(timer, &event);
    };

    const double reset = TimeMs(500, [&] { resetButton->click(); });
    startButton->click();
    const double frame = TimeMs(20000, tick);
    const double stop = TimeMs(75, [&] { stopButton->click(); });
    rows.push_back({"reset handler", QStringLiteral("%1 ms").arg(reset, 0, 'f', 3), "< 1 ms"});
    rows.push_back(
        {"roll-frame handler", QStringLiteral("%1 ms").arg(frame, 0, 'f', 4), "< 0.3 ms"});
    rows.push_back({"stop handler", QStringLiteral("%1 ms").arg(stop, 0, 'f', 4), "–"});

    // The same handlers with ten megabytes pasted into both boxes and a cell.
    QString huge;
    while (huge.size() < 5 * 1024 * 1024) {
        huge += QStringLiteral("BINGO 75 ビンゴ 😀 שלום ");
    }
    resetButton->click();
    QLineEdit* cell = window.findChildren<QLineEdit*>(QStringLiteral("Text3")).at(39);
    cell->setText(huge);
    std::vector<double> hostile;
    for (int round = 0; round < 5; ++round) {
        field("Text1")->setText(huge);
        field("Text2")->setText(huge);
        QElapsedTimer clock;
        for (QPushButton* button : {startButton, stopButton, resetButton}) {
            clock.start();
            button->click();
            hostile.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
        startButton->click();
        clock.start();
        tick();
        hostile.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    rows.push_back({"slowest handler after a 10 MB paste (first write replaces it)",
                    QStringLiteral("%1 ms; median %2 ms")
                        .arg(*std::max_element(hostile.begin(), hostile.end()), 0, 'f', 2)
                        .arg(Median(hostile), 0, 'f', 3),
                    "< 5 ms"});
    field("Text1")->clear();
    field("Text2")->clear();
    cell->setText(QStringLiteral("40"));

    // 400 real ticks through the event loop.
    std::vector<qint64> stamps;
    QElapsedTimer clock;
    QEventLoop loop;
    QObject::connect(timer, &QTimer::timeout, &loop, [&] {
        stamps.push_back(clock.nsecsElapsed());
        if (stamps.size() == 401) {
            loop.quit();
        }
    });
    stopButton->click();
    clock.start();
    startButton->click();
    loop.exec();
    std::vector<double> periods;
    for (std::size_t i = 1; i < stamps.size(); ++i) {
        periods.push_back(double(stamps[i] - stamps[i - 1]) / 1e6);
    }
    double mean = 0;
    for (double p : periods) {
        mean += p / double(periods.size());
    }
    const double drift = double(stamps.back() - stamps.front()) / 1e6 - 400 * 50.0;
    rows.push_back({"tick period over 400 ticks",
                    QStringLiteral("mean %1, p50 %2, p99 %3, max %4 ms")
                        .arg(mean, 0, 'f', 2)
                        .arg(Percentile(periods, 50), 0, 'f', 2)
                        .arg(Percentile(periods, 99), 0, 'f', 2)
                        .arg(*std::max_element(periods.begin(), periods.end()), 0, 'f', 2),
                    "p50 50 ± 0.5, p99 ≤ 53"});
    rows.push_back(
        {"drift over 20 s (400 ticks)", QStringLiteral("%1 ms").arg(drift, 0, 'f', 2), "< 50 ms"});
    Print(rows);
    return 0;
}

// Performance report for the whole program. Start-up, memory, CPU and a huge paste are
// measured on the real bingo-caller under a private Xvfb, beside two yardsticks started the
// same way: a bare Qt window, and a window that paints the same text in the same faces (the
// floor for showing this ink). Handler latency and the tick period are measured in this
// process on the offscreen platform, where the window and controller are the program's own.
// Prints one table; each figure is a median of repeated runs unless it says otherwise.

#include "helpers.h"
#include "window_fixture.h"
#include "x_session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

using bingo::testing::StatusKib;
using bingo::testing::XSession;

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

double Ms(const QElapsedTimer& clock) {
    return double(clock.nsecsElapsed()) / 1e6;
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

struct Launch {
    double startMs = 0;
    double peakKib = 0;
};

// Starts a program, times it to its first painted frame (the window's centre no longer the
// black it starts out with), lets it settle and reads its peak memory. It stays running.
std::optional<Launch> Measure(XSession& x, const QString& program) {
    QElapsedTimer clock;
    clock.start();
    if (!x.Start(program)) {
        return std::nullopt;
    }
    while (clock.elapsed() < 20000 && !x.FindWindow()) {
        QThread::usleep(500);
    }
    const QPoint centre(bingo::testing::kWindowPixels.width() / 2,
                        bingo::testing::kWindowPixels.height() / 2);
    while (clock.elapsed() < 20000 && x.Pixel(centre) == qRgb(0, 0, 0)) {
        QThread::usleep(500);
    }
    if (clock.elapsed() >= 20000) {
        return std::nullopt;
    }
    Launch launch{Ms(clock), 0};
    QThread::msleep(1000);
    launch.peakKib = double(StatusKib(QString::number(x.AppPid()), "VmHWM:"));
    return launch;
}

// Presses STOP, then times its release (the click) until the window shows one more red cell:
// the call as a person sees it, the start of xdotool's process included. (xdotool's own
// click waits a while after sending the release, so the release is timed on its own.)
double TimeStop(const XSession& x) {
    const std::size_t before = bingo::testing::RedCells(x.Grab()).size();
    const QPoint stop = bingo::testing::Pixels(bingo::testing::Control("Command2")).center();
    x.Run({"mousemove", "--window", x.Window(), QString::number(stop.x()),
           QString::number(stop.y()), "mousedown", "1"});
    QProcess release;
    release.setProcessEnvironment(x.Environment());
    QElapsedTimer clock;
    clock.start();
    release.start(QStringLiteral("xdotool"), {"mouseup", "1"});
    while (clock.elapsed() < 60000 && bingo::testing::RedCells(x.Grab()).size() == before) {
        QThread::usleep(200);
    }
    const double took = Ms(clock);
    release.waitForFinished();
    return took;
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
        times.push_back(Ms(clock));
    }
    return Median(times);
}

// Start-up, memory, CPU and the paste, on the real program under Xvfb.
bool MeasureOnX(const QString& dir, std::vector<Row>& rows) {
    XSession x;
    QString error;
    if (!x.StartServer(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    const QStringList programs = {XSession::CallerPath(), dir + "/text_window",
                                  dir + "/empty_window"};
    std::vector<std::vector<double>> start(3), peak(3);
    for (int i = 0; i < kLaunches; ++i) {
        for (std::size_t p = 0; p < 3; ++p) {
            const auto launch = Measure(x, programs[int(p)]);
            x.Quit();
            if (!launch) {
                std::fprintf(stderr, "%s did not start\n", qPrintable(programs[int(p)]));
                return false;
            }
            start[p].push_back(launch->startMs);
            peak[p].push_back(launch->peakKib / 1024.0);
        }
    }
    const auto compare = [](const std::vector<std::vector<double>>& figures, const char* unit) {
        const double caller = Median(figures[0]);
        const double text = Median(figures[1]);
        return QStringLiteral("%1 %4; text floor %2 %4 (x%3); bare window %5 %4")
            .arg(caller, 0, 'f', 1)
            .arg(text, 0, 'f', 1)
            .arg(caller / text, 0, 'f', 2)
            .arg(QString::fromLatin1(unit))
            .arg(Median(figures[2]), 0, 'f', 1);
    };
    rows.push_back({"start to first frame (Xvfb)", compare(start, "ms"), "≤ 1.15 x text floor"});
    rows.push_back({"peak resident memory", compare(peak, "MiB"), "≤ 1.10 x text floor"});

    if (!Measure(x, XSession::CallerPath())) {
        return false;
    }
    const qint64 pid = x.AppPid();
    const double idle0 = CpuSeconds(pid);
    QThread::sleep(10);
    const double idle = CpuSeconds(pid) - idle0;
    x.ClickControl("Command3");
    const double rolling0 = CpuSeconds(pid);
    QThread::sleep(10);
    const double rolling = CpuSeconds(pid) - rolling0;
    rows.push_back(
        {"CPU while idle, 10 s", QStringLiteral("%1 %").arg(idle * 10.0, 0, 'f', 2), "0 %"});
    rows.push_back({"CPU while rolling, 10 s",
                    QStringLiteral("%1 % of one core").arg(rolling * 10.0, 0, 'f', 2), "≤ 3 %"});

    // Ten megabytes pasted with the middle button into cell 40, as from any X program.
    std::vector<double> plain;
    for (int i = 0; i < 5; ++i) {
        plain.push_back(TimeStop(x));
    }
    QByteArray huge;
    while (huge.size() < 10 * 1024 * 1024) {
        huge += "BINGO 75 ビンゴ 😀 שלום ";
    }
    QProcess clip;
    clip.setProcessEnvironment(x.Environment());
    clip.start(QStringLiteral("xclip"), {"-selection", "primary", "-i"});
    clip.write(huge);
    clip.closeWriteChannel();
    if (!clip.waitForFinished(30000) || clip.exitCode() != 0) {
        std::fprintf(stderr, "xclip could not take the selection\n");
        return false;
    }
    const long rssBefore = StatusKib(QString::number(pid), "VmRSS:");
    QElapsedTimer pasting;
    pasting.start();
    x.Click(bingo::testing::CellPixels(40).center(), 2);
    // The paste is over when the program stops using the processor (0.3 s without a tick).
    for (double cpu = -1; pasting.elapsed() < 60000 && CpuSeconds(pid) != cpu;) {
        cpu = CpuSeconds(pid);
        QThread::msleep(300);
    }
    const double pasteMs = Ms(pasting) - 300.0;
    const double stop = TimeStop(x);
    const long rssAfter = StatusKib(QString::number(pid), "VmRSS:");
    x.Quit();
    rows.push_back({"STOP after a 10 MB middle-click paste into a cell",
                    QStringLiteral("%1 ms; without the paste %2 ms; the paste itself took %3 ms")
                        .arg(stop, 0, 'f', 1)
                        .arg(Median(plain), 0, 'f', 1)
                        .arg(pasteMs, 0, 'f', 0),
                    "< 100 ms"});
    rows.push_back({"resident memory growth from that paste",
                    QStringLiteral("%1 MiB").arg(double(rssAfter - rssBefore) / 1024.0, 0, 'f', 1),
                    "< 20 MiB"});
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<Row> rows;
    std::printf("machine: %s\n", qPrintable(Machine()));
    if (!MeasureOnX(QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath(), rows)) {
        return 1;
    }

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The window as the suites build it, over a counting copy of the program's stream.
    const bingo::testing::CallerWindow caller;
    caller.window->show();
    QPushButton* reset = caller.Button("Command1");
    QPushButton* stop = caller.Button("Command2");
    QPushButton* start = caller.Button("Command3");
    QTimer* timer = caller.Timer();

    const double resetMs = TimeMs(500, [&] { reset->click(); });
    start->click();
    const double frameMs = TimeMs(20000, [&] { caller.Tick(); });
    const double stopMs = TimeMs(75, [&] { stop->click(); });
    rows.push_back({"reset handler", QStringLiteral("%1 ms").arg(resetMs, 0, 'f', 3), "< 1 ms"});
    rows.push_back(
        {"roll-frame handler", QStringLiteral("%1 ms").arg(frameMs, 0, 'f', 4), "< 0.3 ms"});
    rows.push_back({"stop handler", QStringLiteral("%1 ms").arg(stopMs, 0, 'f', 4), "–"});

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
    stop->click();
    clock.start();
    start->click();
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

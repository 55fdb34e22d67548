// A long session in one process: a million roll frames and ten thousand resets leave the game
// consistent and the process no bigger than it was.

#include "window_fixture.h"

#include <QtTest>

using bingo::testing::CallerWindow;
using bingo::testing::PeakKib;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMeasurable = false; // freed memory sits in the sanitizer's quarantine
#else
constexpr bool kMeasurable = true;
#endif

} // namespace

class WindowSoak : public QObject {
    Q_OBJECT

private slots:
    void millionFramesTenThousandResets() {
        CallerWindow caller;
        QVERIFY(caller.Show());

        constexpr int kFrames = 1'000'000;
        constexpr int kResets = 10'000;
        constexpr int kFramesPerReset = kFrames / kResets;

        // Warm up first, so that one-time allocations (glyph caches, layouts) are in place.
        caller.Click("Command3");
        for (int i = 0; i < 2000; ++i) {
            caller.Tick();
        }
        caller.Click("Command1");
        caller.Click("Command2");
        caller.Click("Command3");
        caller.window->repaint();
        const long before = PeakKib();
        const std::uint64_t drawsBefore = caller.Consumed();

        for (int reset = 0; reset < kResets; ++reset) {
            for (int frame = 0; frame < kFramesPerReset; ++frame) {
                caller.Tick();
            }
            caller.Click("Command1");
            if (reset % 500 == 0) {
                // Paint now and then, without letting the running timer add ticks of its own.
                caller.window->repaint();
            }
        }
        caller.window->repaint();
        const long after = PeakKib();

        QCOMPARE(caller.Consumed() - drawsBefore, std::uint64_t(2 * kFrames + 20000 * kResets));
        QVERIFY(caller.Timer()->isActive());
        QVERIFY(caller.AllCellsWhite());
        const int shown = caller.Number().toInt();
        QVERIFY(shown >= 1 && shown <= 75);
        QVERIFY(QStringLiteral("BINGO").contains(caller.Letter()));

        // The game still plays: every number once, then none.
        for (int i = 0; i < 76; ++i) {
            caller.Click("Command2");
        }
        QCOMPARE(caller.RedCells().size(), 75u);

        qInfo("peak resident set: %ld KiB before, %ld KiB after (growth %ld KiB)", before, after,
              after - before);
        if (kMeasurable && before > 0) {
            // Under 1 MiB; a leak of even a byte a frame would show as a megabyte here.
            QVERIFY2(after - before < 1024, qPrintable(QString::number(after - before)));
        }
    }
};

QTEST_MAIN(WindowSoak)
#include "window_soak.moc"

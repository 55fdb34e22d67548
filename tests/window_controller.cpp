// The controller driven as a person drives it: real clicks, keys and timer ticks, checked
// against the deck, the random draws consumed and what the boxes and cells show.

#include "window_fixture.h"

#include <QApplication>
#include <QtTest>

using bingo::CallDeck;
using bingo::testing::CallerWindow;
using bingo::testing::LetterText;
using bingo::testing::ScriptedSource;
using bingo::testing::ValueFor;

namespace {

constexpr std::uint64_t kResetDraws = 20000;

// The order a fresh generator's first reset lays out, worked out apart from the window.
std::vector<int> FirstOrder() {
    bingo::PcgSource source;
    CallDeck deck(source);
    deck.ResetDeck();
    return bingo::testing::DeckOrder(deck);
}

struct FirstPaintProbe : QObject {
    explicit FirstPaintProbe(const CallerWindow& watched) : caller(watched) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            consumedAtPaint = caller.Consumed();
            whiteAtPaint = caller.AllCellsWhite();
        }
        return QObject::eventFilter(watched, event);
    }
    const CallerWindow& caller;
    bool painted = false;
    bool whiteAtPaint = false;
    std::uint64_t consumedAtPaint = 0;
};

} // namespace

class WindowController : public QObject {
    Q_OBJECT

private slots:
    void init() { m_caller = std::make_unique<CallerWindow>(); }
    void cleanup() { m_caller.reset(); }

    // Cells start in the desktop's field colour; by the first paint they are white and the
    // deck shuffled, and showing the window again does not reset it again.
    void loadResetsOnceBeforeFirstPaint() {
        const QPalette desktop = QApplication::palette();
        QPalette yellowFields = desktop;
        yellowFields.setColor(QPalette::Base, Qt::yellow);
        QApplication::setPalette(yellowFields);
        CallerWindow caller;
        QApplication::setPalette(desktop);
        QCOMPARE(bingo::testing::CellColour(caller.Cell(40)), QColor(Qt::yellow));
        QCOMPARE(caller.Consumed(), 0u);

        FirstPaintProbe probe(caller);
        caller.window->installEventFilter(&probe);
        caller.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(caller.window.get()));
        QVERIFY(QTest::qWaitFor([&probe] { return probe.painted; }));
        QCOMPARE(probe.consumedAtPaint, kResetDraws);
        QVERIFY(probe.whiteAtPaint);
        QCOMPARE(caller.Deck().CallIndex(), std::int16_t{1});
        QVERIFY(!caller.Timer()->isActive());
        QCOMPARE(caller.Number(), QString());
        QCOMPARE(caller.Letter(), QString());

        caller.window->hide();
        caller.window->show();
        QCOMPARE(caller.Consumed(), kResetDraws);
    }

    void firstStopCallsTheLaunchOrdersFirstNumber() {
        Show();
        m_caller->Click("Command2");
        const int first = FirstOrder().front();
        QCOMPARE(m_caller->Number(), QString::number(first));
        QCOMPARE(m_caller->Letter(), LetterText(first));
        QCOMPARE(m_caller->RedCells(), std::vector<int>{first});
    }

    // Every event from both roll states: roll state after, draws consumed, numbers called.
    void stateTable_data() {
        QTest::addColumn<bool>("rolling");
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("rollingAfter");
        QTest::addColumn<int>("draws");
        QTest::addColumn<int>("calls");
        QTest::newRow("idle START") << false << "START" << true << 0 << 0;
        QTest::newRow("idle STOP") << false << "STOP" << false << 0 << 1;
        QTest::newRow("idle RESET") << false << "RESET" << false << 20000 << -1;
        QTest::newRow("rolling START") << true << "START" << true << 0 << 0;
        QTest::newRow("rolling STOP") << true << "STOP" << false << 0 << 1;
        QTest::newRow("rolling RESET") << true << "RESET" << true << 20000 << -1;
        QTest::newRow("rolling tick") << true << "tick" << true << 2 << 0;
    }
    void stateTable() {
        QFETCH(bool, rolling);
        QFETCH(QString, event);
        QFETCH(bool, rollingAfter);
        QFETCH(int, draws);
        QFETCH(int, calls);
        Show();
        m_caller->Click("Command2"); // one call made, so a reset has something to undo
        if (rolling) {
            m_caller->Click("Command3");
        }
        const auto consumed = m_caller->Consumed();
        const auto index = m_caller->Deck().CallIndex();
        const QString letter = m_caller->Letter();

        if (event == "START") {
            m_caller->Click("Command3");
        } else if (event == "STOP") {
            m_caller->Click("Command2");
        } else if (event == "RESET") {
            m_caller->Click("Command1");
        } else {
            m_caller->Tick();
        }

        QCOMPARE(m_caller->Timer()->isActive(), rollingAfter);
        QCOMPARE(m_caller->Consumed() - consumed, std::uint64_t(draws));
        const auto after = m_caller->Deck().CallIndex();
        if (calls < 0) {
            QCOMPARE(after, std::int16_t{1});
            QVERIFY(m_caller->AllCellsWhite());
            QCOMPARE(m_caller->Letter(), letter); // the boxes are left alone
        } else {
            QCOMPARE(after - index, calls);
            QCOMPARE(int(m_caller->RedCells().size()), 1 + calls);
        }
    }

    // The number comes from the first draw of a frame, the letter from the second.
    void tickShowsNumberThenLetterOfSecondDraw() {
        std::vector<float> values(kResetDraws, ValueFor(1));
        values.push_back(ValueFor(7));
        values.push_back(ValueFor(50));
        auto owned = std::make_unique<ScriptedSource>(std::move(values));
        const ScriptedSource& scripted = *owned;
        CallerWindow caller(std::move(owned));
        caller.window->show();
        caller.Click("Command3");
        caller.Tick();
        QCOMPARE(caller.Number(), QStringLiteral("7"));
        QCOMPARE(caller.Letter(), QStringLiteral("G"));
        QVERIFY(!scripted.Overran());
        QVERIFY(caller.RedCells().empty());
        QCOMPARE(caller.Deck().CallIndex(), std::int16_t{1});
    }

    void realTicksArriveWhileRolling() {
        Show();
        m_caller->Click("Command3");
        const auto consumed = m_caller->Consumed();
        QVERIFY(QTest::qWaitFor([&] { return m_caller->Consumed() >= consumed + 4; }, 2000));
        QVERIFY(!m_caller->Number().isEmpty());
        m_caller->Click("Command2");
        const auto stopped = m_caller->Consumed();
        QTest::qWait(120);
        QCOMPARE(m_caller->Consumed(), stopped);
    }

    void twoStopsCallTwoNumbers() {
        Show();
        m_caller->Click("Command2");
        m_caller->Click("Command2");
        const auto order = FirstOrder();
        std::vector<int> expected{order[0], order[1]};
        std::sort(expected.begin(), expected.end());
        QCOMPARE(m_caller->RedCells(), expected);
        QCOMPARE(m_caller->Number(), QString::number(order[1]));
        QCOMPARE(m_caller->Letter(), LetterText(order[1]));
    }

    // START while rolling keeps the running beat: the next tick is not put back by a period.
    void startWhileRollingKeepsTheBeat() {
        Show();
        m_caller->Click("Command3");
        QTimer* timer = m_caller->Timer();
        QVERIFY(QTest::qWaitFor([timer] { return timer->remainingTime() <= 35; }));
        const int before = timer->remainingTime();
        m_caller->Click("Command3");
        QVERIFY(timer->isActive());
        QVERIFY2(
            timer->remainingTime() <= before,
            qPrintable(
                QStringLiteral("%1 ms left, %2 before").arg(timer->remainingTime()).arg(before)));
    }

    void startTwiceThenStopCallsOnce() {
        Show();
        m_caller->Click("Command3");
        m_caller->Click("Command3");
        m_caller->Click("Command2");
        QVERIFY(!m_caller->Timer()->isActive());
        QCOMPARE(m_caller->RedCells().size(), 1u);
    }

    void resetWhileRollingStartsANewGame() {
        Show();
        m_caller->Click("Command2");
        m_caller->Click("Command2");
        m_caller->Click("Command3");
        m_caller->Tick();
        const QString shown = m_caller->Number();
        m_caller->Click("Command1");
        QVERIFY(m_caller->Timer()->isActive());
        QVERIFY(m_caller->AllCellsWhite());
        QCOMPARE(m_caller->Number(), shown);

        const int slotOne = m_caller->Deck().Slot(1);
        m_caller->Click("Command2");
        QCOMPARE(m_caller->RedCells(), std::vector<int>{slotOne});
        QCOMPARE(m_caller->Number(), QString::number(slotOne));
    }

    // All 75 marked once each; a 76th STOP stops the roll, marks nothing and puts the last
    // call back in place of the roll face.
    void usedUpDeck() {
        Show();
        std::vector<int> called;
        for (int i = 0; i < 75; ++i) {
            m_caller->Click("Command2");
            called.push_back(m_caller->Number().toInt());
            QCOMPARE(m_caller->Letter(), LetterText(called.back()));
        }
        std::vector<int> sorted = called;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(m_caller->RedCells(), sorted);
        QCOMPARE(std::unique(sorted.begin(), sorted.end()), sorted.end());
        QCOMPARE(sorted.size(), 75u);

        // A roll face that does not match the last call, then the extra STOP.
        m_caller->Click("Command3");
        do {
            m_caller->Tick();
        } while (m_caller->Number().toInt() == called.back());
        m_caller->Click("Command2");
        QVERIFY(!m_caller->Timer()->isActive());
        QCOMPARE(m_caller->Number(), QString::number(called.back()));
        QCOMPARE(m_caller->Letter(), LetterText(called.back()));
        QCOMPARE(m_caller->RedCells().size(), 75u);
        QCOMPARE(m_caller->Deck().CallIndex(), CallDeck::kUsedUp);

        m_caller->Click("Command1");
        QVERIFY(m_caller->AllCellsWhite());
        m_caller->Click("Command2");
        QCOMPARE(m_caller->RedCells().size(), 1u);
    }

    // What a user types stays until the program writes the field; it changes nothing else.
    void typedTextStaysAndDoesNothing() {
        Show();
        QTest::keyClicks(m_caller->Field("Text1"), QStringLiteral("99"));
        QTest::keyClick(m_caller->Field("Text1"), Qt::Key_Return);
        QTest::keyClicks(m_caller->Cell(12), QStringLiteral("x"));
        QCOMPARE(m_caller->Number(), QStringLiteral("99"));
        QCOMPARE(m_caller->Deck().CallIndex(), std::int16_t{1});
        QCOMPARE(m_caller->Consumed(), kResetDraws);

        m_caller->Click("Command1");
        QCOMPARE(m_caller->Number(), QStringLiteral("99"));
        QCOMPARE(m_caller->Cell(12)->text(), QStringLiteral("12x"));
        QVERIFY(m_caller->AllCellsWhite());

        m_caller->Click("Command2");
        QVERIFY(m_caller->Number() != QStringLiteral("99"));
    }

    // Space, Return and Enter press the focused button; in a field, or with Ctrl or Shift, they
    // press nothing.
    void keyOnFocusedControl_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("rolling");
        QTest::addColumn<int>("calls");
        const int none = Qt::NoModifier;
        const int keypad = Qt::KeypadModifier;
        QTest::newRow("Space on STOP") << "Command2" << int(Qt::Key_Space) << none << false << 1;
        QTest::newRow("Return on STOP") << "Command2" << int(Qt::Key_Return) << none << false << 1;
        QTest::newRow("Enter on STOP") << "Command2" << int(Qt::Key_Enter) << keypad << false << 1;
        QTest::newRow("Ctrl+Return on STOP")
            << "Command2" << int(Qt::Key_Return) << int(Qt::ControlModifier) << false << 0;
        QTest::newRow("Shift+Return on STOP")
            << "Command2" << int(Qt::Key_Return) << int(Qt::ShiftModifier) << false << 0;
        QTest::newRow("Space on START") << "Command3" << int(Qt::Key_Space) << none << true << 0;
        QTest::newRow("Return on START") << "Command3" << int(Qt::Key_Return) << none << true << 0;
        QTest::newRow("Return in number box")
            << "Text1" << int(Qt::Key_Return) << none << false << 0;
        QTest::newRow("Enter in letter box")
            << "Text2" << int(Qt::Key_Enter) << keypad << false << 0;
    }
    void keyOnFocusedControl() {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, rolling);
        QFETCH(int, calls);
        Show();
        QWidget* target = m_caller->Control(qPrintable(control));
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(m_caller->Timer()->isActive(), rolling);
        QCOMPARE(int(m_caller->RedCells().size()), calls);
        QCOMPARE(m_caller->Deck().CallIndex(), std::int16_t(1 + calls));
    }

    // A held key calls once, however its repeats arrive; a person's quick presses each call.
    // Events: p press, r release (P and R flagged as auto-repeat by Qt), then the time in ms.
    void heldKeyCallsOnce_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("events");
        QTest::addColumn<int>("calls");
        const QString x11 = QStringLiteral("p1000 r1500 p1500 r1533 p1533 r1566 p1566 r1700");
        QTest::newRow("X11 repeats, Return") << int(Qt::Key_Return) << x11 << 1;
        QTest::newRow("X11 repeats, Space") << int(Qt::Key_Space) << x11 << 1;
        QTest::newRow("repeats Qt flagged")
            << int(Qt::Key_Return) << "p1000 R1500 P1500 R1533 P1533 r1700" << 1;
        QTest::newRow("presses while held")
            << int(Qt::Key_Enter) << "p1000 p1500 p1533 p1566 r1700" << 1;
        QTest::newRow("four presses in a second")
            << int(Qt::Key_Space) << "p1000 r1100 p1250 r1350 p1500 r1600 p1750 r1850" << 4;
        QTest::newRow("untimed presses") << int(Qt::Key_Return) << "p0 r0 p0 r0 p0 r0" << 3;
    }
    void heldKeyCallsOnce() {
        QFETCH(int, key);
        QFETCH(QString, events);
        QFETCH(int, calls);
        Show();
        QWidget* stop = m_caller->Control("Command2");
        stop->setFocus();
        const auto modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        for (const QString& event : events.split(QLatin1Char(' '))) {
            const QChar kind = event.at(0);
            QKeyEvent keyEvent(kind.toLower() == QLatin1Char('p') ? QEvent::KeyPress
                                                                  : QEvent::KeyRelease,
                               key, modifiers, QString(), kind.isUpper());
            keyEvent.setTimestamp(event.mid(1).toULongLong());
            QApplication::sendEvent(stop, &keyEvent);
        }
        QCOMPARE(int(m_caller->RedCells().size()), calls);
    }

private:
    void Show() { QVERIFY(m_caller->Show()); }

    std::unique_ptr<CallerWindow> m_caller;
};

QTEST_MAIN(WindowController)
#include "window_controller.moc"

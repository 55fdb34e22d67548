// The controller driven as a person drives it: real clicks, keys and timer ticks, checked
// against the deck, the random draws consumed and what the boxes and cells show.

#include "scripted_source.h"
#include "window_fixture.h"

#include <QApplication>
#include <QtTest>

using bingo::CallDeck;
using bingo::RandomSource;
using bingo::testing::CallerWindow;
using bingo::testing::ScriptedSource;
using bingo::testing::ValueFor;

namespace {

constexpr std::uint64_t kResetDraws = 20000;

// The order a fresh generator's first reset lays out, worked out apart from the window.
std::vector<int> FirstOrder() {
    RandomSource source;
    CallDeck deck(source);
    deck.ResetDeck();
    std::vector<int> order;
    for (int i = 1; i <= 75; ++i) {
        order.push_back(deck.Slot(i));
    }
    return order;
}

struct FirstPaintProbe : QObject {
    FirstPaintProbe(const CallerWindow& watchedCaller, const RandomSource& watchedSource)
        : caller(watchedCaller), source(watchedSource) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            consumedAtPaint = source.Consumed();
            whiteAtPaint = caller.AllCellsWhite();
        }
        return QObject::eventFilter(watched, event);
    }
    const CallerWindow& caller;
    const RandomSource& source;
    bool painted = false;
    bool whiteAtPaint = false;
    std::uint64_t consumedAtPaint = 0;
};

QString LetterOf(int n) {
    const auto letter = bingo::LetterFor(n);
    return QString::fromLatin1(letter->data(), qsizetype(letter->size()));
}

} // namespace

class WindowController : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_source = std::make_unique<RandomSource>();
        m_caller = std::make_unique<CallerWindow>(*m_source);
    }
    void cleanup() {
        m_caller.reset();
        m_source.reset();
    }

    // Cells start in the desktop's field colour; by the first paint they are white and the
    // deck shuffled, and showing the window again does not reset it again.
    void loadResetsOnceBeforeFirstPaint() {
        const QPalette desktop = QApplication::palette();
        QPalette yellowFields = desktop;
        yellowFields.setColor(QPalette::Base, Qt::yellow);
        QApplication::setPalette(yellowFields);
        RandomSource source;
        CallerWindow caller(source);
        QApplication::setPalette(desktop);
        QCOMPARE(bingo::testing::CellColour(caller.Cell(40)), QColor(Qt::yellow));
        QCOMPARE(source.Consumed(), 0u);

        FirstPaintProbe probe(caller, source);
        caller.window->installEventFilter(&probe);
        caller.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(caller.window.get()));
        QTRY_VERIFY(probe.painted);
        QCOMPARE(probe.consumedAtPaint, kResetDraws);
        QVERIFY(probe.whiteAtPaint);
        QCOMPARE(caller.controller.Deck().CallIndex(), std::int16_t{1});
        QVERIFY(!caller.Timer()->isActive());
        QCOMPARE(caller.Number(), QString());
        QCOMPARE(caller.Letter(), QString());

        caller.window->hide();
        caller.window->show();
        QCOMPARE(source.Consumed(), kResetDraws);
    }

    void firstStopCallsTheLaunchOrdersFirstNumber() {
        Show();
        m_caller->Click("Command2");
        const int first = FirstOrder().front();
        QCOMPARE(m_caller->Number(), QString::number(first));
        QCOMPARE(m_caller->Letter(), LetterOf(first));
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
        const auto consumed = m_source->Consumed();
        const auto index = m_caller->controller.Deck().CallIndex();
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
        QCOMPARE(m_source->Consumed() - consumed, std::uint64_t(draws));
        const auto after = m_caller->controller.Deck().CallIndex();
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
        ScriptedSource scripted(std::move(values));
        CallerWindow caller(scripted);
        caller.window->show();
        caller.Click("Command3");
        caller.Tick();
        QCOMPARE(caller.Number(), QStringLiteral("7"));
        QCOMPARE(caller.Letter(), QStringLiteral("G"));
        QVERIFY(!scripted.Overran());
        QVERIFY(caller.RedCells().empty());
        QCOMPARE(caller.controller.Deck().CallIndex(), std::int16_t{1});
    }

    void realTicksArriveWhileRolling() {
        Show();
        m_caller->Click("Command3");
        const auto consumed = m_source->Consumed();
        QTRY_VERIFY_WITH_TIMEOUT(m_source->Consumed() >= consumed + 4, 2000);
        QVERIFY(!m_caller->Number().isEmpty());
        m_caller->Click("Command2");
        const auto stopped = m_source->Consumed();
        QTest::qWait(120);
        QCOMPARE(m_source->Consumed(), stopped);
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
        QCOMPARE(m_caller->Letter(), LetterOf(order[1]));
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

        const int slotOne = m_caller->controller.Deck().Slot(1);
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
            QCOMPARE(m_caller->Letter(), LetterOf(called.back()));
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
        QCOMPARE(m_caller->Letter(), LetterOf(called.back()));
        QCOMPARE(m_caller->RedCells().size(), 75u);
        QCOMPARE(m_caller->controller.Deck().CallIndex(), CallDeck::kUsedUp);

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
        QCOMPARE(m_caller->controller.Deck().CallIndex(), std::int16_t{1});
        QCOMPARE(m_source->Consumed(), kResetDraws);

        m_caller->Click("Command1");
        QCOMPARE(m_caller->Number(), QStringLiteral("99"));
        QCOMPARE(m_caller->Cell(12)->text(), QStringLiteral("12x"));
        QVERIFY(m_caller->AllCellsWhite());

        m_caller->Click("Command2");
        QVERIFY(m_caller->Number() != QStringLiteral("99"));
    }

    void spaceOnFocusedButtonClicks_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("rolling");
        QTest::addColumn<int>("calls");
        QTest::newRow("STOP") << "Command2" << false << 1;
        QTest::newRow("START") << "Command3" << true << 0;
    }
    void spaceOnFocusedButtonClicks() {
        QFETCH(QString, button);
        QFETCH(bool, rolling);
        QFETCH(int, calls);
        Show();
        QWidget* target = m_caller->Control(qPrintable(button));
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Space);
        QCOMPARE(m_caller->Timer()->isActive(), rolling);
        QCOMPARE(int(m_caller->RedCells().size()), calls);
    }

private:
    void Show() {
        m_caller->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_caller->window.get()));
    }

    std::unique_ptr<RandomSource> m_source;
    std::unique_ptr<CallerWindow> m_caller;
};

QTEST_MAIN(WindowController)
#include "window_controller.moc"

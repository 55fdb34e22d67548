#include "call_deck.h"
#include "helpers.h"
#include "sources.h"

#include <QtTest>

#include <array>
#include <cmath>
#include <set>
#include <vector>

using bingo::CallDeck;
using bingo::LetterFor;
using bingo::PcgSource;
using bingo::testing::CountingSource;
using bingo::testing::DeckOrder;
using bingo::testing::ScriptedSource;

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

bool IsPermutation(const std::vector<int>& order) {
    std::set<int> seen(order.begin(), order.end());
    return order.size() == 75 && seen.size() == 75 && *seen.begin() == 1 && *seen.rbegin() == 75;
}

} // namespace

class EngineDeck : public QObject {
    Q_OBJECT

private slots:
    void nothingToCallBeforeFirstReset() {
        CountingSource source;
        CallDeck deck(source);
        QVERIFY(!deck.CallNext());
        QVERIFY(!deck.LastCalled());
        QCOMPARE(source.Consumed(), 0u);
    }

    void resetConsumesExactlyTwentyThousand() {
        CountingSource source;
        CallDeck deck(source);
        for (int round = 1; round <= 3; ++round) {
            deck.ResetDeck();
            QCOMPARE(source.Consumed(), 20000u * static_cast<unsigned>(round));
            QCOMPARE(deck.CallIndex(), std::int16_t{1});
            QVERIFY(IsPermutation(DeckOrder(deck)));
        }
        const auto before = source.Consumed();
        for (int i = 0; i < 80; ++i) {
            deck.CallNext();
        }
        QCOMPARE(source.Consumed(), before);
    }

    // Scripted draws, taken in pairs (a, b); after them every draw is 1, so every further
    // swap exchanges slot 1 with itself. `moved` lists slot=value pairs that differ from 1..75.
    void swapSteps_data() {
        QTest::addColumn<std::vector<int>>("draws");
        QTest::addColumn<std::vector<int>>("moved");
        QTest::newRow("no swaps move anything") << std::vector<int>{} << std::vector<int>{};
        QTest::newRow("a equals b") << std::vector<int>{40, 40} << std::vector<int>{};
        QTest::newRow("one exchange") << std::vector<int>{3, 70} << std::vector<int>{3, 70, 70, 3};
        QTest::newRow("ends of the range")
            << std::vector<int>{1, 75} << std::vector<int>{1, 75, 75, 1};
        QTest::newRow("chained pairs")
            << std::vector<int>{3, 70, 70, 5} << std::vector<int>{3, 70, 5, 3, 70, 5};
        QTest::newRow("swap and swap back") << std::vector<int>{8, 9, 9, 8} << std::vector<int>{};
        QTest::newRow("pairs not shifted")
            << std::vector<int>{10, 20, 30, 40, 50, 60}
            << std::vector<int>{10, 20, 20, 10, 30, 40, 40, 30, 50, 60, 60, 50};
    }
    void swapSteps() {
        QFETCH(std::vector<int>, draws);
        QFETCH(std::vector<int>, moved);
        auto source = ScriptedSource::Numbers(draws, 1);
        CallDeck deck(source);
        deck.ResetDeck();

        std::vector<int> expected(75);
        for (int i = 0; i < 75; ++i) {
            expected[static_cast<std::size_t>(i)] = i + 1;
        }
        for (std::size_t k = 0; k + 1 < moved.size(); k += 2) {
            expected[static_cast<std::size_t>(moved[k] - 1)] = moved[k + 1];
        }
        QCOMPARE(DeckOrder(deck), expected);
        QCOMPARE(source.Consumed(), 20000u);
    }

    void callsEveryNumberOnceThenNone() {
        CountingSource source;
        CallDeck deck(source);
        deck.ResetDeck();
        const auto order = DeckOrder(deck);
        std::set<int> called;
        for (int call = 1; call <= 75; ++call) {
            QCOMPARE(deck.CallIndex(), static_cast<std::int16_t>(call));
            const auto next = deck.CallNext();
            QVERIFY(next);
            QCOMPARE(next->value, order[static_cast<std::size_t>(call - 1)]);
            QVERIFY(next->letter);
            QCOMPARE(*next->letter, *LetterFor(next->value));
            QVERIFY(called.insert(next->value).second);
            QCOMPARE(deck.LastCalled()->value, next->value);
        }
        QCOMPARE(called.size(), 75u);
        QCOMPARE(deck.CallIndex(), CallDeck::kUsedUp);

        const int last = deck.LastCalled()->value;
        for (int extra = 0; extra < 3; ++extra) {
            QVERIFY(!deck.CallNext());
            QCOMPARE(deck.CallIndex(), CallDeck::kUsedUp);
            QCOMPARE(deck.LastCalled()->value, last);
            QCOMPARE(DeckOrder(deck), order);
        }
    }

    void resetMidGameStartsOver() {
        CountingSource source;
        CallDeck deck(source);
        deck.ResetDeck();
        const auto first = DeckOrder(deck);
        for (int i = 0; i < 40; ++i) {
            deck.CallNext();
        }
        deck.ResetDeck();
        QCOMPARE(deck.CallIndex(), std::int16_t{1});
        QVERIFY(!deck.LastCalled());
        QVERIFY(IsPermutation(DeckOrder(deck)));
        QVERIFY(DeckOrder(deck) != first);
    }

    void firstOrderRepeatsAndDrawsInBetweenChangeIt() {
        PcgSource a;
        PcgSource b;
        CallDeck deckA(a);
        CallDeck deckB(b);
        deckA.ResetDeck();
        deckB.ResetDeck();
        QCOMPARE(DeckOrder(deckA), DeckOrder(deckB));
        // The program's own generator, fresh in this process (no other test draws from it):
        // its first game, whatever compiler built it, calls these five first.
        CallDeck program(bingo::ProcessRandomSource());
        program.ResetDeck();
        const std::vector<int> first = DeckOrder(program);
        QCOMPARE(std::vector<int>(first.begin(), first.begin() + 5),
                 (std::vector<int>{74, 14, 23, 12, 34}));

        // One roll frame's worth of draws before the next reset on one side only.
        deckA.ResetDeck();
        b.Next();
        b.Next();
        deckB.ResetDeck();
        QVERIFY(DeckOrder(deckA) != DeckOrder(deckB));
    }

    // Where each number lands over many resets: a shuffle that never reaches a slot, or
    // favours one, shows up as a chi-square far above its 5476 degrees of freedom.
    void shuffleSpreadsEveryNumberOverEverySlot() {
        CountingSource source;
        CallDeck deck(source);
        constexpr int kResets = 2000;
        std::vector<std::array<int, 75>> counts(75, std::array<int, 75>{});
        for (int round = 0; round < kResets; ++round) {
            deck.ResetDeck();
            for (int slot = 1; slot <= 75; ++slot) {
                ++counts[static_cast<std::size_t>(slot - 1)]
                        [static_cast<std::size_t>(deck.Slot(slot) - 1)];
            }
        }
        const double expected = kResets / 75.0;
        double chi = 0.0;
        for (const auto& row : counts) {
            for (int count : row) {
                chi += (count - expected) * (count - expected) / expected;
            }
        }
        const double dof = 74.0 * 74.0;
        // Six standard deviations above the mean of the distribution.
        const double bound = dof + 6.0 * std::sqrt(2.0 * dof);
        QVERIFY2(chi < bound,
                 qPrintable(QStringLiteral("chi-square %1, bound %2").arg(chi).arg(bound)));
    }
};

QTEST_GUILESS_MAIN(EngineDeck)
#include "engine_deck.moc"

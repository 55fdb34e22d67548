#include "draws.h"
#include "helpers.h"
#include "sources.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <vector>

using bingo::DrawNumber;
using bingo::LetterFor;
using bingo::PcgSource;
using bingo::RandomSource;
using bingo::RollFace;
using bingo::testing::CountingSource;
using bingo::testing::LetterText;
using bingo::testing::ScriptedSource;

namespace {

const float kLargestBelowOne = std::nextafter(1.0f, 0.0f);

// Walks every float the generator can produce, in ascending order.
class EveryUnitFloat : public RandomSource {
public:
    float Next() override { return PcgSource::ToUnitFloat(m_raw++ << 8); }

private:
    std::uint32_t m_raw = 0;
};

} // namespace

class EngineDraws : public QObject {
    Q_OBJECT

private slots:
    void unitFloat_data() {
        QTest::addColumn<quint32>("raw");
        QTest::addColumn<float>("expected");
        QTest::newRow("zero") << 0u << 0.0f;
        QTest::newRow("low bits dropped") << 0xFFu << 0.0f;
        QTest::newRow("lowest step") << 0x100u << std::ldexp(1.0f, -24);
        QTest::newRow("half") << 0x80000000u << 0.5f;
        QTest::newRow("all ones") << 0xFFFFFFFFu << kLargestBelowOne;
    }
    void unitFloat() {
        QFETCH(quint32, raw);
        QFETCH(float, expected);
        const float r = PcgSource::ToUnitFloat(raw);
        QCOMPARE(r, expected);
        QVERIFY(r >= 0.0f && r < 1.0f);
    }

    void drawNumber_data() {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("expected");
        QTest::newRow("zero gives 1") << 0.0f << 1;
        QTest::newRow("smallest step") << std::ldexp(1.0f, -24) << 1;
        QTest::newRow("one third") << 1.0f / 3.0f << 26;
        QTest::newRow("half") << 0.5f << 38;
        QTest::newRow("just below 74/75") << std::nextafter(74.0f / 75.0f, 0.0f) << 74;
        QTest::newRow("largest below 1 gives 75") << kLargestBelowOne << 75;
    }
    void drawNumber() {
        QFETCH(float, r);
        QFETCH(int, expected);
        ScriptedSource source({r});
        QCOMPARE(DrawNumber(source), expected);
        QCOMPARE(source.Consumed(), 1u);
    }

    // Every value the generator can yield, 2^24 of them: none falls outside 1..75, and each
    // number gets an equal share to within one.
    void drawNumberOverEveryValue() {
        EveryUnitFloat source;
        std::vector<int> counts(77, 0);
        for (std::uint32_t k = 0; k < (1u << 24); ++k) {
            const int n = DrawNumber(source);
            if (n < 1 || n > 75) {
                QFAIL(qPrintable(QStringLiteral("k=%1 drew %2").arg(k).arg(n)));
            }
            ++counts[static_cast<std::size_t>(n)];
        }
        const int floorShare = (1 << 24) / 75;
        for (int n = 1; n <= 75; ++n) {
            const int count = counts[static_cast<std::size_t>(n)];
            QVERIFY2(count == floorShare || count == floorShare + 1,
                     qPrintable(QStringLiteral("%1 drawn %2 times").arg(n).arg(count)));
        }
    }

    void letterFor_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("expected");
        const struct {
            int n;
            const char* letter;
        } rows[] = {
            {1, "B"},  {15, "B"}, {16, "I"}, {30, "I"}, {31, "N"},      {45, "N"},       {46, "G"},
            {60, "G"}, {61, "O"}, {75, "O"}, {0, "B"},  {76, "<none>"}, {200, "<none>"},
        };
        for (const auto& row : rows) {
            QTest::addRow("%d", row.n) << row.n << QString::fromLatin1(row.letter);
        }
    }
    void letterFor() {
        QFETCH(int, n);
        QFETCH(QString, expected);
        QCOMPARE(LetterText(LetterFor(n)), expected);
    }

    void rollFaceTakesLetterFromSecondDraw_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("letter");
        QTest::newRow("7 beside G") << 7 << 50 << "G";
        QTest::newRow("75 beside B") << 75 << 1 << "B";
        QTest::newRow("1 beside O") << 1 << 75 << "O";
        QTest::newRow("matching") << 31 << 45 << "N";
    }
    void rollFaceTakesLetterFromSecondDraw() {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(QString, letter);
        auto source = ScriptedSource::Numbers({first, second});
        const auto frame = RollFace(source);
        QCOMPARE(frame.number, first);
        QCOMPARE(LetterText(frame.letter), letter);
        QCOMPARE(source.Consumed(), 2u);
    }

    void rollFaceConsumesTwoPerFrame() {
        CountingSource source;
        for (int k = 1; k <= 500; ++k) {
            const auto frame = RollFace(source);
            QVERIFY(frame.number >= 1 && frame.number <= 75);
            QVERIFY(frame.letter.has_value());
            QCOMPARE(source.Consumed(), 2u * static_cast<unsigned>(k));
        }
    }

    void sourceStartsFromTheSameStateEveryTime() {
        PcgSource a;
        PcgSource b;
        for (int i = 0; i < 10000; ++i) {
            QCOMPARE(a.Next(), b.Next());
        }
        QCOMPARE(bingo::ProcessRandomSource().Next(), PcgSource().Next());
    }

    void sourceValuesAreInRangeAndSpread() {
        PcgSource source;
        constexpr int kCount = 1'000'000;
        double sum = 0.0;
        int buckets[10] = {};
        for (int i = 0; i < kCount; ++i) {
            const float r = source.Next();
            QVERIFY(r >= 0.0f && r < 1.0f);
            sum += r;
            ++buckets[static_cast<int>(r * 10.0f)];
        }
        QVERIFY(std::abs(sum / kCount - 0.5) < 0.002);
        // Chi-square over ten buckets, 9 degrees of freedom; 27.9 is the 0.1 % tail.
        double chi = 0.0;
        for (int count : buckets) {
            const double diff = count - kCount / 10.0;
            chi += diff * diff / (kCount / 10.0);
        }
        QVERIFY2(chi < 27.9, qPrintable(QString::number(chi)));
    }
};

QTEST_GUILESS_MAIN(EngineDraws)
#include "engine_draws.moc"

// Hostile text in the fields: ten megabytes pasted into each box and a cell (kept to the
// fields' 32767 characters), and characters that stress text layout (emoji, right-to-left,
// combining marks, direction overrides). The game goes on exactly as a twin game without them.

#include "window_fixture.h"

#include <QApplication>
#include <QtTest>

using bingo::testing::CallerWindow;
using bingo::testing::Replace;

namespace {

constexpr int kFieldLimit = 32767;

QString TenMegabytes() {
    const QString unit = QStringLiteral("BINGO 75 ビンゴ 😀 שלום e\u0301 \u202e ");
    QString text;
    text.reserve(10 * 1024 * 1024 / 2 + unit.size());
    while (text.size() * 2 < 10 * 1024 * 1024) {
        text += unit;
    }
    return text;
}

// One move of the game on both windows.
void Both(CallerWindow& hostile, CallerWindow& plain, const char* button) {
    hostile.Click(button);
    plain.Click(button);
}

} // namespace

class WindowBadInput : public QObject {
    Q_OBJECT

private slots:
    void gameGoesOnAsBefore_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("ten megabytes") << TenMegabytes();
        QTest::newRow("emoji") << QStringLiteral("😀🎱🎉👍🏽👨‍👩‍👧");
        QTest::newRow("right to left") << QStringLiteral("שלום עולם مرحبا");
        QTest::newRow("combining") << QStringLiteral("e\u0301\u0302\u0303\u0304 Z\u0335\u0336");
        QTest::newRow("direction override") << QStringLiteral("\u202eBINGO\u202c 75");
    }
    void gameGoesOnAsBefore() {
        QFETCH(QString, text);
        CallerWindow hostile;
        CallerWindow plain;
        QVERIFY(hostile.Show());
        QVERIFY(plain.Show());

        Both(hostile, plain, "Command2");
        QLineEdit* cell = hostile.Cell(40);
        for (QLineEdit* field : {hostile.Field("Text1"), hostile.Field("Text2"), cell}) {
            Replace(field, text);
            QCOMPARE(field->text(), text.left(kFieldLimit));
        }
        hostile.window->repaint();

        Both(hostile, plain, "Command3");
        for (int i = 0; i < 5; ++i) {
            hostile.Tick();
            plain.Tick();
        }
        Both(hostile, plain, "Command2");
        QCOMPARE(hostile.Number(), plain.Number());
        QCOMPARE(hostile.Letter(), plain.Letter());
        Both(hostile, plain, "Command1");
        for (int i = 0; i < 80; ++i) {
            Both(hostile, plain, "Command2");
            QCOMPARE(hostile.Number(), plain.Number());
            QCOMPARE(hostile.Letter(), plain.Letter());
            QCOMPARE(hostile.RedCells(), plain.RedCells());
        }
        QCOMPARE(hostile.Deck().CallIndex(), plain.Deck().CallIndex());
        QCOMPARE(hostile.Consumed(), plain.Consumed());
        // The pasted cell keeps its text and still takes its colour.
        QCOMPARE(cell->text(), text.left(kFieldLimit));
        QCOMPARE(bingo::testing::CellColour(cell), QColor(255, 128, 128));
    }
};

QTEST_MAIN(WindowBadInput)
#include "window_bad_input.moc"

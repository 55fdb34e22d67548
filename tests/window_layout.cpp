// The window as laid out: every control where the layout puts it, with its text, font,
// colours and focus order, and fonts that really have the glyphs they are asked to show.

#include "layout_tables.h"
#include "window_fixture.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QRawFont>
#include <QRegularExpression>
#include <QtTest>

using bingo::RandomSource;

namespace {

using namespace bingo::testing;

// What each named face may come out as on screen.
QStringList StandInsFor(const QString& family) {
    if (family == QLatin1String("Bookman Old Style")) {
        return {"URW Bookman", "URW Bookman L", "TeX Gyre Bonum", "DejaVu Serif"};
    }
    if (family == QLatin1String("Impact")) {
        return {"Bebas Neue", "League Gothic", "Liberation Sans Narrow", "DejaVu Sans"};
    }
    if (family == QString::fromUtf8(kPopFace)) {
        return {"RocknRoll One", "IPAPGothic", "IPAGothic", "Noto Sans CJK JP"};
    }
    return {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "RocknRoll One"};
}

QString TextOf(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (auto* field = qobject_cast<const QLineEdit*>(widget)) {
        return field->text();
    }
    return qobject_cast<const QPushButton*>(widget)->text();
}

// Every character is drawn by the resolved face itself, not by a fallback or a dingbat font.
void VerifyGlyphs(const QWidget* widget, const QString& text) {
    // Qt names the foundry, as in "URW Bookman [urw]", where two foundries share a family.
    QString resolved = QFontInfo(widget->font()).family();
    resolved.remove(QRegularExpression(QStringLiteral(" \\[.*\\]$")));
    QVERIFY2(StandInsFor(widget->font().family()).contains(resolved),
             qPrintable(widget->objectName() + " resolves to " + resolved));
    const QRawFont raw = QRawFont::fromFont(widget->font());
    QVERIFY(raw.isValid());
    for (const char32_t ch : text.toUcs4()) {
        QVERIFY2(raw.supportsCharacter(ch),
                 qPrintable(QStringLiteral("%1 (%2) lacks U+%3")
                                .arg(widget->objectName(), raw.familyName())
                                .arg(uint(ch), 4, 16, QLatin1Char('0'))));
    }
}

} // namespace

class WindowLayout : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_source = std::make_unique<RandomSource>();
        m_caller = std::make_unique<CallerWindow>(*m_source);
        m_caller->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_caller->window.get()));
    }
    void cleanup() {
        m_caller.reset();
        m_source.reset();
    }

    void window() {
        QWidget& window = *m_caller->window;
        QCOMPARE(window.windowTitle(), QString::fromUtf8("TavrinのBINGOマシーン"));
        QCOMPARE(window.size(), QSize(683, 433));
        const QColor background = window.palette().color(QPalette::Window);
        QCOMPARE(background, QApplication::palette().color(QPalette::Mid));
        QVERIFY(background != QApplication::palette().color(QPalette::Button));

        // Resizing moves and scales nothing.
        const QRect stop = m_caller->Control("Command2")->geometry();
        const QRect cell = m_caller->Cell(75)->geometry();
        window.resize(300, 200);
        window.resize(1200, 900);
        QCOMPARE(m_caller->Control("Command2")->geometry(), stop);
        QCOMPARE(m_caller->Cell(75)->geometry(), cell);
    }

    void controls_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kControlRows)); ++i) {
            QTest::newRow(kControlRows[i].name) << i;
        }
    }
    void controls() {
        QFETCH(int, row);
        const ControlRow& expected = kControlRows[row];
        QWidget* widget = m_caller->Control(expected.name);
        QVERIFY(widget);
        const QString kind = QString::fromLatin1(expected.kind);
        QCOMPARE(kind == "label", qobject_cast<QLabel*>(widget) != nullptr);
        QCOMPARE(kind == "field", qobject_cast<QLineEdit*>(widget) != nullptr);
        QCOMPARE(kind == "button", qobject_cast<QPushButton*>(widget) != nullptr);
        QCOMPARE(widget->parentWidget(), m_caller->window.get());
        QCOMPARE(widget->geometry(),
                 Pixels(expected.left, expected.top, expected.width, expected.height));
        QCOMPARE(TextOf(widget), QString::fromUtf8(expected.text));
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(int(label->alignment()), expected.alignment);
            QVERIFY(label->autoFillBackground());
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        }
        if (auto* field = qobject_cast<QLineEdit*>(widget)) {
            QCOMPARE(int(field->alignment()), expected.alignment);
            QVERIFY(field->hasFrame());
            QVERIFY(field->maxLength() >= 10'000'000);
        }
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
        }
        const QFont font = widget->font();
        QCOMPARE(font.family(), QString::fromUtf8(expected.family));
        QCOMPARE(font.pointSizeF(), expected.points);
        QCOMPARE(int(font.weight()), expected.weight);
        QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
        VerifyGlyphs(widget, kind == "field" ? QStringLiteral("BINGO0123456789") : TextOf(widget));
    }

    void colours_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("background");
        QTest::newRow("title") << "Label2" << QColor(255, 192, 192);
        QTest::newRow("dash") << "Label1" << QApplication::palette().color(QPalette::Button);
        QTest::newRow("B") << "Label3" << QColor(255, 192, 128);
        QTest::newRow("I") << "Label4" << QColor(255, 255, 128);
        QTest::newRow("N") << "Label5" << QColor(128, 255, 128);
        QTest::newRow("G") << "Label6" << QColor(128, 255, 255);
        QTest::newRow("O") << "Label7" << QColor(128, 128, 255);
    }
    void colours() {
        QFETCH(QString, name);
        QFETCH(QColor, background);
        QWidget* label = m_caller->Control(qPrintable(name));
        QCOMPARE(label->palette().color(QPalette::Window), background);
        QCOMPARE(label->palette().color(QPalette::WindowText),
                 QApplication::palette().color(QPalette::ButtonText));
        const QImage image = label->grab().toImage();
        QCOMPARE(image.pixelColor(image.width() - 2, image.height() - 2), background);
    }

    void cellsFollowTheBoardTable() {
        int seen = 0;
        for (int row = 0; row < 8; ++row) {
            for (int column = 0; column < 10; ++column) {
                const int n = kBoard[row][column];
                if (n == 0) {
                    continue;
                }
                ++seen;
                QLineEdit* cell = m_caller->Cell(n);
                QVERIFY2(cell, qPrintable(QString::number(n)));
                QCOMPARE(cell->geometry(), Pixels(kColumnLefts[column], kRowTops[row], 495, 495));
                QCOMPARE(cell->text(), QString::number(n));
                QCOMPARE(int(cell->alignment()), kCentre);
                QCOMPARE(cell->font().family(), QStringLiteral("Impact"));
                QCOMPARE(cell->font().pointSizeF(), 20.25);
                QCOMPARE(int(cell->font().weight()), 400);
                VerifyGlyphs(cell, cell->text());
            }
        }
        QCOMPARE(seen, 75);
        QCOMPARE(m_caller->window->findChildren<QLineEdit*>(QStringLiteral("Text3")).size(), 75);
        QVERIFY(!m_caller->Cell(0));
        QVERIFY(!m_caller->Cell(76));
    }

    // Fields and buttons lie above labels; cells above strips.
    void stacking_data() {
        QTest::addColumn<QPoint>("twips");
        QTest::addColumn<QString>("name");
        QTest::newRow("dash under number box") << QPoint(1950, 2200) << "Text1";
        QTest::newRow("dash under letter box") << QPoint(1565, 2200) << "Text2";
        QTest::newRow("dash between boxes") << QPoint(1700, 2200) << "Label1";
        QTest::newRow("cell 8 over B") << QPoint(4700, 1700) << "Text3";
        QTest::newRow("cell 1 over B") << QPoint(4100, 2300) << "Text3";
        QTest::newRow("strip between cells") << QPoint(4620, 2300) << "Label3";
    }
    void stacking() {
        QFETCH(QPoint, twips);
        QFETCH(QString, name);
        QWidget* top = m_caller->window->childAt(twips / 15);
        while (top && top->parentWidget() != m_caller->window.get()) {
            top = top->parentWidget();
        }
        QVERIFY(top);
        QCOMPARE(top->objectName(), name);
    }

    void focusStartsOnResetAndTabsInOrder() {
        QWidget& window = *m_caller->window;
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(), m_caller->Control("Command1"));

        std::vector<QWidget*> expected = {m_caller->Control("Text1"), m_caller->Control("Command2"),
                                          m_caller->Control("Text2")};
        for (int n = 1; n <= 75; ++n) {
            expected.push_back(m_caller->Cell(n));
        }
        expected.push_back(m_caller->Control("Command3"));
        expected.push_back(m_caller->Control("Command1"));
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void timerStartsIdle() {
        QTimer* timer = m_caller->Timer();
        QVERIFY(timer);
        QVERIFY(!timer->isActive());
        QCOMPARE(timer->interval(), 50);
        QCOMPARE(timer->timerType(), Qt::PreciseTimer);
    }

private:
    std::unique_ptr<RandomSource> m_source;
    std::unique_ptr<CallerWindow> m_caller;
};

QTEST_MAIN(WindowLayout)
#include "window_layout.moc"

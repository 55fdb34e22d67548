// The window as laid out: every control where the layout puts it, with its text, font,
// colours and focus order, and fonts that really have the glyphs they are asked to show.

#include "layout_tables.h"
#include "window_fixture.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QRawFont>
#include <QtTest>

#include <cmath>

namespace {

using namespace bingo::testing;

QString TextOf(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (auto* field = qobject_cast<const QLineEdit*>(widget)) {
        return field->text();
    }
    return qobject_cast<const QPushButton*>(widget)->text();
}

// The named face or one of its stand-ins draws every character itself, not a fallback or a
// dingbat font. Called last: where there are no fonts to resolve, the rest of the test stands.
void VerifyGlyphs(const QWidget* widget, const QString& text) {
    if (QFontDatabase::families().isEmpty()) {
        QSKIP("no font database (Qt's offscreen platform on Windows); e2e-wine shows the faces");
    }
    // Qt names the foundry, as in "URW Bookman [urw]", where two foundries share a family.
    QString resolved = QFontInfo(widget->font()).family();
    const qsizetype foundry = resolved.lastIndexOf(QStringLiteral(" ["));
    if (foundry > 0 && resolved.endsWith(QLatin1Char(']'))) {
        resolved.truncate(foundry);
    }
    const QString family = widget->font().family();
    QVERIFY2(resolved == family ||
                 QFont::substitutes(family).contains(resolved, Qt::CaseInsensitive),
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
        m_caller = std::make_unique<CallerWindow>();
        QVERIFY(m_caller->Show());
    }
    void cleanup() { m_caller.reset(); }

    void window() {
        QWidget& window = *m_caller->window;
        QCOMPARE(window.windowTitle(), QString::fromUtf8("TavrinのBINGOマシーン"));
        QCOMPARE(window.size(), kWindowPixels);
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
            QCOMPARE(field->maxLength(), 32767);
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
        QTest::addColumn<QColor>("text");
        const QPalette desktop = QApplication::palette();
        const QColor black(Qt::black);
        QTest::newRow("dash") << "Label1" << desktop.color(QPalette::Button)
                              << desktop.color(QPalette::ButtonText);
        const char* const tags[] = {"title", "B", "I", "N", "G", "O"};
        for (std::size_t i = 0; i < std::size(tags); ++i) {
            QTest::newRow(tags[i])
                << kStripColours[i].name << QColor(kStripColours[i].colour) << black;
        }
    }
    void colours() {
        QFETCH(QString, name);
        QFETCH(QColor, background);
        QFETCH(QColor, text);
        QWidget* label = m_caller->Control(qPrintable(name));
        QCOMPARE(label->palette().color(QPalette::Window), background);
        QCOMPARE(label->palette().color(QPalette::WindowText), text);
        const QImage image = label->grab().toImage();
        QCOMPARE(image.pixelColor(image.width() - 2, image.height() - 2), background);
    }

    // Every text readable on its own background (WCAG AA, 4.5:1) under a light and a dark
    // desktop scheme; the controls in platform colours take the scheme's colours.
    void legibleInLightAndDarkSchemes_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void legibleInLightAndDarkSchemes() {
        QFETCH(bool, dark);
        m_caller.reset();
        const QPalette scheme = dark ? DarkScheme() : QPalette(QColor(239, 239, 239));
        const struct Restore {
            QPalette desktop = QApplication::palette();
            ~Restore() { QApplication::setPalette(desktop); }
        } restore;
        QApplication::setPalette(scheme);
        CallerWindow caller;
        QVERIFY(caller.Show());
        caller.Click("Command2");

        const auto verify = [](QWidget* widget, QPalette::ColorRole back,
                               QPalette::ColorRole fore) {
            const QColor background = widget->palette().color(back);
            const QColor text = widget->palette().color(fore);
            const double ratio = Contrast(background, text);
            QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1 (%2): %3 on %4, %5:1")
                                                  .arg(widget->objectName())
                                                  .arg(widget->property("index").toInt())
                                                  .arg(text.name(), background.name())
                                                  .arg(ratio, 0, 'f', 2)));
        };
        for (const ControlRow& row : kControlRows) {
            QWidget* widget = caller.Control(row.name);
            const QString kind = QString::fromLatin1(row.kind);
            if (kind == "label") {
                verify(widget, QPalette::Window, QPalette::WindowText);
            } else if (kind == "field") {
                verify(widget, QPalette::Base, QPalette::Text);
                QCOMPARE(widget->palette().color(QPalette::Base), scheme.color(QPalette::Base));
            } else {
                verify(widget, QPalette::Button, QPalette::ButtonText);
                QCOMPARE(widget->palette().color(QPalette::Button), scheme.color(QPalette::Button));
            }
        }
        for (int n = 1; n <= 75; ++n) {
            verify(caller.Cell(n), QPalette::Base, QPalette::Text);
        }
        QCOMPARE(caller.Control("Label1")->palette().color(QPalette::Window),
                 scheme.color(QPalette::Button));
        QCOMPARE(caller.window->palette().color(QPalette::Window), scheme.color(QPalette::Mid));
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
    // WCAG contrast ratio of two colours, 1 to 21.
    static double Contrast(const QColor& a, const QColor& b) {
        const auto luminance = [](const QColor& c) {
            const auto channel = [](double v) {
                return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
                   0.0722 * channel(c.blueF());
        };
        const double la = luminance(a);
        const double lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    }

    // A dark desktop scheme, as dark Plasma and qt6ct's "darker" give: light text on dark.
    static QPalette DarkScheme() {
        QPalette palette(QColor(53, 53, 53), QColor(45, 45, 45));
        palette.setColor(QPalette::WindowText, QColor(238, 238, 238));
        palette.setColor(QPalette::Text, QColor(238, 238, 238));
        palette.setColor(QPalette::ButtonText, QColor(238, 238, 238));
        palette.setColor(QPalette::Base, QColor(30, 30, 30));
        return palette;
    }

    std::unique_ptr<CallerWindow> m_caller;
};

QTEST_MAIN(WindowLayout)
#include "window_layout.moc"

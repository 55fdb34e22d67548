// How the real window looks on a real X server: text where it belongs, nothing hidden or
// clipped, no missing-glyph boxes, digits readable in every cell under a dark desktop scheme
// and with only the DejaVu faces installed, and the same picture twice the size at scale
// factor 2.

#include "x_session.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace bingo::testing;

namespace {

// A missing-glyph box is a hollow rectangle: full top, bottom, left and right edges with
// background inside. No real glyph of the title has that shape.
bool IsHollowBox(const QImage& picture, QRect glyph, QRgb background) {
    if (glyph.height() < 8 || glyph.width() < 5) {
        return false;
    }
    const auto ink = [&](int x, int y) { return picture.pixel(x, y) != background; };
    for (int x = glyph.left(); x <= glyph.right(); ++x) {
        if (!ink(x, glyph.top()) || !ink(x, glyph.bottom())) {
            return false;
        }
    }
    for (int y = glyph.top(); y <= glyph.bottom(); ++y) {
        if (!ink(glyph.left(), y) || !ink(glyph.right(), y)) {
            return false;
        }
    }
    return !ink(glyph.center().x(), glyph.center().y());
}

} // namespace

const QString kDarkScheme = QStringLiteral("/usr/share/qt6ct/colors/darker.conf");

void WriteFile(const QString& path, const QString& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

class E2eLook : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const QString missing = MissingTools({"Xvfb", "xdotool"});
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QString error;
        QVERIFY2(m_x.Open(&error), qPrintable(error));
        // A few calls, so that red cells are judged as well as white ones.
        m_picture = m_x.CallNumbers(10);
        QCOMPARE(RedCells(m_picture).size(), 10u);
    }

    void lettersStandAboveTheCells_data() {
        QTest::addColumn<QString>("strip");
        for (const char* strip : {"Label3", "Label4", "Label5", "Label6", "Label7"}) {
            QTest::newRow(strip) << QString::fromLatin1(strip);
        }
    }
    void lettersStandAboveTheCells() {
        QFETCH(QString, strip);
        const QString problem = LetterAboveCells(m_picture, qPrintable(strip));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // Digits are dark ink inside each cell, clear of its frame (a clipped digit runs into the
    // edge), as the desktop comes, under qt6ct's stock dark scheme chosen as a user chooses
    // it, and with a fontconfig that offers nothing but DejaVu.
    // `margin`: pixels of cell the digits keep clear on every side, the 1-pixel frame
    // included. In DejaVu Sans Condensed, the narrowest last resort, "40" is 28 pixels wide
    // in a 33-pixel cell: a pixel of air each side of it is all there can be.
    void digitsLieInsideTheirCells_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<int>("margin");
        QTest::newRow("as installed") << QString() << 3;
        QTest::newRow("dark scheme") << QStringLiteral("dark") << 3;
        QTest::newRow("DejaVu only") << QStringLiteral("dejavu") << 2;
    }
    void digitsLieInsideTheirCells() {
        QFETCH(QString, desktop);
        QFETCH(int, margin);
        QImage picture = m_picture;
        QTemporaryDir home;
        XSession x;
        if (!desktop.isEmpty()) {
            QStringList env;
            if (desktop == QLatin1String("dark")) {
                QVERIFY2(QFile::exists(kDarkScheme),
                         "qt6ct is not installed; scripts/test installs it");
                QVERIFY(QDir(home.path()).mkpath(QStringLiteral("qt6ct")));
                WriteFile(
                    home.filePath(QStringLiteral("qt6ct/qt6ct.conf")),
                    QStringLiteral("[Appearance]\ncolor_scheme_path=%1\ncustom_palette=true\n")
                        .arg(kDarkScheme));
                env << QStringLiteral("QT_QPA_PLATFORMTHEME=qt6ct")
                    << QStringLiteral("XDG_CONFIG_HOME=") + home.path();
            } else {
                WriteFile(home.filePath(QStringLiteral("fonts.conf")),
                          QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig>\n"
                                         "<dir>/usr/share/fonts/truetype/dejavu</dir>\n"
                                         "<cachedir>%1</cachedir>\n</fontconfig>\n")
                              .arg(home.filePath(QStringLiteral("cache"))));
                env << QStringLiteral("FONTCONFIG_FILE=") +
                           home.filePath(QStringLiteral("fonts.conf"));
            }
            QString error;
            QVERIFY2(x.Open(&error, env), qPrintable(error));
            picture = x.CallNumbers(10);
            QCOMPARE(RedCells(picture).size(), 10u);
            QCOMPARE(WhiteCells(picture), 65);
        }
        const QString problem = DigitsInsideCells(picture, margin);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void titleFitsItsStripOnOneLine() {
        const QRect strip = Pixels(Control("Label2"));
        const QRgb background = kStripColours[0].colour; // the title strip
        const QRect ink =
            InkIn(m_picture, strip, [background](QRgb pixel) { return pixel != background; });
        QVERIFY(!ink.isEmpty());
        QVERIFY2(strip.adjusted(2, 1, -2, -1).contains(ink),
                 qPrintable(QStringLiteral("title ink %1,%2 %3x%4")
                                .arg(ink.x())
                                .arg(ink.y())
                                .arg(ink.width())
                                .arg(ink.height())));
        // The whole line is there: "TavrinのBINGOマシーンVer2.0" at about 27 px a character is
        // far wider than half the strip.
        QVERIFY(ink.width() > strip.width() / 2);
    }

    void noMissingGlyphBoxes() {
        const QRect strip = Pixels(Control("Label2"));
        const QRgb background = kStripColours[0].colour; // the title strip
        // Split the title into glyphs at blank columns.
        int glyphs = 0;
        int x = strip.left();
        while (x <= strip.right()) {
            const auto blank = [&](int column) {
                return InkIn(m_picture, QRect(column, strip.top(), 1, strip.height()),
                             [background](QRgb p) { return p != background; })
                    .isEmpty();
            };
            if (blank(x)) {
                ++x;
                continue;
            }
            int end = x;
            while (end + 1 <= strip.right() && !blank(end + 1)) {
                ++end;
            }
            const QRect glyph = InkIn(m_picture, QRect(x, strip.top(), end - x + 1, strip.height()),
                                      [background](QRgb p) { return p != background; });
            QVERIFY2(!IsHollowBox(m_picture, glyph, background),
                     qPrintable(QStringLiteral("missing-glyph box at x=%1").arg(glyph.x())));
            ++glyphs;
            x = end + 1;
        }
        // 26 characters; some may touch and merge, none may vanish wholesale.
        QVERIFY2(glyphs >= 18, qPrintable(QString::number(glyphs)));
    }

    // At scale factor 2 the window is twice as large and everything sits twice as far in.
    void twiceTheSizeAtScaleFactorTwo() {
        XSession x;
        QString error;
        QVERIFY2(x.Open(&error, {QStringLiteral("QT_SCALE_FACTOR=2")}), qPrintable(error));
        QImage picture = x.Grab();
        QCOMPARE(picture.size(), 2 * kWindowPixels);
        QCOMPARE(WhiteCells(picture, 2), 75);
        for (const char* name : {"Label2", "Label3", "Label4", "Label5", "Label6", "Label7"}) {
            const QRect one = Pixels(Control(name));
            const QRect two = Pixels(Control(name), 2);
            QCOMPARE(picture.pixel(two.center().x(), two.bottom() - 6),
                     m_picture.pixel(one.center().x(), one.bottom() - 3));
        }
        for (const char* strip : {"Label3", "Label4", "Label5", "Label6", "Label7"}) {
            QCOMPARE(LetterAboveCells(picture, strip, 2), QString());
        }
        x.ClickControl("Command2", 2);
        picture = x.WaitForStill(picture);
        QCOMPARE(RedCells(picture, 2).size(), 1u);
    }

private:
    XSession m_x;
    QImage m_picture;
};

QTEST_GUILESS_MAIN(E2eLook)
#include "e2e_look.moc"

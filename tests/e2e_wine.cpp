// The Windows program as a user gets it: the zip unpacked, bingo-caller.exe opened under Wine
// on a private Xvfb and judged by the same harness as the Linux program. Under Wine the window
// repaints later than a native one, so every look waits for the screen to settle.

#include "helpers.h"
#include "x_session.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace bingo::testing;

class E2eWine : public QObject {
    Q_OBJECT

private slots:
    void stopCallsAndMarksUnderWine() {
        const QString missing = MissingTools({"Xvfb", "xdotool", "tesseract", "wine", "unzip"});
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QTemporaryDir dir;
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {"-q", BINGO_WINDOWS_ZIP, "-d", dir.path()});
        QVERIFY(unzip.waitForFinished(60000) && unzip.exitCode() == 0);
        const QString exe =
            dir.filePath(QStringLiteral("bingo-caller-1.00-win64/bingo-caller.exe"));
        QVERIFY2(QFile::exists(exe), qPrintable(exe));

        XSession x;
        QString error;
        QVERIFY2(x.StartServer(&error), qPrintable(error));
        x.FindByTitle(QString::fromUtf8("TavrinのBINGOマシーン"));
        // The unzipped folder alone: no Qt or MinGW folders on Wine's path.
        QVERIFY2(x.Launch(&error, {"WINEPATH="}, {BINGO_WINE_RUN}, 180000, exe), qPrintable(error));
        QImage picture = x.WaitForStill({}, 20000);
        QCOMPARE(picture.size(), QSize(683, 433));
        QCOMPARE(WhiteCells(picture), 75);

        for (int call = 1; call <= 3; ++call) {
            x.ClickControl("Command2");
            picture = x.WaitForStill(picture, 20000);
            const std::vector<int> red = RedCells(picture);
            QCOMPARE(int(red.size()), call);
        }
        const auto inside = [](const char* box) {
            return Pixels(Control(box)).adjusted(4, 4, -4, -4);
        };
        const QString number = XSession::Read(picture, inside("Text1"), "0123456789", 7);
        const QString letter = XSession::Read(picture, inside("Text2"), "BINGO", 10);
        QVERIFY2(!number.isEmpty(), "no number in the number box");
        const std::vector<int> red = RedCells(picture);
        QVERIFY2(std::find(red.begin(), red.end(), number.toInt()) != red.end(),
                 qPrintable(QStringLiteral("%1 is shown but its cell is not red").arg(number)));
        QCOMPARE(letter, LetterText(number.toInt()));
        QVERIFY(x.Close(30000).has_value());
    }
};

QTEST_GUILESS_MAIN(E2eWine)
#include "e2e_wine.moc"

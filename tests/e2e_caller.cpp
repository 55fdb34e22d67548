// The real program under a real X server, driven only by mouse and keyboard and judged only
// by what its window shows.

#include "helpers.h"
#include "x_session.h"

#include <QtTest>

#include <algorithm>

using namespace bingo::testing;

namespace {

bool AllWhite(const QImage& picture, QRect region) {
    return InkIn(picture, region, [](QRgb pixel) { return pixel != kWhite; }).isEmpty();
}

// Dark pixels of a box's text: present, and clear of the box's inner edge on every side.
bool TextFitsInside(const QImage& picture, const char* name) {
    const QRect ink = InkIn(picture, Inside(name), Dark);
    return !ink.isEmpty() && Inside(name).adjusted(1, 1, -1, -1).contains(ink);
}

} // namespace

class E2eCaller : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const QString missing = MissingTools();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }

    void init() {
        m_x = std::make_unique<XSession>();
        QString error;
        QVERIFY2(m_x->Open(&error), qPrintable(error));
    }
    void cleanup() { m_x.reset(); }

    void windowAtLaunch() {
        QByteArray out;
        QVERIFY(m_x->Run({"getwindowname", m_x->Window()}, &out));
        QCOMPARE(QString::fromUtf8(out).trimmed(), QString::fromUtf8("TavrinのBINGOマシーン"));
        QVERIFY(m_x->Run({"getwindowgeometry", "--shell", m_x->Window()}, &out));
        QVERIFY2(out.contains(QStringLiteral("WIDTH=%1\nHEIGHT=%2\n")
                                  .arg(kWindowPixels.width())
                                  .arg(kWindowPixels.height())
                                  .toLatin1()),
                 out.constData());

        const QImage picture = m_x->Grab();
        QCOMPARE(picture.size(), kWindowPixels);
        for (const StripColour& strip : kStripColours) {
            // Middle of the bottom edge: clear of letters, cells and neighbouring strips.
            const QRect rect = Pixels(Control(strip.name));
            QCOMPARE(picture.pixel(rect.center().x(), rect.bottom() - 3), strip.colour);
        }
        QCOMPARE(WhiteCells(picture), 75);
        QVERIFY(AllWhite(picture, Inside("Text1")));
        QVERIFY(AllWhite(picture, Inside("Text2")));
    }

    // Each STOP turns one more cell red and shows that number with its letter; the 76th
    // keeps the program alive and the board as it was.
    void everyStopCallsOneNumber() {
        QImage picture;
        std::vector<int> red;
        for (int call = 1; call <= 75; ++call) {
            picture = m_x->CallNumbers(1);
            std::vector<int> now = RedCells(picture);
            QCOMPARE(int(now.size()), call);
            QVERIFY(std::includes(now.begin(), now.end(), red.begin(), red.end()));
            std::vector<int> added;
            std::set_difference(now.begin(), now.end(), red.begin(), red.end(),
                                std::back_inserter(added));
            const int number = added.front();
            QCOMPARE(ReadNumber(picture), QString::number(number));
            QCOMPARE(ReadLetter(picture), LetterText(number));
            QVERIFY2(TextFitsInside(picture, "Text1"), qPrintable(QString::number(number)));
            QVERIFY2(TextFitsInside(picture, "Text2"), qPrintable(LetterText(number)));
            red = std::move(now);
        }

        const QImage full = picture;
        m_x->ClickControl("Command2");
        QThread::msleep(300);
        picture = m_x->WaitForStill();
        QVERIFY(m_x->AppRunning());
        QCOMPARE(RedCells(picture).size(), 75u);
        QVERIFY(picture == full);
    }

    void resetWhitensBoardAndKeepsBoxes() {
        QImage picture = m_x->CallNumbers(3);
        QCOMPARE(RedCells(picture).size(), 3u);
        const QImage before = picture;
        m_x->ClickControl("Command1");
        // Still alone can be half a repaint on a busy machine: the whole board white.
        QVERIFY(QTest::qWaitFor(
            [&] { return WhiteCells(picture = m_x->WaitForStill(before)) == 75; }, 5000));
        for (const char* box : {"Text1", "Text2"}) {
            const QRect rect = Inside(box);
            QVERIFY2(picture.copy(rect) == before.copy(rect), box);
        }
    }

    void startRollsAndStopFreezes() {
        m_x->ClickControl("Command3");
        const QRect box = Inside("Text1");
        QImage first = m_x->Grab();
        int changes = 0;
        for (int i = 0; i < 8; ++i) {
            QThread::msleep(120);
            const QImage next = m_x->Grab();
            changes += next.copy(box) != first.copy(box) ? 1 : 0;
            first = next;
        }
        QVERIFY2(changes >= 4, qPrintable(QString::number(changes)));
        QCOMPARE(RedCells(first).size(), 0u);

        m_x->ClickControl("Command2");
        const QImage stopped = m_x->WaitForStill();
        QThread::msleep(300);
        QVERIFY(m_x->Grab() == stopped);
        QCOMPARE(RedCells(stopped).size(), 1u);
        QCOMPARE(ReadNumber(stopped), QString::number(RedCells(stopped).front()));
    }

    void firstCallIsTheSameAtEveryLaunch() {
        std::vector<int> firsts;
        for (int launch = 0; launch < 2; ++launch) {
            if (launch > 0) {
                m_x->Quit();
                QString error;
                QVERIFY2(m_x->Launch(&error), qPrintable(error));
            }
            const std::vector<int> red = RedCells(m_x->CallNumbers(1));
            QCOMPARE(red.size(), 1u);
            firsts.push_back(red.front());
        }
        QCOMPARE(firsts[0], firsts[1]);
    }

    // Focus starts on RESET; Tab reaches the number box, then STOP.
    void tabTwiceAndSpaceCalls() {
        const QImage before = m_x->Grab();
        m_x->Key("Tab");
        m_x->Key("Tab");
        m_x->Key("space");
        const QImage picture = m_x->WaitForStill(before);
        const std::vector<int> red = RedCells(picture);
        QCOMPARE(red.size(), 1u);
        QCOMPARE(ReadNumber(picture), QString::number(red.front()));
    }

    // Held for three seconds on STOP, with the server repeating it, a key calls one number.
    void heldKeyCallsOnce_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("Return") << "Return";
        QTest::newRow("Space") << "space";
    }
    void heldKeyCallsOnce() {
        QFETCH(QString, key);
        const QImage before = m_x->Grab();
        m_x->Key("Tab");
        m_x->Key("Tab");
        m_x->HoldKey(qPrintable(key), 3000);
        QCOMPARE(RedCells(m_x->WaitForStill(before)).size(), 1u);
    }

    // Docks match the window to its launcher by WM_CLASS and show the icon it carries.
    void classAndIcon() {
        QFile entry(QStringLiteral(BINGO_DESKTOP_ENTRY));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QByteArray wmClass = m_x->Property("WM_CLASS").split('\0').value(1);
        QVERIFY(entry.readAll().contains("\nStartupWMClass=" + wmClass + '\n'));
        // _NET_WM_ICON: width, height and pixels of each size, the 16-pixel one first.
        const QByteArray icon = m_x->Property("_NET_WM_ICON");
        QVERIFY(icon.startsWith(QByteArray::fromHex("1000000010000000")));
        QVERIFY2(icon.size() > 4 * (16 * 16 + 48 * 48), qPrintable(QString::number(icon.size())));
    }

private:
    std::unique_ptr<XSession> m_x;
};

QTEST_GUILESS_MAIN(E2eCaller)
#include "e2e_caller.moc"

// What assistive technology gets from the window: names for every control, a description of
// each cell's state, and an event when the number box changes. Names and descriptions can be
// read on any platform; events flow only where the platform has an accessibility bridge that
// is switched on. The offscreen run skips the event checks; the run under Xvfb with AT-SPI
// (BINGO_REQUIRE_ACCESSIBILITY set) must see them.

#include "window_fixture.h"

#include <QAccessible>
#include <QtTest>

using bingo::testing::CallerWindow;

namespace {

std::vector<std::pair<QObject*, QAccessible::Event>> g_events;

void Record(QAccessibleEvent* event) {
    g_events.emplace_back(event->object(), event->type());
}

QString Accessible(QWidget* widget, QAccessible::Text text) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face != nullptr ? face->text(text) : QStringLiteral("<none>");
}

} // namespace

class WindowAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (qEnvironmentVariableIsSet("BINGO_REQUIRE_ACCESSIBILITY")) {
            // The bridge connects to the accessibility bus from the event loop.
            QVERIFY(QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000));
        }
        QAccessible::installUpdateHandler(Record);
    }
    void init() {
        m_caller = std::make_unique<CallerWindow>();
        QVERIFY(m_caller->Show());
        g_events.clear();
    }
    void cleanup() { m_caller.reset(); }

    void names_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("RESET") << "Command1"
                               << "RESET";
        QTest::newRow("STOP") << "Command2"
                              << "STOP";
        QTest::newRow("START") << "Command3"
                               << "START";
        QTest::newRow("number box") << "Text1"
                                    << "Number box";
        QTest::newRow("letter box") << "Text2"
                                    << "Letter box";
        QTest::newRow("title") << "Label2" << QString::fromUtf8("TavrinのBINGOマシーンVer2.0");
        QTest::newRow("strip B") << "Label3"
                                 << "B";
    }
    void names() {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QCOMPARE(Accessible(m_caller->Control(qPrintable(control)), QAccessible::Name), name);
    }

    void cellsNamedByNumberEvenWhenEdited() {
        for (int n = 1; n <= 75; ++n) {
            QCOMPARE(Accessible(m_caller->Cell(n), QAccessible::Name), QString::number(n));
        }
        QTest::keyClicks(m_caller->Cell(9), QStringLiteral("x"));
        QCOMPARE(Accessible(m_caller->Cell(9), QAccessible::Name), QStringLiteral("9"));
    }

    // Descriptions follow the colours through calls and a reset.
    void descriptionsFollowTheMarks() {
        for (int i = 0; i < 3; ++i) {
            m_caller->Click("Command2");
        }
        const std::vector<int> red = m_caller->RedCells();
        QCOMPARE(red.size(), 3u);
        for (int n = 1; n <= 75; ++n) {
            const bool called = std::find(red.begin(), red.end(), n) != red.end();
            QCOMPARE(Accessible(m_caller->Cell(n), QAccessible::Description),
                     called ? QStringLiteral("Called") : QStringLiteral("Not called"));
        }
        if (!EventsFlow()) {
            return;
        }
        const auto changed = std::count_if(g_events.begin(), g_events.end(), [](const auto& e) {
            return e.second == QAccessible::DescriptionChanged;
        });
        QCOMPARE(changed, 3);

        m_caller->Click("Command1");
        for (int n : red) {
            QCOMPARE(Accessible(m_caller->Cell(n), QAccessible::Description),
                     QStringLiteral("Not called"));
        }
    }

    // A call changes the number box, and the platform hears of it.
    void newCallRaisesTextEventOnNumberBox() {
        m_caller->Click("Command2");
        QCOMPARE(Accessible(m_caller->Field("Text1"), QAccessible::Value), m_caller->Number());
        if (!EventsFlow()) {
            QSKIP("no accessibility bridge on this platform; e2e-accessibility checks events");
        }
        QObject* box = m_caller->Control("Text1");
        const bool announced =
            std::any_of(g_events.begin(), g_events.end(), [box](const auto& event) {
                return event.first == box && (event.second == QAccessible::TextUpdated ||
                                              event.second == QAccessible::TextInserted);
            });
        QVERIFY(announced);
    }

private:
    static bool EventsFlow() { return QAccessible::isActive(); }

    std::unique_ptr<CallerWindow> m_caller;
};

QTEST_MAIN(WindowAccessibility)
#include "window_accessibility.moc"

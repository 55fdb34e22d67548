// Long random storms of events against the real window, each event checked against a model
// of the controller that works out the expected game on its own: its own copy of the random
// stream, its own shuffle, its own idea of what the boxes, cells and timer should show.
// A failing storm prints its number (the start value of its event generator) and the shortest
// run of events found that still fails.

#include "layout_tables.h"
#include "window_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QtTest>

#include <array>
#include <optional>
#include <random>
#include <set>

using bingo::testing::CallerWindow;
using bingo::testing::Replace;

namespace {

enum class Kind {
    ClickStart,
    ClickStop,
    ClickReset,
    Tick,
    TypeInBox,
    PasteInBox,
    TypeInCell,
    PasteInCell,
    MoveFocus,
    SpaceOnButton,
    EnterInField,
};

struct Event {
    Kind kind;
    int target; // box (1 or 2), cell (1..75), button (1..3) or focus direction
    QString text;
};

QString Describe(const Event& event) {
    static const char* const names[] = {
        "click START", "click STOP",      "click RESET",   "tick",
        "type in box", "paste in box",    "type in cell",  "paste in cell",
        "move focus",  "space on button", "Enter in field"};
    QString line = QString::fromLatin1(names[int(event.kind)]);
    if (event.target != 0) {
        line += QStringLiteral(" #%1").arg(event.target);
    }
    if (!event.text.isEmpty()) {
        line += QStringLiteral(" \"%1\"").arg(event.text);
    }
    return line;
}

// Text a person might type or paste, odd characters included.
QString RandomText(std::mt19937& random, bool wide) {
    static const QStringList pieces = {QStringLiteral("7"),       QStringLiteral("75"),
                                       QStringLiteral("B"),       QStringLiteral("x"),
                                       QStringLiteral(" "),       QStringLiteral("ビンゴ"),
                                       QStringLiteral("😀"),       QStringLiteral("שלום"),
                                       QStringLiteral("e\u0301"), QStringLiteral("\u202e")};
    QString text;
    const int count = 1 + int(random() % (wide ? 6u : 3u));
    for (int i = 0; i < count; ++i) {
        text += pieces[int(random() % unsigned(wide ? pieces.size() : 5))];
    }
    return text;
}

std::vector<Event> MakeStorm(std::uint32_t storm, int count) {
    std::mt19937 random(storm);
    std::vector<Event> events;
    events.reserve(std::size_t(count));
    // Weights: STOP and ticks dominate, as in a real game. Resets are rare enough that most
    // games run past their 75th call, so used-up decks get their share of events.
    const std::array<double, 11> weights = {9, 20, 0.25, 34, 5, 3, 5, 2, 8, 6, 4};
    std::discrete_distribution<int> pick(weights.begin(), weights.end());
    for (int i = 0; i < count; ++i) {
        const auto kind = Kind(pick(random));
        Event event{kind, 0, {}};
        switch (kind) {
        case Kind::TypeInBox:
        case Kind::PasteInBox:
        case Kind::EnterInField:
            event.target = 1 + int(random() % 2u);
            break;
        case Kind::TypeInCell:
        case Kind::PasteInCell:
            event.target = 1 + int(random() % 75u);
            break;
        case Kind::MoveFocus:
        case Kind::SpaceOnButton:
            event.target = 1 + int(random() % 3u);
            break;
        default:
            break;
        }
        if (kind == Kind::TypeInBox || kind == Kind::TypeInCell) {
            event.text = RandomText(random, false);
        } else if (kind == Kind::PasteInBox || kind == Kind::PasteInCell) {
            event.text = RandomText(random, true);
        }
        events.push_back(std::move(event));
    }
    return events;
}

// What the window should show, worked out without the controller or the deck.
class Model {
public:
    void Reset() {
        for (int i = 1; i <= 75; ++i) {
            m_order[std::size_t(i)] = i;
        }
        for (int step = 0; step < 10000; ++step) {
            const int a = Draw();
            const int b = Draw();
            std::swap(m_order[std::size_t(a)], m_order[std::size_t(b)]);
        }
        m_next = 1;
        m_called.clear();
    }
    void Start() { m_rolling = true; }
    void Stop() {
        m_rolling = false;
        if (m_next <= 75) {
            const int n = m_order[std::size_t(m_next++)];
            m_called.insert(n);
            Show(n);
        } else if (!m_called.empty()) {
            Show(m_order[75]);
        }
    }
    void Tick() {
        if (!m_rolling) {
            return;
        }
        m_number = QString::number(Draw());
        m_letter = Letter(Draw());
    }

    bool rolling() const { return m_rolling; }
    const std::set<int>& called() const { return m_called; }
    int slot(int i) const { return m_order[std::size_t(i)]; }
    std::uint64_t consumed() const { return m_draws; }

    QString m_number;
    QString m_letter;
    std::array<QString, 76> m_cellText;

private:
    int Draw() {
        ++m_draws;
        return int(double(m_twin.Next()) * 75.0 + 1.0);
    }
    static QString Letter(int n) { return QString(QLatin1Char("BINGO"[(n - 1) / 15])); }
    void Show(int n) {
        m_number = QString::number(n);
        m_letter = Letter(n);
    }

    bingo::PcgSource m_twin;
    std::uint64_t m_draws = 0;
    std::array<int, 76> m_order{};
    int m_next = 76;
    std::set<int> m_called;
    bool m_rolling = false;
};

class Storm {
public:
    Storm() {
        m_caller.window->show();
        m_caller.window->activateWindow();
        m_active = QTest::qWaitForWindowActive(m_caller.window.get());
        for (int n = 1; n <= 75; ++n) {
            m_cells[std::size_t(n)] = m_caller.Cell(n);
            m_model.m_cellText[std::size_t(n)] = QString::number(n);
        }
        m_model.Reset();
    }

    // Plays the events; the first disagreement with the model, with its event number.
    std::optional<std::pair<int, QString>> Play(const std::vector<Event>& events) {
        if (!m_active) {
            return std::make_pair(-1, QStringLiteral("the window never became active"));
        }
        if (auto wrong = Check()) {
            return std::make_pair(-1, *wrong);
        }
        for (int i = 0; i < int(events.size()); ++i) {
            Apply(events[std::size_t(i)]);
            if (auto wrong = Check()) {
                return std::make_pair(i, *wrong);
            }
        }
        return std::nullopt;
    }

private:
    QLineEdit* Box(int which) const { return m_caller.Field(which == 1 ? "Text1" : "Text2"); }
    QString& ModelBox(int which) { return which == 1 ? m_model.m_number : m_model.m_letter; }
    QPushButton* Button(int which) const {
        return m_caller.Button(which == 1 ? "Command3" : which == 2 ? "Command2" : "Command1");
    }
    void Pressed(int which) {
        if (which == 1) {
            m_model.Start();
        } else if (which == 2) {
            m_model.Stop();
        } else {
            m_model.Reset();
        }
    }

    void Apply(const Event& event) {
        switch (event.kind) {
        case Kind::ClickStart:
        case Kind::ClickStop:
        case Kind::ClickReset: {
            const int which = event.kind == Kind::ClickStart  ? 1
                              : event.kind == Kind::ClickStop ? 2
                                                              : 3;
            QTest::mouseClick(Button(which), Qt::LeftButton);
            Pressed(which);
            break;
        }
        case Kind::Tick:
            if (m_caller.Timer()->isActive()) {
                m_caller.Tick();
            }
            m_model.Tick();
            break;
        case Kind::TypeInBox:
        case Kind::PasteInBox:
            Replace(Box(event.target), event.text, event.kind == Kind::PasteInBox);
            ModelBox(event.target) = event.text;
            break;
        case Kind::TypeInCell:
        case Kind::PasteInCell:
            Replace(m_cells[std::size_t(event.target)], event.text,
                    event.kind == Kind::PasteInCell);
            m_model.m_cellText[std::size_t(event.target)] = event.text;
            break;
        case Kind::MoveFocus: {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : m_caller.window.get(),
                            event.target == 1 ? Qt::Key_Backtab : Qt::Key_Tab);
            break;
        }
        case Kind::SpaceOnButton:
            Button(event.target)->setFocus();
            QTest::keyClick(Button(event.target), Qt::Key_Space);
            Pressed(event.target);
            break;
        case Kind::EnterInField:
            QTest::keyClick(Box(event.target), Qt::Key_Return);
            break;
        }
    }

    std::optional<QString> Check() const {
        if (m_caller.Timer()->isActive() != m_model.rolling()) {
            return QStringLiteral("timer active: %1").arg(m_caller.Timer()->isActive());
        }
        if (m_caller.Consumed() != m_model.consumed()) {
            return QStringLiteral("draws: %1, model %2")
                .arg(m_caller.Consumed())
                .arg(m_model.consumed());
        }
        if (m_caller.Number() != m_model.m_number || m_caller.Letter() != m_model.m_letter) {
            return QStringLiteral("boxes \"%1\" \"%2\", model \"%3\" \"%4\"")
                .arg(m_caller.Letter(), m_caller.Number(), m_model.m_letter, m_model.m_number);
        }
        const bingo::CallDeck& deck = m_caller.Deck();
        std::set<int> held;
        for (int i = 1; i <= 75; ++i) {
            held.insert(deck.Slot(i));
            if (deck.Slot(i) != m_model.slot(i)) {
                return QStringLiteral("slot %1 holds %2, model %3")
                    .arg(i)
                    .arg(deck.Slot(i))
                    .arg(m_model.slot(i));
            }
        }
        if (held.size() != 75 || *held.begin() != 1 || *held.rbegin() != 75) {
            return QStringLiteral("slots 1..75 are not a permutation");
        }
        if (m_model.called().size() > 75) {
            return QStringLiteral("more than 75 calls");
        }
        for (int n = 1; n <= 75; ++n) {
            const QLineEdit* cell = m_cells[std::size_t(n)];
            const QColor colour = bingo::testing::CellColour(cell);
            const QColor expected = QColor(m_model.called().count(n) ? bingo::testing::kCalledRed
                                                                     : bingo::testing::kWhite);
            if (colour != expected) {
                return QStringLiteral("cell %1 is %2").arg(n).arg(colour.name());
            }
            if (cell->text() != m_model.m_cellText[std::size_t(n)]) {
                return QStringLiteral("cell %1 text \"%2\"").arg(n).arg(cell->text());
            }
        }
        return std::nullopt;
    }

    CallerWindow m_caller;
    bool m_active = false;
    Model m_model;
    std::array<QLineEdit*, 76> m_cells{};
};

// Removes ever smaller chunks of a failing run while it still fails, within a time budget.
std::vector<Event> Shrink(std::vector<Event> events) {
    QElapsedTimer budget;
    budget.start();
    for (std::size_t chunk = events.size() / 2; chunk >= 1 && budget.elapsed() < 120000;
         chunk /= 2) {
        for (std::size_t at = 0; at + chunk <= events.size() && budget.elapsed() < 120000;) {
            std::vector<Event> fewer(events.begin(), events.begin() + std::ptrdiff_t(at));
            fewer.insert(fewer.end(), events.begin() + std::ptrdiff_t(at + chunk), events.end());
            if (Storm().Play(fewer)) {
                events = std::move(fewer);
            } else {
                at += chunk;
            }
        }
    }
    return events;
}

} // namespace

class WindowStorm : public QObject {
    Q_OBJECT

private slots:
    void storm_data() {
        QTest::addColumn<std::uint32_t>("storm");
        for (std::uint32_t storm : {11u, 2024u, 31337u, 424242u}) {
            QTest::addRow("storm %u", storm) << storm;
        }
    }
    void storm() {
        QFETCH(std::uint32_t, storm);
        constexpr int kEventsPerStorm = 50000;
        const std::vector<Event> events = MakeStorm(storm, kEventsPerStorm);
        const auto failure = Storm().Play(events);
        if (!failure) {
            return;
        }
        const auto [at, what] = *failure;
        std::vector<Event> prefix(events.begin(), events.begin() + at + 1);
        const std::vector<Event> shortest = Shrink(std::move(prefix));
        QString report = QStringLiteral("storm %1, event %2: %3\nshortest failing run (%4 events):")
                             .arg(storm)
                             .arg(at)
                             .arg(what)
                             .arg(shortest.size());
        for (const Event& event : shortest) {
            report += QStringLiteral("\n  ") + Describe(event);
        }
        QFAIL(qPrintable(report));
    }
};

QTEST_MAIN(WindowStorm)
#include "window_storm.moc"

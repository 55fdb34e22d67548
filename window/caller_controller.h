#pragma once

// The game behind the window. The controller owns the call deck and the roll timer, draws
// from the RandomSource it is given, and answers the window's five events: load and RESET
// clear the board and shuffle a new game, START sets the timer rolling, each tick shows a
// random face, STOP halts the roll and calls, shows and marks the next number.

#include "call_deck.h"
#include "draws.h"

#include <QObject>

#include <optional>
#include <string_view>

class QTimer;

namespace bingo {

class MainWindow;

inline constexpr int kRollIntervalMs = 50;

class CallerController : public QObject {
    Q_OBJECT

public:
    // Lives as a child of the window; the roll timer "Timer1" is its child in turn.
    CallerController(MainWindow& window, RandomSource& source);

    const CallDeck& Deck() const { return m_deck; }

private:
    void Reset();
    void Start();
    void Stop();
    void RollFrame();
    void Show(int number, std::optional<std::string_view> letter);

    MainWindow& m_window;
    RandomSource& m_source;
    CallDeck m_deck;
    QTimer* m_timer;
};

} // namespace bingo

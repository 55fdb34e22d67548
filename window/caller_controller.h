#pragma once

// The game behind the window. The controller owns the call deck and the roll timer, draws
// from the RandomSource it is given, and answers the window's five events: load and RESET
// clear the board and shuffle a new game, START sets the timer rolling, each tick shows a
// random face, STOP halts the roll and calls, shows and marks the next number. All it shows
// goes out through a CallDisplay, and so does the news a screen reader speaks (each call and
// each RESET, never the rolling faces); it never reads anything back.

#include "call_deck.h"
#include "draws.h"

#include <QObject>

#include <optional>
#include <string_view>

class QTimer;

namespace bingo {

inline constexpr int kRollIntervalMs = 50;

// What the controller shows a game on.
class CallDisplay {
public:
    // The number box gets the number; the letter box the letter, or keeps its text if none.
    virtual void ShowCall(int number, const std::optional<std::string_view>& letter) = 0;
    virtual void MarkCalled(int number) = 0;
    virtual void ClearBoard() = 0;
    // Told to a screen reader whatever has the focus: the call just made, a new game, and a
    // STOP that finds every number called.
    virtual void AnnounceCall(int number, const std::optional<std::string_view>& letter) = 0;
    virtual void AnnounceNewGame() = 0;
    virtual void AnnounceAllCalled() = 0;

protected:
    CallDisplay() = default;
    ~CallDisplay() = default;
    // An interface: copying a display through it would slice it.
    CallDisplay(const CallDisplay&) = delete;
    CallDisplay& operator=(const CallDisplay&) = delete;
};

class CallerController : public QObject {
    Q_OBJECT

public:
    // The roll timer "Timer1" is the controller's child.
    CallerController(CallDisplay& display, RandomSource& source, QObject* parent);

    // The window's load: a new game, before anyone is there to hear of it.
    void Reset();
    // RESET: the same new game, announced.
    void NewGame();
    void Start();
    void Stop();
    void RollFrame();

    const CallDeck& Deck() const { return m_deck; }

private:
    CallDisplay& m_display;
    RandomSource& m_source;
    CallDeck m_deck;
    QTimer* m_timer;
};

} // namespace bingo

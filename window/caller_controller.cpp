#include "caller_controller.h"

#include <QTimer>

namespace bingo {

CallerController::CallerController(CallDisplay& display, RandomSource& source, QObject* parent)
    : QObject(parent), m_display(display), m_source(source), m_deck(source),
      m_timer(new QTimer(this)) {
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(kRollIntervalMs);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &CallerController::RollFrame);
}

// Leaves the timer and the boxes alone: a running roll keeps rolling, the last call stays shown.
void CallerController::Reset() {
    m_display.ClearBoard();
    m_deck.ResetDeck();
}

void CallerController::NewGame() {
    Reset();
    m_display.AnnounceNewGame();
}

// Starting again would restart the period; a running roll keeps its beat.
void CallerController::Start() {
    if (!m_timer->isActive()) {
        m_timer->start();
    }
}

void CallerController::RollFrame() {
    const auto frame = RollFace(m_source);
    m_display.ShowCall(frame.number, frame.letter);
}

void CallerController::Stop() {
    m_timer->stop();
    if (const auto called = m_deck.CallNext()) {
        m_display.ShowCall(called->value, called->letter);
        m_display.MarkCalled(called->value);
        m_display.AnnounceCall(called->value, called->letter);
    } else if (const auto last = m_deck.LastCalled()) {
        // Every number is out: put the last call back, so that a roll face left on display
        // is not mistaken for a call, and say so rather than repeat the call.
        m_display.ShowCall(last->value, last->letter);
        m_display.AnnounceAllCalled();
    }
}

} // namespace bingo

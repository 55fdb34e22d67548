#include "caller_controller.h"

#include "main_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace bingo {

CallerController::CallerController(MainWindow& window, RandomSource& source)
    : QObject(&window), m_window(window), m_source(source), m_deck(source),
      m_timer(new QTimer(this)) {
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(kRollIntervalMs);
    m_timer->setTimerType(Qt::PreciseTimer);

    connect(&window, &MainWindow::loaded, this, &CallerController::Reset);
    connect(&window.ResetButton(), &QPushButton::clicked, this, &CallerController::Reset);
    connect(&window.StartButton(), &QPushButton::clicked, this, &CallerController::Start);
    connect(&window.StopButton(), &QPushButton::clicked, this, &CallerController::Stop);
    connect(m_timer, &QTimer::timeout, this, &CallerController::RollFrame);
}

// Leaves the timer and the boxes alone: a running roll keeps rolling, the last call stays shown.
void CallerController::Reset() {
    m_window.Board().ClearBoard();
    m_deck.ResetDeck();
}

void CallerController::Start() {
    m_timer->start();
}

void CallerController::RollFrame() {
    const auto frame = RollFace(m_source);
    Show(frame.number, frame.letter);
}

void CallerController::Stop() {
    m_timer->stop();
    if (const auto called = m_deck.CallNext()) {
        Show(called->value, called->letter);
        m_window.Board().MarkCell(called->value);
    } else if (const auto last = m_deck.LastCalled()) {
        // Every number is out: put the last call back, so that a roll face left on display
        // is not mistaken for a call.
        Show(last->value, last->letter);
    }
}

void CallerController::Show(int number, std::optional<std::string_view> letter) {
    m_window.NumberBox().setText(QString::number(number));
    if (letter) {
        m_window.LetterBox().setText(
            QString::fromLatin1(letter->data(), static_cast<qsizetype>(letter->size())));
    }
}

} // namespace bingo

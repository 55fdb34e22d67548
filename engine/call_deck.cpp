#include "call_deck.h"

#include <utility>

namespace bingo {

void CallDeck::ResetDeck() {
    m_callIndex = 1;
    for (int i = 1; i <= kBallCount; ++i) {
        m_deck[static_cast<std::size_t>(i)] = i;
    }
    for (int step = 0; step < kSwapSteps; ++step) {
        // Two statements: a must be drawn before b.
        const auto a = static_cast<std::size_t>(DrawNumber(m_source));
        const auto b = static_cast<std::size_t>(DrawNumber(m_source));
        std::swap(m_deck[b], m_deck[a]);
    }
}

std::optional<CalledNumber> CallDeck::CallNext() {
    if (m_callIndex < 1 || m_callIndex >= kUsedUp) {
        return std::nullopt;
    }
    const CalledNumber called = Describe(m_deck[static_cast<std::size_t>(m_callIndex)]);
    ++m_callIndex;
    return called;
}

std::optional<CalledNumber> CallDeck::LastCalled() const {
    if (m_callIndex <= 1 || m_callIndex > kUsedUp) {
        return std::nullopt;
    }
    const int value = m_deck[static_cast<std::size_t>(m_callIndex - 1)];
    if (value == 0) {
        return std::nullopt; // no order laid out yet
    }
    return Describe(value);
}

int CallDeck::Slot(int i) const noexcept {
    if (i < 1 || i > kBallCount) {
        return 0;
    }
    return m_deck[static_cast<std::size_t>(i)];
}

CalledNumber CallDeck::Describe(int value) {
    return CalledNumber{value, LetterFor(value)};
}

} // namespace bingo

#pragma once

// The call order of one game. ResetDeck lays 1..75 into slots 1..75 and mixes them with
// 10000 random transpositions drawn from the RandomSource the deck was given; CallNext hands
// out the slots in order with their column letters until all 75 are called. The deck never
// reads outside its table: once used up, CallNext reports that no number remains.

#include "draws.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace bingo {

inline constexpr int kSwapSteps = 10000;

struct CalledNumber {
    int value = 0;
    std::optional<std::string_view> letter;
};

class CallDeck {
public:
    // One past the last slot: CallIndex stands here once every number has been called.
    static constexpr std::int16_t kUsedUp = kBallCount + 1;

    explicit CallDeck(RandomSource& source) : m_source(source) {}

    // New random order and CallIndex back to 1; consumes exactly 2 * kSwapSteps values.
    void ResetDeck();

    // The number in slot CallIndex with its letter, then CallIndex moves on by one.
    // Nothing once the deck is used up (and before the first reset); CallIndex stays put.
    std::optional<CalledNumber> CallNext();

    // The number called most recently in this game; nothing right after a reset.
    std::optional<CalledNumber> LastCalled() const;

    std::int16_t CallIndex() const noexcept { return m_callIndex; }

    // Slot i (1..75) of the current order; 0 outside that range and before the first reset.
    int Slot(int i) const noexcept;

private:
    static CalledNumber Describe(int value);

    RandomSource& m_source;
    // Slot 0 belongs to the table but is never used by the game.
    std::array<int, kBallCount + 1> m_deck{};
    // No order exists before the first reset, so nothing can be called yet.
    std::int16_t m_callIndex = kUsedUp;
};

} // namespace bingo

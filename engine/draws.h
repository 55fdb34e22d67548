#pragma once

// Number draws and column letters. Every random value of the program comes out of one
// RandomSource as a float in [0, 1); DrawNumber turns one value into a ball number 1..75,
// LetterFor names a number's column, and RollFace makes one frame of the rolling display out
// of two draws. The call deck and the controller both draw through here, from the same source.

#include <bit>
#include <cstdint>
#include <optional>
#include <string_view>

namespace bingo {

inline constexpr int kBallCount = 75;

// A raw 32-bit output keeps its top 24 bits, as many as a float's mantissa holds exactly.
inline constexpr unsigned kRawDroppedBits = 8;

// Fixed-start generator (PCG32, XSH-RR output). Every value handed out is counted, so callers
// can check exactly how much an operation consumed. A subclass built with the Scripted tag
// hands out values of its own through Produce(); the plain generator stays inline, since a
// reset draws 20000 values.
class RandomSource {
public:
    RandomSource() = default;
    virtual ~RandomSource() = default;
    RandomSource(const RandomSource&) = delete;
    RandomSource& operator=(const RandomSource&) = delete;

    float Next() {
        ++m_consumed;
        return m_scripted ? Produce() : ToUnitFloat(NextRaw());
    }
    std::uint64_t Consumed() const noexcept { return m_consumed; }

    // The top 24 bits of a raw output as an exact float k / 2^24 in [0, 1); never 1.0.
    static constexpr float ToUnitFloat(std::uint32_t raw) noexcept {
        return static_cast<float>(raw >> kRawDroppedBits) * (1.0f / 16777216.0f);
    }

protected:
    struct Scripted {};
    explicit RandomSource(Scripted) : m_scripted(true) {}
    virtual float Produce() { return ToUnitFloat(NextRaw()); }

private:
    friend int DrawNumber(RandomSource& source);

    std::uint32_t NextRaw() noexcept {
        constexpr std::uint64_t kMultiplier = 6364136223846793005ULL;
        constexpr std::uint64_t kIncrement = 1442695040888963407ULL;
        const std::uint64_t old = m_state;
        m_state = old * kMultiplier + kIncrement;
        const auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rot = static_cast<unsigned>(old >> 59u);
        return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
    }

    std::uint64_t m_state = 0x853c49e6748fea9bULL;
    std::uint64_t m_consumed = 0;
    bool m_scripted = false;
};

// The one generator of the running program: same start state at every launch, never reseeded.
RandomSource& ProcessRandomSource();

// Ends the program: a value outside [0, 1) would index past the deck.
[[noreturn]] void RejectDraw(float r);

// floor(r * 75 + 1) for any r in [0, 1): 1..75.
inline int NumberFromValue(float r) {
    constexpr std::uint32_t kOneBits = 0x3F800000u; // 1.0f
    // One unsigned compare of the bits admits exactly +0 <= r < 1: negatives (and -0), NaN
    // and infinities all lie above the pattern of 1.0f.
    if (std::bit_cast<std::uint32_t>(r) >= kOneBits) {
        RejectDraw(r);
    }
    // A float times 75 plus 1 is exact in double, so the result never rounds up to 76; the
    // sum is at least 1, where truncation and floor agree.
    return static_cast<int>(static_cast<double>(r) * 75.0 + 1.0);
}

// The same for r = ToUnitFloat(raw) = k / 2^24: floor(k * 75 / 2^24) + 1, exact in integers.
constexpr int NumberFromRaw(std::uint32_t raw) noexcept {
    const std::uint32_t k = raw >> kRawDroppedBits;
    return static_cast<int>((k * 75u) >> 24) + 1;
}

// One value of the source as a ball number 1..75. Inline: a reset makes 20000 of these.
inline int DrawNumber(RandomSource& source) {
    if (source.m_scripted) {
        return NumberFromValue(source.Next());
    }
    ++source.m_consumed;
    return NumberFromRaw(source.NextRaw());
}

// "B" below 16, "I" below 31, "N" below 46, "G" below 61, "O" below 76, none from 76 up.
std::optional<std::string_view> LetterFor(double n);
inline std::optional<std::string_view> LetterFor(int n) {
    return LetterFor(static_cast<double>(n));
}

// One frame of the rolling display. The letter belongs to a second, independent draw, so it
// usually does not match the number beside it.
struct RollFrame {
    int number = 0;
    std::optional<std::string_view> letter;
};
RollFrame RollFace(RandomSource& source);

} // namespace bingo

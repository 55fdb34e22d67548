#pragma once

// Number draws and column letters. Every random value of the program comes out of one
// RandomSource as a float in [0, 1); DrawNumber turns one value into a ball number 1..75,
// LetterFor names a number's column, and RollFace makes one frame of the rolling display out
// of two draws. The call deck and the controller both draw through here, from the same source.

#include <cassert>
#include <cstdint>
#include <optional>
#include <string_view>

namespace bingo {

inline constexpr int kBallCount = 75;

// Hands out the values of one stream, each in [0, 1), in the order they are asked for.
class RandomSource {
public:
    RandomSource() = default;
    virtual ~RandomSource() = default;
    RandomSource(const RandomSource&) = delete;
    RandomSource& operator=(const RandomSource&) = delete;

    virtual float Next() = 0;
};

// PCG32 (XSH-RR output) from a fixed start state: the same stream at every launch.
class PcgSource final : public RandomSource {
public:
    float Next() override { return ToUnitFloat(NextRaw()); }

    // The top 24 bits of a raw output as an exact float k / 2^24 in [0, 1); never 1.0.
    static constexpr float ToUnitFloat(std::uint32_t raw) noexcept {
        return static_cast<float>(raw >> 8) * (1.0f / 16777216.0f);
    }

private:
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
};

// The one generator of the running program: same start state at every launch, never reseeded.
RandomSource& ProcessRandomSource();

// floor(r * 75 + 1) for the next value r: 1..75. Consumes exactly one value. Inline, as a
// reset makes 20000 of these.
inline int DrawNumber(RandomSource& source) {
    const float r = source.Next();
    assert(r >= 0.0f && r < 1.0f);
    // A float times 75 plus 1 is exact in double, so the largest float below 1 gives 75; the
    // sum is at least 1, where truncation is the floor (and needs no call into libm).
    return static_cast<int>(static_cast<double>(r) * kBallCount + 1.0);
}

// "B" below 16, "I" below 31, "N" below 46, "G" below 61, "O" below 76, none from 76 up.
std::optional<std::string_view> LetterFor(int n);

// One frame of the rolling display. The letter belongs to a second, independent draw, so it
// usually does not match the number beside it.
struct RollFrame {
    int number = 0;
    std::optional<std::string_view> letter;
};
RollFrame RollFace(RandomSource& source);

} // namespace bingo

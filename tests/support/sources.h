#pragma once

// Test sources: the program's own stream with every value counted, and exact values in a
// given order, so a test knows how much an operation drew and what each draw returns.

#include "draws.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace bingo::testing {

// The value that DrawNumber turns into n: the middle of n's slice of [0, 1).
inline float ValueFor(int n) {
    return (static_cast<float>(n) - 0.5f) / 75.0f;
}

// The program's stream (a fresh PcgSource), counting every value handed out.
class CountingSource : public RandomSource {
public:
    float Next() final {
        ++m_consumed;
        return Produce();
    }
    std::uint64_t Consumed() const { return m_consumed; }

protected:
    virtual float Produce() { return m_stream.Next(); }

private:
    PcgSource m_stream;
    std::uint64_t m_consumed = 0;
};

// Hands out the scripted values, then `fill` for ever after; Overran() tells whether it did.
class ScriptedSource : public CountingSource {
public:
    explicit ScriptedSource(std::vector<float> values, float fill = 0.0f)
        : m_values(std::move(values)), m_fill(fill) {}

    // Draws exactly these numbers, then `fill` for ever after.
    static ScriptedSource Numbers(const std::vector<int>& numbers, int fill = 1) {
        std::vector<float> values;
        for (int n : numbers) {
            values.push_back(ValueFor(n));
        }
        return ScriptedSource(std::move(values), ValueFor(fill));
    }

    bool Overran() const { return Consumed() > m_values.size(); }

protected:
    float Produce() override {
        const std::size_t at = m_next++;
        return at < m_values.size() ? m_values[at] : m_fill;
    }

private:
    std::vector<float> m_values;
    float m_fill;
    std::size_t m_next = 0;
};

} // namespace bingo::testing

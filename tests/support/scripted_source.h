#pragma once

// Test sources: exact values in a given order, so a test knows what each draw returns.

#include "draws.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace bingo::testing {

// The value that DrawNumber turns into n: the middle of n's slice of [0, 1).
inline float ValueFor(int n) {
    return (static_cast<float>(n) - 0.5f) / 75.0f;
}

// Hands out the scripted values, then `fill` for ever after; Overran() tells whether it did.
class ScriptedSource : public RandomSource {
public:
    explicit ScriptedSource(std::vector<float> values, float fill = 0.0f)
        : RandomSource(Scripted{}), m_values(std::move(values)), m_fill(fill) {}

    static ScriptedSource Numbers(const std::vector<int>& numbers, int fill = 1) {
        std::vector<float> values;
        for (int n : numbers) {
            values.push_back(ValueFor(n));
        }
        return ScriptedSource(std::move(values), ValueFor(fill));
    }

    bool Overran() const { return m_next > m_values.size(); }

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

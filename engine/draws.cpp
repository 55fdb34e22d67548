#include "draws.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace bingo {
namespace {

struct Column {
    double limit; // first value past the column
    std::string_view letter;
};
constexpr std::array<Column, 5> kColumns{{
    {16.0, "B"},
    {31.0, "I"},
    {46.0, "N"},
    {61.0, "G"},
    {76.0, "O"},
}};

} // namespace

RandomSource& ProcessRandomSource() {
    static RandomSource source;
    return source;
}

void RejectDraw(float r) {
    std::fprintf(stderr, "bingo-caller: random source gave %g, outside [0, 1)\n",
                 static_cast<double>(r));
    std::abort();
}

std::optional<std::string_view> LetterFor(double n) {
    for (const Column& column : kColumns) {
        if (n < column.limit) {
            return column.letter;
        }
    }
    return std::nullopt;
}

RollFrame RollFace(RandomSource& source) {
    RollFrame frame;
    frame.number = DrawNumber(source);
    frame.letter = LetterFor(DrawNumber(source));
    return frame;
}

} // namespace bingo

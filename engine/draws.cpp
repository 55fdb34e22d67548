#include "draws.h"

#include <array>

namespace bingo {
namespace {

struct Column {
    int limit; // first number past the column
    std::string_view letter;
};
constexpr std::array<Column, 5> kColumns{{
    {16, "B"},
    {31, "I"},
    {46, "N"},
    {61, "G"},
    {76, "O"},
}};

} // namespace

RandomSource& ProcessRandomSource() {
    static PcgSource source;
    return source;
}

std::optional<std::string_view> LetterFor(int n) {
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

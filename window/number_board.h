#pragma once

// The board: five coloured letter strips and the 75 numbered cells, created as children of the
// main window at fixed places. The window marks a cell called (light red) when its number is
// called and clears all to not called (white) on a new game; what a cell shows, its colour
// and what a screen reader hears of it, all follow from that one mark.

#include "appearance.h"
#include "draws.h"

#include <QColor>
#include <QString>
#include <array>

class QLineEdit;
class QWidget;

namespace bingo {

inline constexpr QRgb kCellWhite = qRgb(255, 255, 255);
inline constexpr QRgb kCellCalled = qRgb(255, 128, 128);

class NumberBoard {
public:
    // Every cell is a text field named "Text3" with its number in the dynamic property
    // "index"; the strips are "Label3" to "Label7".
    static constexpr const char* kCellName = "Text3";
    static constexpr const char* kIndexProperty = "index";

    explicit NumberBoard(QWidget& window);

    // Cells 1..75 not called, in ascending order.
    void ClearBoard();
    // Cell n called; numbers outside 1..75 have no cell and are ignored.
    void MarkCell(int n);

    // Cell n (1..75), or nullptr.
    QLineEdit* Cell(int n) const;

    // Where cell n sits: two columns a letter, the left one starting a row lower.
    static TwipRect CellRect(int n);

private:
    enum class Mark { NotCalled, Called };
    void SetMark(int n, Mark mark);

    std::array<QLineEdit*, kBallCount + 1> m_cells{}; // index 0 unused
    // What a screen reader hears of each mark, in the language installed before the window.
    QString m_calledText;
    QString m_notCalledText;
};

} // namespace bingo

#pragma once

// The board: five coloured letter strips and the 75 numbered cells, created as children of the
// main window at fixed places. The controller marks a cell light red when its number is called
// and clears all to white on a new game; the colours are the board's only record of a game.

#include "appearance.h"

#include <QColor>
#include <array>

class QLabel;
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

    // Cells 1..75 white, in ascending order.
    void ClearBoard();
    // Cell n light red; numbers outside 1..75 have no cell and are ignored.
    void MarkCell(int n);

    // Cell n (1..75), or nullptr.
    QLineEdit* Cell(int n) const;

    // Where cell n sits: two columns a letter, the left one starting a row lower.
    static TwipRect CellRect(int n);

private:
    void Paint(int n, QRgb colour);

    std::array<QLineEdit*, 76> m_cells{}; // index 0 unused
};

} // namespace bingo

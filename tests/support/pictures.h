#pragma once

// What the suites see in a grabbed window: ink, the board's red and white cells, the strip
// letters and cell digits in their places, and the boxes' text as tesseract reads it. Places
// come from the layout tables; pictures from the X harness (x_session.h).

#include "layout_tables.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <vector>

namespace bingo::testing {

// A pixel of text: darker than any frame or fill of the window.
inline bool Dark(QRgb pixel) {
    return qGray(pixel) < 96;
}

// Bounding box of the pixels in `area` that `isInk` picks, leaving out `holes`.
template <typename IsInk>
QRect InkIn(const QImage& picture, QRect area, IsInk isInk, const std::vector<QRect>& holes = {}) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QPoint p(x, y);
            if (!isInk(picture.pixel(p))) {
                continue;
            }
            if (std::none_of(holes.begin(), holes.end(),
                             [&p](const QRect& hole) { return hole.contains(p); })) {
                ink |= QRect(p, QSize(1, 1));
            }
        }
    }
    return ink;
}

// What is wrong with the look of a grabbed window, or empty where nothing is: the strip's
// letter stands clear of the strip's top and above the first row of cells.
QString LetterAboveCells(const QImage& picture, const char* strip, int scale = 1);
// Every cell shows dark digits that keep `margin` pixels of the cell clear on every side (a
// clipped digit runs into the edge).
QString DigitsInsideCells(const QImage& picture, int margin);

// Which cells a picture shows light red (or white), by sampling inside each cell's frame away
// from its digits.
std::vector<int> RedCells(const QImage& picture, int scale = 1);
int WhiteCells(const QImage& picture, int scale = 1);

// The inside of a box, clear of its frame.
inline QRect Inside(const char* box) {
    return Pixels(Control(box)).adjusted(4, 4, -4, -4);
}

// The number box's digits and the letter box's letter as tesseract reads them.
QString ReadNumber(const QImage& picture);
QString ReadLetter(const QImage& picture);

} // namespace bingo::testing

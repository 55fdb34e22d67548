#pragma once

// The window's layout as typed from its layout tables, in twips, for tests that check what is
// built or what is seen. Kept apart from the program's own constants on purpose.

#include <QColor>
#include <QRect>
#include <QSize>
#include <Qt>

#include <iterator>

namespace bingo::testing {

struct ControlRow {
    const char* name;
    const char* kind;
    int left, top, width, height;
    const char* text;
    int alignment;
    const char* family;
    double points;
    int weight;
};

inline constexpr QRgb kWhite = qRgb(255, 255, 255);
inline constexpr QRgb kCalledRed = qRgb(255, 128, 128);

// The window's client area in pixels at 96 dpi, and each strip's colour.
inline constexpr QSize kWindowPixels(683, 433);
struct StripColour {
    const char* name;
    QRgb colour;
};
inline constexpr StripColour kStripColours[] = {
    {"Label2", qRgb(255, 192, 192)}, {"Label3", qRgb(255, 192, 128)},
    {"Label4", qRgb(255, 255, 128)}, {"Label5", qRgb(128, 255, 128)},
    {"Label6", qRgb(128, 255, 255)}, {"Label7", qRgb(128, 128, 255)},
};

inline constexpr int kTopCentre = Qt::AlignHCenter | Qt::AlignTop;
inline constexpr int kTopLeft = Qt::AlignLeft | Qt::AlignTop;
inline constexpr int kCentre = Qt::AlignCenter;
inline const char* const kPopFace = "HGP創英角ﾎﾟｯﾌﾟ体";
inline const char* const kGothicFace = "ＭＳ Ｐゴシック";

inline const ControlRow kControlRows[] = {
    {"Label2", "label", 120, 360, 9855, 495, "TavrinのBINGOマシーンVer2.0", kTopCentre, kPopFace,
     20.25, 400},
    {"Command1", "button", 120, 1080, 1335, 495, "RESET", 0, "Impact", 12, 400},
    {"Text2", "field", 120, 1680, 1455, 1725, "", kCentre, "Bookman Old Style", 72, 600},
    {"Label1", "label", 1560, 2160, 615, 735, "-", kTopLeft, kGothicFace, 36, 400},
    {"Text1", "field", 1920, 1680, 2055, 1755, "", kCentre, "Bookman Old Style", 72, 600},
    {"Command3", "button", 120, 3600, 3855, 1095, "START", 0, kPopFace, 21.75, 400},
    {"Command2", "button", 120, 4920, 3855, 1095, "STOP", 0, kPopFace, 24, 400},
    {"Label3", "label", 3960, 960, 1335, 5535, "B", kTopCentre, "Bookman Old Style", 36, 600},
    {"Label4", "label", 5280, 960, 1335, 5535, "I", kTopCentre, "Bookman Old Style", 36, 600},
    {"Label5", "label", 6480, 960, 1215, 5535, "N", kTopCentre, "Bookman Old Style", 36, 600},
    {"Label6", "label", 7680, 960, 1215, 5535, "G", kTopCentre, "Bookman Old Style", 36, 600},
    {"Label7", "label", 8880, 960, 1215, 5535, "O", kTopCentre, "Bookman Old Style", 36, 600},
};

inline const ControlRow& Control(const char* name) {
    for (const ControlRow& row : kControlRows) {
        if (QLatin1String(row.name) == QLatin1String(name)) {
            return row;
        }
    }
    return kControlRows[0];
}

// Pixels at 96 dpi (15 twips a pixel), times a scale factor.
inline QRect Pixels(int left, int top, int width, int height, int scale = 1) {
    return QRect(left * scale / 15, top * scale / 15, width * scale / 15, height * scale / 15);
}
inline QRect Pixels(const ControlRow& row, int scale = 1) {
    return Pixels(row.left, row.top, row.width, row.height, scale);
}

// The board as drawn in the layout table: row tops down, column lefts across; 0 is empty.
inline constexpr int kColumnLefts[10] = {4080, 4680, 5280, 5880, 6480,
                                         7080, 7680, 8280, 8880, 9480};
inline constexpr int kRowTops[8] = {1680, 2280, 2880, 3480, 4080, 4680, 5280, 5880};
inline constexpr int kCellTwips = 495;
inline constexpr int kBoard[8][10] = {
    {0, 8, 0, 23, 0, 38, 0, 53, 0, 68},      {1, 9, 16, 24, 31, 39, 46, 54, 61, 69},
    {2, 10, 17, 25, 32, 40, 47, 55, 62, 70}, {3, 11, 18, 26, 33, 41, 48, 56, 63, 71},
    {4, 12, 19, 27, 34, 42, 49, 57, 64, 72}, {5, 13, 20, 28, 35, 43, 50, 58, 65, 73},
    {6, 14, 21, 29, 36, 44, 51, 59, 66, 74}, {7, 15, 22, 30, 37, 45, 52, 60, 67, 75},
};

// Cell n's place from the board table; an empty rectangle for numbers not on the board.
inline QRect CellPixels(int n, int scale = 1) {
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 10; ++column) {
            if (kBoard[row][column] == n) {
                return Pixels(kColumnLefts[column], kRowTops[row], kCellTwips, kCellTwips, scale);
            }
        }
    }
    return {};
}

} // namespace bingo::testing

#pragma once

// Where the window's fixed look is turned into Qt terms: layout twips into pixels, the desktop
// system colours the layout names into palette roles, and the named font faces into QFonts
// with stand-ins for faces a desktop does not have.

#include <QColor>
#include <QFont>
#include <QRect>

namespace bingo {

// 1/1440 inch; 15 twips to one device-independent pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

QRect ToPixels(TwipRect twips);

enum class SystemColour {
    ActiveBorder, // the window's background
    ButtonFace,   // label backgrounds
    ButtonText,   // label text
};

// The one place that decides which palette role stands for which system colour.
QColor PlatformColour(SystemColour colour);

// Text on a background the layout fixes (cells, strips, title) is fixed too, so that a dark
// desktop scheme cannot paint light text on those light backgrounds.
inline constexpr QRgb kFixedText = qRgb(0, 0, 0);

inline constexpr int kRegular = 400;
inline constexpr int kSemibold = 600;

// Qt has no character sets: a Japanese face gets only Japanese stand-ins, so its text keeps
// Japanese glyphs whichever of them is installed.
struct FontStyle {
    const char* family; // UTF-8
    double points;
    int weight;
};

// Registers the stand-in faces once per process; safe to call again.
void InstallFontSubstitutes();

QFont MakeFont(const FontStyle& style);

} // namespace bingo

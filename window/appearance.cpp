#include "appearance.h"

#include <QGuiApplication>
#include <QPalette>
#include <QString>
#include <QStringList>

namespace bingo {
namespace {

struct Substitute {
    const char* face;
    const char* standIns[4];
};

// The stand-ins for each named face, one table per platform. Looks first, then coverage.
#if defined(Q_OS_WIN)
// Japanese Windows has every named face; elsewhere the Japanese pop face is missing, and any
// may be. These are faces Windows itself ships.
constexpr Substitute kSubstitutes[] = {
    {"Bookman Old Style", {"Georgia", "Cambria", "Times New Roman", "Courier New"}},
    {"Impact", {"Arial Narrow", "Bahnschrift SemiCondensed", "Arial", "Tahoma"}},
    {"HGP創英角ﾎﾟｯﾌﾟ体", {"Meiryo", "Yu Gothic", "MS PGothic", "MS UI Gothic"}},
    {"ＭＳ Ｐゴシック", {"MS PGothic", "Meiryo", "Yu Gothic", "MS UI Gothic"}},
};
#else
// Each list ends in a face nearly every desktop has, so fontconfig's own guess (for "Impact",
// a dingbat face) is never reached. The last resorts are condensed, as the faces they stand
// for are narrow: two digits must fit a cell.
constexpr Substitute kSubstitutes[] = {
    {"Bookman Old Style",
     {"URW Bookman", "URW Bookman L", "TeX Gyre Bonum", "DejaVu Serif Condensed"}},
    {"Impact", {"Bebas Neue", "League Gothic", "Liberation Sans Narrow", "DejaVu Sans Condensed"}},
    {"HGP創英角ﾎﾟｯﾌﾟ体", {"RocknRoll One", "IPAPGothic", "IPAGothic", "Noto Sans CJK JP"}},
    {"ＭＳ Ｐゴシック", {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "RocknRoll One"}},
};
#endif

} // namespace

QRect ToPixels(TwipRect twips) {
    return QRect(twips.left / kTwipsPerPixel, twips.top / kTwipsPerPixel,
                 twips.width / kTwipsPerPixel, twips.height / kTwipsPerPixel);
}

QColor PlatformColour(SystemColour colour) {
    const QPalette palette = QGuiApplication::palette();
    switch (colour) {
    case SystemColour::ActiveBorder:
        // Qt has no border role. Mid is the desktop's mid grey, a shade darker than the
        // button face, as the active border is on the desktops this layout came from; the
        // labels in button face then stand apart from the window behind them.
        return palette.color(QPalette::Active, QPalette::Mid);
    case SystemColour::ButtonFace:
        return palette.color(QPalette::Active, QPalette::Button);
    case SystemColour::ButtonText:
        return palette.color(QPalette::Active, QPalette::ButtonText);
    }
    return {};
}

void InstallFontSubstitutes() {
    for (const Substitute& substitute : kSubstitutes) {
        const QString face = QString::fromUtf8(substitute.face);
        if (!QFont::substitutes(face).isEmpty()) {
            continue;
        }
        QStringList standIns;
        for (const char* standIn : substitute.standIns) {
            standIns << QString::fromUtf8(standIn);
        }
        QFont::insertSubstitutions(face, standIns);
    }
}

QFont MakeFont(const FontStyle& style) {
    QFont font(QString::fromUtf8(style.family));
    font.setPointSizeF(style.points);
    font.setWeight(static_cast<QFont::Weight>(style.weight));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

} // namespace bingo

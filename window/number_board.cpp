#include "number_board.h"

#include "caption_label.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace bingo {
namespace {

constexpr int kStripTop = 960;
constexpr int kStripHeight = 5535;
constexpr FontStyle kStripFont{"Bookman Old Style", 36.0, kSemibold};

struct Strip {
    const char* name;
    const char* letter;
    int left;
    int width;
    QRgb background;
};
constexpr Strip kStrips[] = {
    {"Label3", "B", 3960, 1335, qRgb(255, 192, 128)},
    {"Label4", "I", 5280, 1335, qRgb(255, 255, 128)},
    {"Label5", "N", 6480, 1215, qRgb(128, 255, 128)},
    {"Label6", "G", 7680, 1215, qRgb(128, 255, 255)},
    {"Label7", "O", 8880, 1215, qRgb(128, 128, 255)},
};

constexpr int kCellSize = 495;
constexpr int kCellPitch = 600;
constexpr int kGridLeft = 4080;
constexpr int kGridTop = 1680;
constexpr int kNumbersPerLetter = 15;
constexpr int kLeftColumnNumbers = 7;
constexpr int kCellPadding = 2; // pixels
constexpr FontStyle kCellFont{"Impact", 20.25, kRegular};

} // namespace

NumberBoard::NumberBoard(QWidget& window)
    : m_calledText(QCoreApplication::translate("bingo::NumberBoard", "Called")),
      m_notCalledText(QCoreApplication::translate("bingo::NumberBoard", "Not called")) {
    for (const Strip& strip : kStrips) {
        // The letter stands in the band above the first row of cells, where none hides it.
        const CaptionLayout layout{strip.name,
                                   {strip.left, kStripTop, strip.width, kStripHeight},
                                   strip.letter,
                                   Qt::AlignHCenter | Qt::AlignTop,
                                   kStripFont};
        MakeCaption(window, layout, QColor(strip.background), QColor(kFixedText),
                    ToPixels({0, 0, 0, kGridTop - kStripTop}).height());
    }

    const QFont cellFont = MakeFont(kCellFont);
    for (int n = 1; n <= kBallCount; ++n) {
        // Font before text: the number is laid out once, in its own face.
        auto* cell = new QLineEdit(&window);
        cell->setFont(cellFont);
        cell->setObjectName(QString::fromLatin1(kCellName));
        cell->setProperty(kIndexProperty, n);
        cell->setGeometry(ToPixels(CellRect(n)));
        cell->setAlignment(Qt::AlignCenter);
        // A field scrolls text that does not fit its inner margins, which cut off the first
        // digit of two in a wide last-resort face; the frame's padding gives them room.
        cell->setTextMargins(-kCellPadding, 0, -kCellPadding, 0);
        QPalette palette = cell->palette();
        palette.setColor(QPalette::Text, QColor(kFixedText));
        cell->setPalette(palette);
        cell->setText(QString::number(n));
        // A screen reader names the cell by its number whatever is typed into it, and says
        // through the description what the colour says.
        cell->setAccessibleName(QString::number(n));
        cell->setAccessibleDescription(m_notCalledText);
        m_cells[static_cast<std::size_t>(n)] = cell;
    }
}

TwipRect NumberBoard::CellRect(int n) {
    const int group = (n - 1) / kNumbersPerLetter;
    const int k = (n - 1) % kNumbersPerLetter;
    const int column = k < kLeftColumnNumbers ? 2 * group : 2 * group + 1;
    const int row = k < kLeftColumnNumbers ? k + 1 : k - kLeftColumnNumbers;
    return {kGridLeft + kCellPitch * column, kGridTop + kCellPitch * row, kCellSize, kCellSize};
}

QLineEdit* NumberBoard::Cell(int n) const {
    if (n < 1 || n > kBallCount) {
        return nullptr;
    }
    return m_cells[static_cast<std::size_t>(n)];
}

void NumberBoard::ClearBoard() {
    for (int n = 1; n <= kBallCount; ++n) {
        SetMark(n, Mark::NotCalled);
    }
}

void NumberBoard::MarkCell(int n) {
    SetMark(n, Mark::Called);
}

void NumberBoard::SetMark(int n, Mark mark) {
    QLineEdit* cell = Cell(n);
    if (cell == nullptr) {
        return;
    }
    const bool called = mark == Mark::Called;
    QPalette palette = cell->palette();
    palette.setColor(QPalette::Base, QColor(called ? kCellCalled : kCellWhite));
    cell->setPalette(palette);
    const QString& description = called ? m_calledText : m_notCalledText;
    if (cell->accessibleDescription() != description) {
        cell->setAccessibleDescription(description);
    }
}

} // namespace bingo

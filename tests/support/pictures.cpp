#include "pictures.h"

#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

namespace bingo::testing {
namespace {

// Text in one region of a picture as tesseract reads it, limited to `allowed`.
QString Read(const QImage& picture, QRect region, const char* allowed, int pageMode) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("region.png"));
    // Tesseract reads best at text sizes, with a margin: a lone 72 pt "O" as cut from the box
    // it does not read at all.
    constexpr int kMargin = 20;
    QImage page(region.size() + QSize(2 * kMargin, 2 * kMargin), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter(&page).drawImage(QPoint(kMargin, kMargin), picture, region);
    page.scaled(page.size() * 2 / 5, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(path);
    QProcess process; // killed, if it is still running, when it goes
    process.start(QStringLiteral("tesseract"),
                  {path, QStringLiteral("stdout"), QStringLiteral("--psm"),
                   QString::number(pageMode), QStringLiteral("-c"),
                   QStringLiteral("tessedit_char_whitelist=") + QString::fromLatin1(allowed)});
    if (!process.waitForFinished(20000)) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

} // namespace

QString ReadNumber(const QImage& picture) {
    return Read(picture, Inside("Text1"), "0123456789", 7);
}

QString ReadLetter(const QImage& picture) {
    return Read(picture, Inside("Text2"), "BINGO", 10);
}

QString LetterAboveCells(const QImage& picture, const char* strip, int scale) {
    std::vector<QRect> cells;
    for (int n = 1; n <= 75; ++n) {
        cells.push_back(CellPixels(n, scale).adjusted(-1, -1, 1, 1));
    }
    const QRect area = Pixels(Control(strip), scale).adjusted(2 * scale, 0, -2 * scale, 0);
    const QRect ink = InkIn(picture, area, Dark, cells);
    const int firstRowTop = CellPixels(8, scale).top();
    if (ink.isEmpty() || ink.top() <= area.top() || ink.bottom() >= firstRowTop - 1) {
        return QStringLiteral("%1: letter at y=%2..%3, the strip starts at %4, cells at %5")
            .arg(QLatin1String(strip))
            .arg(ink.top())
            .arg(ink.bottom())
            .arg(area.top())
            .arg(firstRowTop);
    }
    return {};
}

QString DigitsInsideCells(const QImage& picture, int margin) {
    for (int n = 1; n <= 75; ++n) {
        const QRect cell = CellPixels(n);
        // Inside the frame, which a dark scheme draws dark.
        const QRect ink = InkIn(picture, cell.adjusted(1, 1, -1, -1), Dark);
        if (ink.isEmpty() || !cell.adjusted(margin, margin, -margin, -margin).contains(ink)) {
            return QStringLiteral("%1: digits at %2,%3 %4x%5 in a cell at %6,%7")
                .arg(n)
                .arg(ink.x())
                .arg(ink.y())
                .arg(ink.width())
                .arg(ink.height())
                .arg(cell.x())
                .arg(cell.y());
        }
    }
    return {};
}

std::vector<int> RedCells(const QImage& picture, int scale) {
    std::vector<int> red;
    for (int n = 1; n <= 75; ++n) {
        if (picture.pixel(CellPixels(n, scale).topLeft() + QPoint(4, 4) * scale) == kCalledRed) {
            red.push_back(n);
        }
    }
    return red;
}

int WhiteCells(const QImage& picture, int scale) {
    int white = 0;
    for (int n = 1; n <= 75; ++n) {
        white += picture.pixel(CellPixels(n, scale).topLeft() + QPoint(4, 4) * scale) == kWhite;
    }
    return white;
}

} // namespace bingo::testing

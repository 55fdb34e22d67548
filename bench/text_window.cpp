// The floor for showing the caller's ink: one widget that paints the same captions and the 75
// numbers in the same faces and sizes, with no controls, no game and no colours.

#include "appearance.h"
#include "layout_tables.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

using namespace bingo::testing;

class TextWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        for (const ControlRow& row : kControlRows) {
            painter.setFont(bingo::MakeFont({row.family, row.points, row.weight}));
            painter.drawText(Pixels(row), Qt::AlignCenter, QString::fromUtf8(row.text));
        }
        painter.setFont(bingo::MakeFont({"Impact", 20.25, 400}));
        for (int n = 1; n <= 75; ++n) {
            painter.drawText(CellPixels(n), Qt::AlignCenter, QString::number(n));
        }
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    bingo::InstallFontSubstitutes();
    TextWindow window;
    window.resize(kWindowPixels);
    window.show();
    return QApplication::exec();
}

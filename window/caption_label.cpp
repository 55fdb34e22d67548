#include "caption_label.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>

namespace bingo {

CaptionLabel::CaptionLabel(const QString& text, QWidget* parent, int bandHeight)
    : QLabel(text, parent), m_bandHeight(bandHeight) {}

void CaptionLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetricsF metrics(font());
    const QString caption = text();
    const QRectF ink = metrics.tightBoundingRect(caption);
    const double band = m_bandHeight > 0 ? m_bandHeight : height();
    const double baseline = (band - ink.height()) / 2.0 - ink.top();

    const double advance = metrics.horizontalAdvance(caption);
    double x = 0.0;
    if (alignment() & Qt::AlignHCenter) {
        x = (width() - advance) / 2.0;
    } else if (alignment() & Qt::AlignRight) {
        x = width() - advance;
    }
    painter.drawText(QPointF(x, baseline), caption);
}

CaptionLabel* MakeCaption(QWidget& parent, const CaptionLayout& layout, QColor background,
                          QColor text, int bandHeight) {
    auto* label = new CaptionLabel(QString::fromUtf8(layout.text), &parent, bandHeight);
    label->setObjectName(QString::fromLatin1(layout.name));
    label->setGeometry(ToPixels(layout.rect));
    label->setAlignment(layout.alignment);
    label->setFont(MakeFont(layout.font));
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
    return label;
}

} // namespace bingo

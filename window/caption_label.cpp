#include "caption_label.h"

#include <QFontMetricsF>
#include <QPainter>

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

} // namespace bingo

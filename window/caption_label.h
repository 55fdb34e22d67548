#pragma once

// A label that shows one line of caption with the caption's ink centred in a band at the top
// of the label. The stand-in faces keep more room above their glyphs than the faces the layout
// was drawn for; placing by ink rather than by the face's line box keeps every caption where
// it belongs, wholly visible. Horizontal placement follows alignment() as in QLabel.

#include "appearance.h"

#include <QLabel>

namespace bingo {

class CaptionLabel : public QLabel {
    Q_OBJECT

public:
    // bandHeight: pixels from the top within which the ink is centred; 0 for the whole label.
    CaptionLabel(const QString& text, QWidget* parent, int bandHeight = 0);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_bandHeight;
};

struct CaptionLayout {
    const char* name;
    TwipRect rect;
    const char* text; // UTF-8
    Qt::Alignment alignment;
    FontStyle font;
};

// An opaque caption label on `parent` in the given colours; bandHeight as for CaptionLabel.
CaptionLabel* MakeCaption(QWidget& parent, const CaptionLayout& layout, QColor background,
                          QColor text, int bandHeight = 0);

} // namespace bingo

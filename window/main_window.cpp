#include "main_window.h"

#include "caption_label.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QShowEvent>

#include <limits>

namespace bingo {
namespace {

const char* const kCaption = "TavrinのBINGOマシーン";

struct FieldSpec {
    const char* name;
    TwipRect rect;
    FontSpec font;
    const char* accessibleName; // what a screen reader calls the box
};

struct ButtonSpec {
    const char* name;
    TwipRect rect;
    const char* text;
    FontSpec font;
};

constexpr QRgb kTitleBackground = qRgb(255, 192, 192);
const CaptionSpec kTitle{"Label2",
                         {120, 360, 9855, 495},
                         "TavrinのBINGOマシーンVer2.0",
                         Qt::AlignHCenter | Qt::AlignTop,
                         {"HGP創英角ﾎﾟｯﾌﾟ体", 20.25, kRegular}};
const CaptionSpec kDash{"Label1",
                        {1560, 2160, 615, 735},
                        "-",
                        Qt::AlignLeft | Qt::AlignTop,
                        {"ＭＳ Ｐゴシック", 36.0, kRegular}};

constexpr FontSpec kBoxFont{"Bookman Old Style", 72.0, kSemibold};
constexpr FieldSpec kLetterBox{"Text2", {120, 1680, 1455, 1725}, kBoxFont, "Letter box"};
constexpr FieldSpec kNumberBox{"Text1", {1920, 1680, 2055, 1755}, kBoxFont, "Number box"};

const ButtonSpec kReset{"Command1", {120, 1080, 1335, 495}, "RESET", {"Impact", 12.0, kRegular}};
const ButtonSpec kStart{
    "Command3", {120, 3600, 3855, 1095}, "START", {"HGP創英角ﾎﾟｯﾌﾟ体", 21.75, kRegular}};
const ButtonSpec kStop{
    "Command2", {120, 4920, 3855, 1095}, "STOP", {"HGP創英角ﾎﾟｯﾌﾟ体", 24.0, kRegular}};

QLineEdit* MakeField(QWidget& parent, const FieldSpec& spec) {
    auto* field = new QLineEdit(&parent);
    field->setObjectName(QString::fromLatin1(spec.name));
    field->setGeometry(ToPixels(spec.rect));
    field->setAlignment(Qt::AlignCenter);
    field->setFont(MakeFont(spec.font));
    field->setMaxLength(std::numeric_limits<int>::max());
    field->setAccessibleName(QString::fromLatin1(spec.accessibleName));
    return field;
}

QPushButton* MakeButton(QWidget& parent, const ButtonSpec& spec) {
    auto* button = new QPushButton(QString::fromUtf8(spec.text), &parent);
    button->setObjectName(QString::fromLatin1(spec.name));
    button->setGeometry(ToPixels(spec.rect));
    button->setFont(MakeFont(spec.font));
    // Enter in a field must click nothing.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// Runs before any control is made, so the fonts they are given resolve to the stand-ins.
QWidget* PrepareFonts(QWidget* parent) {
    InstallFontSubstitutes();
    return parent;
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(PrepareFonts(parent)), m_board(*this) {
    setWindowTitle(QString::fromUtf8(kCaption));
    const QRect client = ToPixels({0, 0, kClientWidthTwips, kClientHeightTwips});
    resize(client.size());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PlatformColour(SystemColour::ActiveBorder));
    setPalette(palette);
    setAutoFillBackground(true);

    MakeCaption(*this, kTitle, QColor(kTitleBackground));
    MakeCaption(*this, kDash, PlatformColour(SystemColour::ButtonFace));
    m_resetButton = MakeButton(*this, kReset);
    m_letterBox = MakeField(*this, kLetterBox);
    m_numberBox = MakeField(*this, kNumberBox);
    m_startButton = MakeButton(*this, kStart);
    m_stopButton = MakeButton(*this, kStop);

    PutLabelsUnderneath();
    SetTabOrder();
    m_resetButton->setFocus();
}

void MainWindow::PutLabelsUnderneath() {
    for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        label->lower();
    }
}

void MainWindow::SetTabOrder() {
    QWidget* previous = m_resetButton;
    const auto chain = [&previous](QWidget* next) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    chain(m_numberBox);
    chain(m_stopButton);
    chain(m_letterBox);
    for (int n = 1; n <= 75; ++n) {
        chain(m_board.Cell(n));
    }
    chain(m_startButton);
}

void MainWindow::showEvent(QShowEvent* event) {
    if (!m_loadSent && !event->spontaneous()) {
        m_loadSent = true;
        emit loaded();
    }
    QWidget::showEvent(event);
}

} // namespace bingo

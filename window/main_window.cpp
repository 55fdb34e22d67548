#include "main_window.h"

#include "caption_label.h"

#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QShowEvent>

namespace bingo {
namespace {

const char* const kCaption = "TavrinのBINGOマシーン";
#ifndef Q_OS_WIN
// The window icon's sizes, made from the program's SVG by scripts/icons.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128};
// Posted to the window after its first frame: set the icon.
constexpr QEvent::Type kLoadIcon = QEvent::User;
#endif

struct FieldLayout {
    const char* name;
    TwipRect rect;
    FontStyle font;
    const char* accessibleName; // what a screen reader calls the box
};

struct ButtonLayout {
    const char* name;
    TwipRect rect;
    const char* text;
    FontStyle font;
};

constexpr QRgb kTitleBackground = qRgb(255, 192, 192);
const CaptionLayout kTitle{"Label2",
                           {120, 360, 9855, 495},
                           "TavrinのBINGOマシーンVer2.0",
                           Qt::AlignHCenter | Qt::AlignTop,
                           {"HGP創英角ﾎﾟｯﾌﾟ体", 20.25, kRegular}};
const CaptionLayout kDash{"Label1",
                          {1560, 2160, 615, 735},
                          "-",
                          Qt::AlignLeft | Qt::AlignTop,
                          {"ＭＳ Ｐゴシック", 36.0, kRegular}};

constexpr FontStyle kBoxFont{"Bookman Old Style", 72.0, kSemibold};
constexpr FieldLayout kLetterBox{"Text2",
                                 {120, 1680, 1455, 1725},
                                 kBoxFont,
                                 QT_TRANSLATE_NOOP("bingo::MainWindow", "Letter box")};
constexpr FieldLayout kNumberBox{"Text1",
                                 {1920, 1680, 2055, 1755},
                                 kBoxFont,
                                 QT_TRANSLATE_NOOP("bingo::MainWindow", "Number box")};

const ButtonLayout kReset{"Command1", {120, 1080, 1335, 495}, "RESET", {"Impact", 12.0, kRegular}};
const ButtonLayout kStart{
    "Command3", {120, 3600, 3855, 1095}, "START", {"HGP創英角ﾎﾟｯﾌﾟ体", 21.75, kRegular}};
const ButtonLayout kStop{
    "Command2", {120, 4920, 3855, 1095}, "STOP", {"HGP創英角ﾎﾟｯﾌﾟ体", 24.0, kRegular}};

// Return, Enter and Space press the focused button once per press of the key, however long it
// is held; with Ctrl, Shift or Alt they press nothing. None of the buttons is a default button,
// so in a field they press nothing either.
//
// Qt flags a held key's repeats on X11 only when it has read both halves of the release and
// press pair that the server sends for each repeat by the time it handles the release, which a
// busy program does not always have. So a press counts as a repeat when the key is still down
// (no release came between: XKB's detectable auto-repeat, Wayland, Windows), or when it
// carries the very time of the release before it: X11 stamps both halves of a repeat with one
// time, and no person lets go of a key and presses it again within a millisecond. Events that
// programs make (tests, assistive tools) carry no time (0) and are never taken for repeats.
class PushButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!PressesButton(*event)) {
            QPushButton::keyPressEvent(event);
            return;
        }
        event->accept();
        if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            return;
        }
        const bool repeat = event->isAutoRepeat() || m_heldKey == event->key() ||
                            (event->timestamp() != 0 && event->key() == m_releasedKey &&
                             event->timestamp() == m_releasedAt);
        m_heldKey = event->key();
        if (!repeat) {
            click();
        }
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        if (!PressesButton(*event)) {
            QPushButton::keyReleaseEvent(event);
            return;
        }
        event->accept();
        if (!event->isAutoRepeat()) {
            m_heldKey = 0;
            m_releasedKey = event->key();
            m_releasedAt = event->timestamp();
        }
    }
    // A key let go of after the focus moved on is released elsewhere.
    void focusOutEvent(QFocusEvent* event) override {
        m_heldKey = 0;
        QPushButton::focusOutEvent(event);
    }

private:
    static bool PressesButton(const QKeyEvent& event) {
        return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter ||
               event.key() == Qt::Key_Space;
    }

    int m_heldKey = 0;
    int m_releasedKey = 0;
    quint64 m_releasedAt = 0;
};

// Fields keep Qt's default length limit of 32767 characters: the program never reads them,
// and a larger paste would only cost memory and time.
QLineEdit* MakeField(QWidget& parent, const FieldLayout& layout) {
    auto* field = new QLineEdit(&parent);
    field->setObjectName(QString::fromLatin1(layout.name));
    field->setGeometry(ToPixels(layout.rect));
    field->setAlignment(Qt::AlignCenter);
    field->setFont(MakeFont(layout.font));
    field->setAccessibleName(
        QCoreApplication::translate("bingo::MainWindow", layout.accessibleName));
    return field;
}

QPushButton* MakeButton(QWidget& parent, const ButtonLayout& layout) {
    auto* button = new PushButton(QString::fromUtf8(layout.text), &parent);
    button->setObjectName(QString::fromLatin1(layout.name));
    button->setGeometry(ToPixels(layout.rect));
    button->setFont(MakeFont(layout.font));
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// Runs before any control is made, so the fonts they are given resolve to the stand-ins and
// a screen reader meets each control through the program's own interfaces from the start.
QWidget* PrepareControls(QWidget* parent) {
    InstallFontSubstitutes();
    InstallAccessibility();
    return parent;
}

QString LetterText(std::string_view letter) {
    return QString::fromLatin1(letter.data(), static_cast<qsizetype>(letter.size()));
}

// Letter and number as the boxes show them: "O 74".
QString CallText(int number, const std::optional<std::string_view>& letter) {
    const QString digits = QString::number(number);
    return letter ? LetterText(*letter) + QLatin1Char(' ') + digits : digits;
}

} // namespace

MainWindow::MainWindow(RandomSource& source, QWidget* parent)
    : QWidget(PrepareControls(parent)), m_board(*this), m_announcer(*this),
      m_controller(new CallerController(*this, source, this)) {
    setWindowTitle(QString::fromUtf8(kCaption));
    const QRect client = ToPixels({0, 0, kClientWidthTwips, kClientHeightTwips});
    resize(client.size());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PlatformColour(SystemColour::ActiveBorder));
    setPalette(palette);
    setAutoFillBackground(true);

    MakeCaption(*this, kTitle, QColor(kTitleBackground), QColor(kFixedText));
    MakeCaption(*this, kDash, PlatformColour(SystemColour::ButtonFace),
                PlatformColour(SystemColour::ButtonText));
    QPushButton* reset = MakeButton(*this, kReset);
    m_letterBox = MakeField(*this, kLetterBox);
    m_numberBox = MakeField(*this, kNumberBox);
    QPushButton* start = MakeButton(*this, kStart);
    QPushButton* stop = MakeButton(*this, kStop);

    connect(reset, &QPushButton::clicked, m_controller, &CallerController::NewGame);
    connect(start, &QPushButton::clicked, m_controller, &CallerController::Start);
    connect(stop, &QPushButton::clicked, m_controller, &CallerController::Stop);

    PutLabelsUnderneath();
    SetTabOrder(reset, stop, start);
    // The boxes are empty until the first call; a cell is only if its user empties it.
    NameWhenEmptyOnFocus(*m_numberBox);
    NameWhenEmptyOnFocus(*m_letterBox);
    reset->setFocus();
}

void MainWindow::ShowCall(int number, const std::optional<std::string_view>& letter) {
    m_numberBox->setText(QString::number(number));
    if (letter) {
        m_letterBox->setText(LetterText(*letter));
    }
}

void MainWindow::MarkCalled(int number) {
    m_board.MarkCell(number);
}

void MainWindow::ClearBoard() {
    m_board.ClearBoard();
}

void MainWindow::AnnounceCall(int number, const std::optional<std::string_view>& letter) {
    m_announcer.Say(CallText(number, letter));
}

void MainWindow::AnnounceNewGame() {
    m_announcer.Say(tr("New game"));
}

void MainWindow::AnnounceAllCalled() {
    m_announcer.Say(tr("All 75 numbers have been called"));
}

void MainWindow::PutLabelsUnderneath() {
    for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        label->lower();
    }
}

void MainWindow::SetTabOrder(QWidget* reset, QWidget* stop, QWidget* start) {
    QWidget* previous = reset;
    const auto chain = [&previous](QWidget* next) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    chain(m_numberBox);
    chain(stop);
    chain(m_letterBox);
    for (int n = 1; n <= kBallCount; ++n) {
        chain(m_board.Cell(n));
    }
    chain(start);
}

// Decoding the icon's pictures takes as long as a tenth of the start-up and nothing of it is
// needed to show the window, so the icon follows the first frame. Windows takes the
// executable's icon resource instead.
void MainWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
#ifndef Q_OS_WIN
    if (!m_iconAsked) {
        m_iconAsked = true;
        // An event rather than a queued call: clang's analyzer takes the slot object that Qt's
        // inline invokeMethod hands over for a leak.
        QCoreApplication::postEvent(this, new QEvent(kLoadIcon));
    }
#endif
}

void MainWindow::customEvent(QEvent* event) {
#ifndef Q_OS_WIN
    if (event->type() == kLoadIcon) {
        QIcon icon;
        for (int size : kIconSizes) {
            icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
        }
        setWindowIcon(icon);
        return;
    }
#endif
    QWidget::customEvent(event);
}

// The load: once, after every control exists and before the window is first seen.
void MainWindow::showEvent(QShowEvent* event) {
    if (!m_loaded && !event->spontaneous()) {
        m_loaded = true;
        m_controller->Reset();
    }
    QWidget::showEvent(event);
}

} // namespace bingo

#include "main_window.moc"

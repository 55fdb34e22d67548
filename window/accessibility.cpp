#include "accessibility.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>

namespace bingo {
namespace {

// A text field as Qt's own interface presents it, but for the attribute run: Qt 6.4 reports
// an empty run at the offset asked about, from which Orca rebuilds the line one character
// short ("23" heard as "2"). A field has no attributes, so its one run is the whole text.
class FieldAccessible : public QAccessibleWidget,
                        public QAccessibleTextInterface,
                        public QAccessibleEditableTextInterface {
public:
    explicit FieldAccessible(QLineEdit* field)
        : QAccessibleWidget(field, QAccessible::EditableText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return Field()->text();
        }
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t == QAccessible::Value) {
            Field()->setText(text);
        } else {
            QAccessibleWidget::setText(t, text);
        }
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.readOnly = Field()->isReadOnly();
        state.selectableText = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (type == QAccessible::EditableTextInterface) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && Field()->hasSelectedText()) {
            *startOffset = Field()->selectionStart();
            *endOffset = *startOffset + int(Field()->selectedText().size());
        }
    }
    int selectionCount() const override { return Field()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0) {
            Field()->deselect();
        }
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex == 0) {
            Field()->setSelection(startOffset, endOffset - startOffset);
        }
    }
    int cursorPosition() const override { return Field()->cursorPosition(); }
    void setCursorPosition(int position) override { Field()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override {
        if (startOffset > endOffset) {
            return {};
        }
        return Field()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(Field()->text().size()); }
    // Qt keeps where a field draws its text to itself; text that fits stands in the field's
    // inner rectangle as its alignment says, which is where this puts it.
    QRect characterRect(int offset) const override {
        const QLineEdit* field = Field();
        const QString all = field->text();
        if (offset < 0 || offset >= all.size()) {
            return {};
        }
        const QFontMetrics metrics(field->font());
        const QRect area = field->contentsRect().marginsRemoved(field->textMargins());
        const QRect line =
            QStyle::alignedRect(field->layoutDirection(), field->alignment(),
                                QSize(metrics.horizontalAdvance(all), metrics.height()), area);
        const QRect glyph(line.left() + metrics.horizontalAdvance(all.left(offset)), line.top(),
                          metrics.horizontalAdvance(all.mid(offset, 1)), line.height());
        return {field->mapToGlobal(glyph.topLeft()), glyph.size()};
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Field()->cursorPositionAt(Field()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        Field()->setCursorPosition(endIndex);
        Field()->setCursorPosition(startIndex);
    }
    // -2 asks about the cursor's place.
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                             int* endOffset) const override {
        return QAccessibleTextInterface::textBeforeOffset(At(offset), type, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                            int* endOffset) const override {
        return QAccessibleTextInterface::textAfterOffset(At(offset), type, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                         int* endOffset) const override {
        return QAccessibleTextInterface::textAtOffset(At(offset), type, startOffset, endOffset);
    }

    void deleteText(int startOffset, int endOffset) override {
        replaceText(startOffset, endOffset, {});
    }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        Field()->setText(Field()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    QLineEdit* Field() const { return static_cast<QLineEdit*>(widget()); }
    int At(int offset) const { return offset == -2 ? cursorPosition() : offset; }
};

constexpr const char* kNoticeName = "announcement";

QAccessibleInterface* MakeInterface(const QString& key, QObject* object) {
    if (key == QLatin1String("QLineEdit")) {
        // Hidden text (passwords) keeps Qt's own interface; the window has none.
        auto* field = static_cast<QLineEdit*>(object);
        return field->echoMode() == QLineEdit::Normal ? new FieldAccessible(field) : nullptr;
    }
    if (key == QLatin1String("QWidget") && object->objectName() == QLatin1String(kNoticeName)) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    }
    return nullptr;
}

// Tab into a field makes Qt select all of its text before it tells of the focus. Selecting an
// empty text still reports a selection and a caret move, on which Orca moves its focus to the
// field quietly, so that the focus that follows finds nothing new to say and the field is never
// named. An empty field has nothing to select: it gets the focus as if from no key at all.
class EmptyFieldFocus : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::FocusIn) {
            return false;
        }
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        auto* field = static_cast<QLineEdit*>(watched);
        if (!field->text().isEmpty() ||
            (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
             reason != Qt::ShortcutFocusReason)) {
            return false;
        }
        QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(field, &plain);
        return true;
    }
};

} // namespace

void NameWhenEmptyOnFocus(QWidget& field) {
    field.installEventFilter(new EmptyFieldFocus(&field));
}

void InstallAccessibility() {
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(MakeInterface);
        return true;
    }();
}

// Qt 6.8 has an event made for this, which the Linux bridge sends as an AT-SPI announcement
// and the Windows one as a UI Automation notification. Qt 6.4 has none, and a screen reader
// speaks only the focused object's changes, while the focus stays on STOP. What Orca does
// speak, whatever has the focus, is an object of the notification role that becomes showing:
// so before Qt 6.8 the news is the name of an empty widget of no size, and each time its
// showing is told anew (hiding and showing it for real would cost a walk of the window for
// the mouse each time). It draws nothing and takes no focus.
Announcer::Announcer(QWidget& window) : m_window(window) {
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    m_notice = new QWidget(&window);
    m_notice->setObjectName(QLatin1String(kNoticeName));
    m_notice->setGeometry(0, 0, 0, 0);
    m_notice->setAttribute(Qt::WA_TransparentForMouseEvents);
#endif
}

void Announcer::Say(const QString& text) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Polite: a reader queues the call after what it is saying, the pressed button's own
    // echo among it, and cuts neither off (UI Automation's "all" processing, AT-SPI's polite
    // live region). An assertive one would cut the echo off, and a quick caller's calls
    // each other.
    QAccessibleAnnouncementEvent event(&m_window, text);
    event.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&event);
#else
    m_notice->setAccessibleName(text);
    QAccessibleEvent event(m_notice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&event);
#endif
}

} // namespace bingo

#include "accessibility.moc"

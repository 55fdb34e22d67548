#pragma once

// What a screen reader gets beyond Qt's own accessibility. The window installs it before it
// makes any control: every text field then reports its text as one attribute run, so that a
// reader speaks the field whole on focus. Through an Announcer the controller's news (a call,
// a new game) reaches the reader whatever has the focus, without anything being drawn or
// taking the focus. A box that Tab reaches empty is named like any other field.

#include <QString>

class QWidget;

namespace bingo {

// Installs the accessibility interfaces of this program once per process; safe to call again.
void InstallAccessibility();

// Has a screen reader name `field` when Tab brings the focus to it empty.
void NameWhenEmptyOnFocus(QWidget& field);

class Announcer {
public:
    explicit Announcer(QWidget& window);

    // Has assistive technology say `text` now, once.
    void Say(const QString& text);

private:
    QWidget& m_window;
    QWidget* m_notice = nullptr; // Qt before 6.8: the object whose showing is the news
};

} // namespace bingo

#pragma once

// A caller window as the program builds it, over a counting copy of the program's stream, and
// ways to drive it and read what it shows through Qt's object tree only.

#include "caller_controller.h"
#include "helpers.h"
#include "layout_tables.h"
#include "main_window.h"
#include "sources.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTimerEvent>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

namespace bingo::testing {

// Replaces a field's whole text as a person does: select all, then paste `text` from the
// clipboard, or type it.
inline void Replace(QLineEdit* field, const QString& text, bool paste = true) {
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (paste) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    } else {
        QTest::keyClicks(field, text);
    }
}

inline QColor CellColour(const QLineEdit* cell) {
    return cell->palette().color(QPalette::Base);
}

struct CallerWindow {
    explicit CallerWindow(
        std::unique_ptr<CountingSource> stream = std::make_unique<CountingSource>())
        : source(std::move(stream)), window(std::make_unique<MainWindow>(*source)) {}

    // Shows the window and waits until it is on screen; false if it never is.
    bool Show() const {
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    QWidget* Control(const char* name) const {
        return window->findChild<QWidget*>(QString::fromLatin1(name));
    }
    QPushButton* Button(const char* name) const {
        return window->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QLineEdit* Field(const char* name) const {
        return window->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QTimer* Timer() const { return window->findChild<QTimer*>(QStringLiteral("Timer1")); }
    const CallDeck& Deck() const { return window->findChild<CallerController*>()->Deck(); }
    std::uint64_t Consumed() const { return source->Consumed(); }

    // Cells by their index property, 1..75; nullptr where none carries the index.
    QLineEdit* Cell(int n) const {
        for (QLineEdit* cell : window->findChildren<QLineEdit*>(QStringLiteral("Text3"))) {
            if (cell->property("index").toInt() == n) {
                return cell;
            }
        }
        return nullptr;
    }

    std::vector<int> RedCells() const {
        std::vector<int> red;
        for (QLineEdit* cell : window->findChildren<QLineEdit*>(QStringLiteral("Text3"))) {
            if (CellColour(cell) == QColor(kCalledRed)) {
                red.push_back(cell->property("index").toInt());
            }
        }
        std::sort(red.begin(), red.end());
        return red;
    }

    bool AllCellsWhite() const {
        for (int n = 1; n <= 75; ++n) {
            if (CellColour(Cell(n)) != QColor(kWhite)) {
                return false;
            }
        }
        return true;
    }

    void Click(const char* button) const { QTest::mouseClick(Button(button), Qt::LeftButton); }

    // One tick of a running roll timer, delivered as the event loop would deliver it.
    void Tick() const {
        QTimerEvent event(Timer()->timerId());
        QCoreApplication::sendEvent(Timer(), &event);
    }

    QString Number() const { return Field("Text1")->text(); }
    QString Letter() const { return Field("Text2")->text(); }

    std::unique_ptr<CountingSource> source; // outlives the window that draws from it
    std::unique_ptr<MainWindow> window;
};

} // namespace bingo::testing

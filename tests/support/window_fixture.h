#pragma once

// A caller window with its controller, built as the program builds it, and ways to read what
// it shows through Qt's object tree only.

#include "caller_controller.h"
#include "main_window.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTimerEvent>
#include <QtTest>

#include <memory>
#include <vector>

namespace bingo::testing {

inline QColor CellColour(const QLineEdit* cell) {
    return cell->palette().color(QPalette::Base);
}

struct CallerWindow {
    explicit CallerWindow(RandomSource& source)
        : window(std::make_unique<MainWindow>()), controller(*window, source) {}

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
            if (CellColour(cell) == QColor(255, 128, 128)) {
                red.push_back(cell->property("index").toInt());
            }
        }
        std::sort(red.begin(), red.end());
        return red;
    }

    bool AllCellsWhite() const {
        for (int n = 1; n <= 75; ++n) {
            if (CellColour(Cell(n)) != QColor(255, 255, 255)) {
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

    std::unique_ptr<MainWindow> window;
    CallerController controller;
};

} // namespace bingo::testing

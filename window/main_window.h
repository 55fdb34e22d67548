#pragma once

// The caller's one window: the title strip, the RESET, START and STOP buttons, the letter box
// and number box, the dash between them, and the number board, all at fixed places. The window
// only shows: it emits loaded() once, just before it is first shown, and hands its controls to
// the controller, which writes the boxes and the board and listens to the buttons.

#include "number_board.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QShowEvent;

namespace bingo {

inline constexpr int kClientWidthTwips = 10245;
inline constexpr int kClientHeightTwips = 6495;

class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    QLineEdit& NumberBox() const { return *m_numberBox; }
    QLineEdit& LetterBox() const { return *m_letterBox; }
    QPushButton& ResetButton() const { return *m_resetButton; }
    QPushButton& StartButton() const { return *m_startButton; }
    QPushButton& StopButton() const { return *m_stopButton; }
    NumberBoard& Board() { return m_board; }

signals:
    // Once, after every control exists and before the window is first seen.
    void loaded();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetTabOrder();
    void PutLabelsUnderneath();

    QLineEdit* m_numberBox = nullptr;
    QLineEdit* m_letterBox = nullptr;
    QPushButton* m_resetButton = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    NumberBoard m_board;
    bool m_loadSent = false;
};

} // namespace bingo

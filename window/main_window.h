#pragma once

// The caller's one window: the title strip, the RESET, START and STOP buttons, the letter box
// and number box, the dash between them, and the number board, all at fixed places. The window
// only shows. It makes the controller that plays the game, hands it each button's click and,
// just before the window is first shown, the load; the controller answers through the
// CallDisplay calls, which write the boxes, mark the board and tell a screen reader the news.

#include "accessibility.h"
#include "caller_controller.h"
#include "number_board.h"

#include <QWidget>

class QLineEdit;
class QShowEvent;

namespace bingo {

inline constexpr int kClientWidthTwips = 10245;
inline constexpr int kClientHeightTwips = 6495;

class MainWindow : public QWidget, public CallDisplay {
    Q_OBJECT

public:
    explicit MainWindow(RandomSource& source, QWidget* parent = nullptr);

    void ShowCall(int number, const std::optional<std::string_view>& letter) override;
    void MarkCalled(int number) override;
    void ClearBoard() override;
    void AnnounceCall(int number, const std::optional<std::string_view>& letter) override;
    void AnnounceNewGame() override;
    void AnnounceAllCalled() override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    void SetTabOrder(QWidget* reset, QWidget* stop, QWidget* start);
    void PutLabelsUnderneath();

    QLineEdit* m_numberBox = nullptr;
    QLineEdit* m_letterBox = nullptr;
    NumberBoard m_board;
    Announcer m_announcer;
    CallerController* m_controller = nullptr;
    bool m_loaded = false;
    bool m_iconAsked = false;
};

} // namespace bingo

#pragma once

#include "table/computer_player.h"

#include <QMainWindow>

class BoardView;
class QAction;
class QPushButton;
class PlayerHost;
class StatusStrip;

// The program's one window: the table, the menu and the status strip, wired
// to the game through the player's host.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(PlayerHost& host);

    QAction* hostAction() const { return hostAction_; }
    QAction* joinAction() const { return joinAction_; }
    QAction* pingAction() const { return pingAction_; }
    QAction* practiceAction(ComputerSpeed speed) const { return speedActions_[static_cast<int>(speed)]; }
    QAction* stopPracticeAction() const { return stopPracticeAction_; }
    QAction* practiceMenuAction() const { return practiceMenuAction_; }
    QPushButton* readyButton() const { return readyButton_; }
    StatusStrip* statusStrip() const { return statusStrip_; }
    BoardView* boardView() const { return boardView_; }

signals:
    void readyPressed();

private:
    void BuildMenu();
    void ConnectToGame();
    void OpenInstructions();
    void ShowReadyButton(bool shown);
    void UpdateTitle();

    PlayerHost& host_;
    // What the window is for just now: the title and menu follow it.
    enum class Mode { Idle, Hosting, Joined, Practice };
    Mode mode_ = Mode::Idle;
    BoardView* boardView_ = nullptr;
    StatusStrip* statusStrip_ = nullptr;
    QPushButton* readyButton_ = nullptr;
    QAction* hostAction_ = nullptr;
    QAction* joinAction_ = nullptr;
    QAction* pingAction_ = nullptr;
    QAction* practiceMenuAction_ = nullptr;
    QAction* speedActions_[3]{};
    QAction* stopPracticeAction_ = nullptr;
};

#pragma once

#include "net/connection.h"
#include "shell/board_renderer.h"
#include "table/game.h"
#include "table/platform.h"

#include <QMainWindow>
#include <QTimer>

#include <memory>
#include <string>

class BoardView;
class QAction;
class QPushButton;
class SoundPlayer;
class StatusStrip;

// The program's one window: the table, the menu, the status strip, and the
// world as the game logic sees it.
class MainWindow : public QMainWindow, public Platform {
    Q_OBJECT
public:
    explicit MainWindow(std::uint16_t port = kGamePort);
    ~MainWindow() override;

    Game& game() { return game_; }
    Connection& connection() { return connection_; }
    const BoardRenderer& renderer() const { return renderer_; }
    QAction* hostAction() const { return hostAction_; }
    QAction* joinAction() const { return joinAction_; }
    QAction* pingAction() const { return pingAction_; }
    QPushButton* readyButton() const { return readyButton_; }
    StatusStrip* statusStrip() const { return statusStrip_; }
    BoardView* boardView() const { return boardView_; }

    void OpenJoinDialog();
    void OpenInstructions();

    bool HasDataConnection() const override;
    void SendBytes(const std::uint8_t* bytes, int count) override;
    int ReceiveBytes(std::uint8_t* into, int capacity) override;
    void ClearBackBuffer() override;
    void DrawTableCards(const Table& table) override;
    void DrawLargeText(int x, int y, std::string_view text) override;
    void InvalidateMainWindow() override;
    void InvalidateStatusWindow(bool erase) override;
    void CreateReadyButton() override;
    void DestroyReadyButton() override;
    void ShowMessageBox(BoxOwner owner, std::string_view text, std::string_view caption, BoxIcon icon) override;
    bool AskYesNo(std::string_view text, std::string_view caption) override;
    void CloseProgram() override;
    void StartTimer(TimerId timer) override;
    void KillTimer(TimerId timer) override;
    void PumpMessages() override;
    void PlaySoundClip(unsigned index) override;
    void DebugOutput(std::string_view line) override;
    std::chrono::steady_clock::time_point Now() const override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    QTimer& TimerFor(TimerId timer);

    Game game_;
    BoardRenderer renderer_;
    Connection connection_;
    BoardView* boardView_ = nullptr;
    StatusStrip* statusStrip_ = nullptr;
    QPushButton* readyButton_ = nullptr;
    QAction* hostAction_ = nullptr;
    QAction* joinAction_ = nullptr;
    QAction* pingAction_ = nullptr;
    QTimer timers_[4];  // by TimerId, from 1
    std::unique_ptr<SoundPlayer> sound_;
    std::string pendingTrace_;
};

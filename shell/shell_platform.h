#pragma once

#include "net/link.h"
#include "shell/board_renderer.h"
#include "shell/connection.h"
#include "shell/game_timers.h"
#include "shell/sound_player.h"
#include "table/computer_player.h"
#include "table/game.h"
#include "table/platform.h"

#include <QObject>

#include <memory>
#include <string>

class Practice;
class QWidget;

// The world as the game logic sees it, made of Qt: the connection, the back
// buffer, the timers, sound and the trace. What concerns the window is
// announced by signals; the window wires them to its widgets.
class ShellPlatform : public QObject, public Platform {
    Q_OBJECT
public:
    // Tests pass a port of their own; the program always plays on 418.
    explicit ShellPlatform(std::uint16_t port = kGamePort);
    ~ShellPlatform() override;

    Game& game() { return game_; }
    Link& link() { return link_; }
    Connection& connection() { return connection_; }
    // The bytes go over the connection, or over a practice game's link.
    void UseWire(Wire& wire) { wire_ = &wire; }
    void UseConnection() { wire_ = &connection_; }

    void StartPractice(ComputerSpeed speed);
    void StopPractice();
    bool Practising() const { return practice_ != nullptr; }
    const BoardRenderer& renderer() const { return renderer_; }
    // The owners of the message boxes; the connection closes with the main window.
    void SetWindows(QWidget* mainWindow, QWidget* statusWindow);

    bool HasDataConnection() const override;
    void SendBytes(const std::uint8_t* bytes, int count) override;
    int ReceiveBytes(std::uint8_t* into, int capacity) override;
    void ClearBackBuffer() override;
    void DrawTableCards(const Table& table) override;
    void DrawLargeText(int x, int y, std::string_view text) override;
    void DrawHint(std::string_view text) override { renderer_.DrawHint(text); }
    void InvalidateMainWindow() override;
    void InvalidateStatusWindow(bool erase) override;
    void CreateReadyButton() override;
    void DestroyReadyButton() override;
    void ShowMessageBox(BoxOwner owner, std::string_view text, std::string_view caption, BoxIcon icon) override;
    void AskToPlayAgain(std::string_view text, std::string_view caption) override;
    void CloseProgram() override;
    void StartTimer(TimerId timer) override;
    void StopTimer(TimerId timer) override;
    void PumpMessages() override;
    void PlaySoundClip(SoundClip clip) override;
    bool DebugOutputEnabled() const override;
    void DebugOutput(std::string_view line) override;
    std::chrono::steady_clock::time_point Now() const override;
    void ShowScore(const Score&) override { emit scoreChanged(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void mainWindowInvalidated();
    void statusWindowInvalidated();
    void readyButtonWanted(bool shown);
    void closeRequested();
    void practiceChanged(bool practising);
    void scoreChanged();

private:
    Game game_{*this};
    Link link_{game_};
    BoardRenderer renderer_;
    Connection connection_;
    Wire* wire_ = &connection_;
    std::unique_ptr<Practice> practice_;
    SoundPlayer sound_;
    GameTimers timers_{game_};
    QWidget* mainWindow_ = nullptr;
    QWidget* statusWindow_ = nullptr;
    std::string pendingTrace_;
};

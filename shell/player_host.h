#pragma once

#include "shell/board_renderer.h"
#include "shell/connection.h"
#include "shell/game_host.h"
#include "shell/message_boxes.h"
#include "shell/sound_player.h"

#include <memory>
#include <string>

class Practice;
class QWidget;

// The player's copy of the game: a game host with the window in front. It
// draws the view into the back buffer, keeps the connection and a practice
// game, plays the sounds and writes the trace. What concerns the window is
// announced by signals; the window wires them to its widgets. The boxes are
// virtual so that a recording copy can write them down instead.
class PlayerHost : public GameHost {
    Q_OBJECT
public:
    // Tests pass a port of their own; the program always plays on 418.
    explicit PlayerHost(std::uint16_t port = kGamePort);
    ~PlayerHost() override;

    Connection& connection() { return connection_; }
    // The bytes go over the connection, or (UseWire) over a practice game's link.
    void UseConnection() { UseWire(connection_); }

    void StartPractice(ComputerSpeed speed);
    void StopPractice();
    bool Practising() const { return practice_ != nullptr; }
    const BoardRenderer& renderer() const { return renderer_; }
    // The owners of the message boxes; the connection closes with the main window.
    void SetWindows(QWidget* mainWindow, QWidget* statusWindow);

    void Show(ViewPart part) override;
    void Tell(Notice notice) override;
    void PlaySoundClip(SoundClip clip) override;
    bool DebugOutputEnabled() const override;
    void DebugOutput(std::string_view line) override;

    virtual void ShowMessageBox(BoxOwner owner, std::string_view text, std::string_view caption, BoxIcon icon);
    // The loser's question; its answer goes to the game.
    virtual void AskToPlayAgain(std::string_view text, std::string_view caption);
    virtual void CloseProgram();

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
    BoardRenderer renderer_;
    Connection connection_;
    std::unique_ptr<Practice> practice_;
    SoundPlayer sound_;
    QWidget* mainWindow_ = nullptr;
    QWidget* statusWindow_ = nullptr;
    std::string pendingTrace_;
};

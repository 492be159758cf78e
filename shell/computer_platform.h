#pragma once

#include "net/link.h"
#include "shell/game_timers.h"
#include "shell/wire.h"
#include "table/computer_player.h"
#include "table/game.h"
#include "table/platform.h"

#include <QObject>
#include <QTimer>

// The computer's copy of the game in a practice game: no screen, no boxes, its
// own timers, and a player who clicks at its speed, presses ready as soon as
// the opponent has and always wants another hand.
class ComputerPlatform : public QObject, public Platform {
    Q_OBJECT
public:
    ComputerPlatform(ComputerSpeed speed, std::uint32_t seed);

    Game& game() { return game_; }
    Link& link() { return link_; }
    void UseWire(Wire& wire) { wire_ = &wire; }

    bool HasDataConnection() const override { return wire_ != nullptr; }
    void SendBytes(const std::uint8_t* bytes, int count) override { wire_->Send(bytes, count); }
    int ReceiveBytes(std::uint8_t* into, int capacity) override { return wire_->Receive(into, capacity); }
    void ClearBackBuffer() override {}
    void DrawTableCards(const Table&) override {}
    void DrawLargeText(int, int, std::string_view) override {}
    void InvalidateMainWindow() override {}
    void InvalidateStatusWindow(bool) override {}
    bool ShowsStatusStrip() const override { return false; }
    void CreateReadyButton() override { readyButton_ = true; }
    void DestroyReadyButton() override { readyButton_ = false; }
    void ShowMessageBox(BoxOwner, std::string_view, std::string_view, BoxIcon) override {}
    void AskToPlayAgain(std::string_view, std::string_view) override {}  // its player answers
    void CloseProgram() override {}
    void StartTimer(TimerId timer) override;
    void StopTimer(TimerId timer) override;
    void PumpMessages() override {}
    void PlaySoundClip(SoundClip) override {}
    bool DebugOutputEnabled() const override { return false; }
    void DebugOutput(std::string_view) override {}
    std::chrono::steady_clock::time_point Now() const override { return std::chrono::steady_clock::now(); }

private:
    void Think();

    Game game_{*this};
    Link link_{game_};
    ComputerPlayer player_;
    Wire* wire_ = nullptr;
    bool readyButton_ = false;
    GameTimers timers_{game_};
    QTimer thinking_;
};

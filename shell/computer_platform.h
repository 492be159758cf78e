#pragma once

#include "net/link.h"
#include "net/wire.h"
#include "shell/game_timers.h"
#include "table/computer_player.h"
#include "table/game.h"
#include "table/platform.h"

#include <QObject>
#include <QTimer>

// The computer's copy of the game in a practice game: nothing shown, no
// sound, its own timers, and the computer's hand looking at it often.
class ComputerPlatform : public QObject, public Platform {
    Q_OBJECT
public:
    ComputerPlatform(ComputerSpeed speed, std::uint32_t seed);

    Game& game() { return game_; }
    Link& link() { return link_; }
    void UseWire(Wire& wire) { link_.wire = &wire; }

    void Show(ViewPart) override {}
    void Tell(Notice) override {}
    void StartTimer(TimerId timer) override;
    void StopTimer(TimerId timer) override;
    std::chrono::steady_clock::time_point Now() const override { return std::chrono::steady_clock::now(); }
    void PlaySoundClip(SoundClip) override {}
    bool DebugOutputEnabled() const override { return false; }
    void DebugOutput(std::string_view) override {}

private:
    Game game_{*this};
    Link link_{game_};
    ComputerPlayer player_;
    GameTimers timers_{game_};
    QTimer thinking_;
};

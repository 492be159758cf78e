#pragma once

#include "net/link.h"
#include "net/wire.h"
#include "shell/game_timers.h"
#include "table/computer_player.h"
#include "table/game.h"
#include "table/platform.h"

#include <QObject>
#include <QTimer>

#include <optional>

// One copy of the game in the program, with its link and its timers on the
// clock. On its own it shows nothing, plays no sound and writes no trace: the
// computer's copy in a practice game is just that, with the computer's hand
// on it. The player's copy is the same with a window in front (PlayerHost).
class GameHost : public QObject, public Platform {
    Q_OBJECT
public:
    GameHost();

    Game& game() { return game_; }
    Link& link() { return link_; }
    void UseWire(Wire& wire) { link_.wire = &wire; }
    // The computer plays this copy, looking at the table every few hundredths of a second.
    void LetComputerPlay(ComputerSpeed speed, std::uint32_t seed);

    void Show(ViewPart) override {}
    void Tell(Notice) override {}
    void StartTimer(TimerId timer) override;
    void StopTimer(TimerId timer) override;
    std::chrono::steady_clock::time_point Now() const override;
    void PlaySoundClip(SoundClip) override {}
    bool DebugOutputEnabled() const override { return false; }
    void DebugOutput(std::string_view) override {}

protected:
    Game game_{*this};
    Link link_{game_};

private:
    GameTimers timers_{game_};
    std::optional<ComputerPlayer> computer_;
    QTimer glances_;
};

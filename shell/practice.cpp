#include "shell/practice.h"

#include "net/protocol.h"
#include "net/status.h"
#include "table/hand_flow.h"

#include <chrono>
#include <string>

const char* SpeedName(ComputerSpeed speed)
{
    switch (speed) {
    case ComputerSpeed::Easy: return "Easy";
    case ComputerSpeed::Normal: return "Normal";
    case ComputerSpeed::Hard: return "Hard";
    }
    return "";
}

Practice::Practice(GameHost& player, ComputerSpeed speed)
    : player_(player), link_(player.link(), computer_.link()), statusBefore_(player.link().status)
{
    Game& game = player_.game();
    computer_.LetComputerPlay(speed, static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    TakeRole(computer_.game(), Role::Server);
    computer_.UseWire(link_.SecondEnd());
    TakeRole(game, Role::Client);
    const std::string line = std::string("Practice against the computer (") + SpeedName(speed) + ")";
    SetStatus(player_.link(), line.c_str(), "");
    for (Game* copy : {&game, &computer_.game()})
        SeatOpponent(*copy);
}

Practice::~Practice()
{
    Game& game = player_.game();
    ClearTable(game);
    ForgetHeldBytes(player_.link());
    player_.link().status = statusBefore_;
    game.platform.Show(ViewPart::StatusLines);
}

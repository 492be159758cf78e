#pragma once

#include "net/status_texts.h"
#include "shell/game_host.h"
#include "shell/memory_link.h"

// A hand against the computer: its copy of the game is the server and deals;
// the two copies speak the game's messages over an in-memory link, so no port
// is opened. Ends, and clears the table, when it goes. The player's copy uses
// PlayerEnd for its bytes while the practice lasts.
class Practice {
public:
    Practice(GameHost& player, ComputerSpeed speed);
    ~Practice();
    Practice(const Practice&) = delete;
    Practice& operator=(const Practice&) = delete;

    Wire& PlayerEnd() { return link_.FirstEnd(); }

private:
    GameHost& player_;
    GameHost computer_;
    MemoryLink link_;
    StatusTexts statusBefore_;
};

const char* SpeedName(ComputerSpeed speed);

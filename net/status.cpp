#include "net/status.h"

#include "table/game.h"

#include <cstdio>

void SetStatus(Game& game, const char* line1, const char* line2)
{
    // Longer texts are cut to the line's capacity.
    if (line1)
        std::snprintf(game.status.statusLine1, sizeof game.status.statusLine1, "%s", line1);
    if (line2)
        std::snprintf(game.status.statusLine2, sizeof game.status.statusLine2, "%s", line2);
    game.platform.InvalidateStatusWindow(false);
}

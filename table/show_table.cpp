#include "table/show_table.h"

#include "table/game.h"

void ShowTable(Game& game)
{
    // A late snapshot or move may still arrive between hands; it must not
    // cover what the end of the hand or the ready handshake shows.
    if (game.table.handInProgress)
        game.platform.Show(ViewPart::Board);
}

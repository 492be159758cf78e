#pragma once

struct Game;

// During a hand the table changed: the front shows the board again. Between
// hands the last picture of the hand or the handshake stays.
void ShowTable(Game& game);

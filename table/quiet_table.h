#pragma once

struct Game;

// Server: whatever put the two tables out of step, a hand in which nobody has
// moved for a while gets the server's table sent again, so it cannot hang.
void RestartQuietWatch(Game& game);
void QuietTableTick(Game& game);

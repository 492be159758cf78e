#pragma once

struct Game;

// During a hand: redraws the whole table into the back buffer, records the
// rectangles of the piles and asks for a repaint. Between hands it draws nothing.
void PaintTable(Game& game);

#pragma once

struct Game;

// Redraws the whole table into the back buffer and, during a hand, records
// the rectangles of the piles and asks for a repaint.
void PaintTable(Game& game);

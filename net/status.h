#pragma once

struct Game;

// Replaces the given status lines (nullptr keeps a line) and repaints the strip.
void SetStatus(Game& game, const char* line1, const char* line2);

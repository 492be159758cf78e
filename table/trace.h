#pragma once

struct Game;

// One formatted line to the debug output, as printf formats it.
void Trace(Game& game, const char* format, ...) __attribute__((format(printf, 2, 3)));

#pragma once

struct Game;

#if defined(__GNUC__)
#define FLINTHAND_PRINTF_FORMAT __attribute__((format(printf, 2, 3)))
#else
#define FLINTHAND_PRINTF_FORMAT
#endif

// One formatted line to the debug output, as printf formats it.
void Trace(Game& game, const char* format, ...) FLINTHAND_PRINTF_FORMAT;

#include "table/trace.h"

#include "table/game.h"

#include <cstdarg>
#include <cstdio>

void Trace(Game& game, const char* format, ...)
{
    if (!game.platform.DebugOutputEnabled())
        return;
    char line[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    game.platform.DebugOutput(line);
}

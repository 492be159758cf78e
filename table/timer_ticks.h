#pragma once

#include "table/platform.h"

struct Game;

// Where every tick of a running timer goes; the program, the tests and the
// fuzzer all pass their ticks through here.
void OnTimer(Game& game, TimerId timer);

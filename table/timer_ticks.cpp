#include "table/timer_ticks.h"

#include "table/deal.h"
#include "table/flip_countdown.h"
#include "table/hand_flow.h"
#include "table/quiet_table.h"
#include "table/stall_hint.h"

void OnTimer(Game& game, TimerId timer)
{
    switch (timer) {
    case TimerId::FlipCountdown: FlipCountdownTick(game); break;
    case TimerId::StartCountdown: StartCountdownTick(game); break;
    case TimerId::TieDisplay: TieDisplayTick(game); break;
    case TimerId::QuietTable: QuietTableTick(game); break;
    case TimerId::StallHint: StallHintTick(game); break;
    }
}

#include "shell/game_timers.h"

#include "table/timer_ticks.h"

GameTimers::GameTimers(Game& game)
{
    for (int i = 0; i < kTimerCount; ++i) {
        const auto id = static_cast<TimerId>(i + 1);
        timers_[i].setInterval(TimerPeriodMs(id));
        timers_[i].setTimerType(Qt::PreciseTimer);  // coarse timers may fire 5 % early or late
        connect(&timers_[i], &QTimer::timeout, this, [&game, id] { OnTimer(game, id); });
    }
}

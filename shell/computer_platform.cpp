#include "shell/computer_platform.h"

#include "table/hand_flow.h"
#include "table/timer_ticks.h"

namespace {

// How often the computer looks at the table; its speed decides when it moves.
constexpr int kGlanceMs = 40;

}  // namespace

ComputerPlatform::ComputerPlatform(ComputerSpeed speed, std::uint32_t seed) : player_(speed, seed)
{
    for (int i = 0; i < kTimerCount; ++i) {
        const auto id = static_cast<TimerId>(i + 1);
        timers_[i].setInterval(TimerPeriodMs(id));
        timers_[i].setTimerType(Qt::PreciseTimer);
        connect(&timers_[i], &QTimer::timeout, this, [this, id] { OnTimer(game_, id); });
    }
    connect(&thinking_, &QTimer::timeout, this, &ComputerPlatform::Think);
    thinking_.start(kGlanceMs);
}

void ComputerPlatform::StartTimer(TimerId timer)
{
    timers_[static_cast<int>(timer) - 1].start();
}

void ComputerPlatform::KillTimer(TimerId timer)
{
    timers_[static_cast<int>(timer) - 1].stop();
}

void ComputerPlatform::Think()
{
    if (readyButton_ && game_.hand.bOppReady && !game_.hand.bMyReady)
        OnReadyPressed(game_);
    player_.Act(game_);
}

#include "shell/computer_platform.h"

namespace {

// How often the computer looks at the table; its speed decides when it moves.
constexpr int kGlanceMs = 40;

}  // namespace

ComputerPlatform::ComputerPlatform(ComputerSpeed speed, std::uint32_t seed) : player_(speed, seed)
{
    link_.statusShown = false;
    connect(&thinking_, &QTimer::timeout, this, [this] { player_.Act(game_); });
    thinking_.start(kGlanceMs);
}

void ComputerPlatform::StartTimer(TimerId timer)
{
    timers_.Start(timer);
}

void ComputerPlatform::StopTimer(TimerId timer)
{
    timers_.Kill(timer);
}

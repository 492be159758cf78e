#include "shell/computer_platform.h"

#include "table/hand_flow.h"

namespace {

// How often the computer looks at the table; its speed decides when it moves.
constexpr int kGlanceMs = 40;

}  // namespace

ComputerPlatform::ComputerPlatform(ComputerSpeed speed, std::uint32_t seed) : player_(speed, seed)
{
    connect(&thinking_, &QTimer::timeout, this, &ComputerPlatform::Think);
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

void ComputerPlatform::Think()
{
    if (readyButton_ && game_.hand.opponentIsReady && !game_.hand.youAreReady)
        OnReadyPressed(game_);
    player_.Act(game_);
}

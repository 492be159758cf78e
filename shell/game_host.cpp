#include "shell/game_host.h"

namespace {

// How often the computer looks at the table; its speed decides when it moves.
constexpr int kGlanceMs = 40;

}  // namespace

GameHost::GameHost()
{
    connect(&glances_, &QTimer::timeout, this, [this] { computer_->Act(game_); });
}

void GameHost::LetComputerPlay(ComputerSpeed speed, std::uint32_t seed)
{
    computer_.emplace(speed, seed);
    glances_.start(kGlanceMs);
}

void GameHost::StartTimer(TimerId timer)
{
    timers_.Start(timer);
}

void GameHost::StopTimer(TimerId timer)
{
    timers_.Stop(timer);
}

std::chrono::steady_clock::time_point GameHost::Now() const
{
    return std::chrono::steady_clock::now();
}

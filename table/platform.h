#pragma once

#include <chrono>
#include <string_view>

enum class TimerId { FlipCountdown = 1, StartCountdown = 2, TieDisplay = 3, QuietTable = 4, StallHint = 5 };
inline constexpr int kTimerCount = 5;  // numbered from 1

// The parts of the view (table/view.h) a front shows; the game says which
// one changed, and the front reads it again. FlipCountdown is the board with
// the countdown's second over it, shown as it ticks; the board shown again
// for anything else goes without it until the next tick.
enum class ViewPart { Board, FlipCountdown, ReadyButton, Score, PlayAgainQuestion, StatusLines };
inline constexpr int kViewPartCount = static_cast<int>(ViewPart::StatusLines) + 1;

// What went wrong that the player is told of in so many words.
enum class Notice { CannotSend, CannotRead };

// The two clips, by their resource numbers.
enum class SoundClip { CardMoved = 500, PileSelected = 501 };

// Everything the game needs from around it: timers and the clock, a front
// that shows the view, sound and the trace. The program implements it with
// Qt; tests with a recording fake.
class Platform {
public:
    virtual ~Platform() = default;

    virtual void Show(ViewPart part) = 0;
    virtual void Tell(Notice notice) = 0;

    // Starting a running timer restarts it.
    virtual void StartTimer(TimerId timer) = 0;
    virtual void StopTimer(TimerId timer) = 0;
    virtual std::chrono::steady_clock::time_point Now() const = 0;

    virtual void PlaySoundClip(SoundClip clip) = 0;
    // Tracing is skipped whole while nobody listens.
    virtual bool DebugOutputEnabled() const = 0;
    virtual void DebugOutput(std::string_view line) = 0;
};

constexpr int TimerPeriodMs(TimerId timer)
{
    switch (timer) {
    case TimerId::TieDisplay: return 3000;
    case TimerId::QuietTable: return 10000;
    case TimerId::StallHint: return 5000;
    default: return 1000;
    }
}

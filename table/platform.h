#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

struct Score;
struct Table;

enum class TimerId { FlipCountdown = 1, StartCountdown = 2, TieDisplay = 3, QuietTable = 4, StallHint = 5 };
inline constexpr int kTimerCount = 5;  // numbered from 1

enum class BoxOwner { MainWindow, StatusWindow };

enum class BoxIcon { None, Stop };

// The two clips, by their resource numbers.
enum class SoundClip { CardMoved = 500, PileSelected = 501 };

// The one door from the game logic to the world around it: the connection,
// the screen, the windowing system, sound, debug output and the clock. The
// program implements it with Qt; tests implement it with a recording fake.
class Platform {
public:
    virtual ~Platform() = default;

    virtual bool HasDataConnection() const = 0;
    virtual void SendBytes(const std::uint8_t* bytes, int count) = 0;
    // Takes up to `capacity` bytes already waiting; never blocks. 0 when none.
    virtual int ReceiveBytes(std::uint8_t* into, int capacity) = 0;

    virtual void ClearBackBuffer() = 0;
    // Draws every pile of the table over the cloth, with the two count lines.
    virtual void DrawTableCards(const Table& table) = 0;
    // The standing large text: 37-px arial, RGB(0, 255, 0), top-left at (x, y).
    virtual void DrawLargeText(int x, int y, std::string_view text) = 0;
    // A short line beside the count lines, in their green, about a stalled table.
    virtual void DrawHint(std::string_view) {}
    virtual void InvalidateMainWindow() = 0;
    virtual void InvalidateStatusWindow(bool erase) = 0;
    // A copy whose status lines no strip ever shows need not write its traffic there.
    virtual bool ShowsStatusStrip() const { return true; }
    virtual void CreateReadyButton() = 0;
    virtual void DestroyReadyButton() = 0;

    virtual void ShowMessageBox(BoxOwner owner, std::string_view text, std::string_view caption, BoxIcon icon) = 0;
    // Yes / No with the exclamation icon. It returns at once; the answer
    // comes later, through AnswerPlayAgain.
    virtual void AskToPlayAgain(std::string_view text, std::string_view caption) = 0;
    virtual void CloseProgram() = 0;

    // Starting a running timer restarts it.
    virtual void StartTimer(TimerId timer) = 0;
    virtual void StopTimer(TimerId timer) = 0;
    // Runs everything already queued for the program, then yields.
    virtual void PumpMessages() = 0;

    virtual void PlaySoundClip(SoundClip clip) = 0;
    // Tracing is skipped whole while nobody listens.
    virtual bool DebugOutputEnabled() const = 0;
    virtual void DebugOutput(std::string_view line) = 0;
    virtual std::chrono::steady_clock::time_point Now() const = 0;
    // The hands won since this opponent sat down changed.
    virtual void ShowScore(const Score&) {}
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

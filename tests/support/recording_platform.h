#pragma once

#include "net/link.h"
#include "net/wire.h"
#include "table/game.h"
#include "table/view.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// The one fake of the world around a copy of the game. It writes down what
// the game shows, tells, times and plays, keeps a clock that only moves when
// told, and carries bytes by hand: what is sent is kept and handed to onSend,
// what waits in the inbox is read.
class RecordingPlatform : public Platform, public Wire {
public:
    // Benchmarks keep no list, so that nothing grows over their iterations.
    bool keep = true;
    bool connected = true;
    std::vector<Bytes> sent;  // one entry per send
    std::function<void(const std::uint8_t*, int)> onSend;
    std::vector<std::uint8_t> inbox;  // nearly always read whole, so the front goes cheaply
    int readLimit = 1 << 30;  // most bytes one read takes
    std::array<int, kViewPartCount> shown{};  // times each part of the view was shown again
    std::function<void(ViewPart)> onShow;
    std::vector<Notice> notices;
    std::vector<SoundClip> sounds;
    bool tracing = true;
    std::vector<std::string> debugLines;
    long long traceBytes = 0;
    std::array<bool, kTimerCount + 1> runningTimers{};  // by TimerId, from 1
    std::function<void(TimerId, bool started)> onTimer;
    std::chrono::steady_clock::time_point now{};

    bool IsOpen() const override { return connected; }
    void Send(const std::uint8_t* bytes, int count) override
    {
        if (keep)
            sent.emplace_back(bytes, bytes + count);
        onSend ? onSend(bytes, count) : void();
    }
    int Receive(std::uint8_t* into, int capacity) override
    {
        const auto count = std::min({static_cast<std::size_t>(capacity), static_cast<std::size_t>(readLimit), inbox.size()});
        std::copy_n(inbox.begin(), count, into);
        inbox.erase(inbox.begin(), inbox.begin() + static_cast<std::ptrdiff_t>(count));
        return static_cast<int>(count);
    }
    void Show(ViewPart part) override
    {
        ++shown[static_cast<std::size_t>(part)];
        onShow ? onShow(part) : void();
    }
    void Tell(Notice notice) override { notices.push_back(notice); }
    void StartTimer(TimerId timer) override
    {
        runningTimers[static_cast<std::size_t>(timer)] = true;
        onTimer ? onTimer(timer, true) : void();
    }
    void StopTimer(TimerId timer) override
    {
        runningTimers[static_cast<std::size_t>(timer)] = false;
        onTimer ? onTimer(timer, false) : void();
    }
    std::chrono::steady_clock::time_point Now() const override { return now; }
    void PlaySoundClip(SoundClip clip) override
    {
        if (keep)
            sounds.push_back(clip);
    }
    bool DebugOutputEnabled() const override { return tracing; }
    void DebugOutput(std::string_view line) override
    {
        traceBytes += static_cast<long long>(line.size());
        if (keep)
            debugLines.emplace_back(line);
    }

    int Shown(ViewPart part) const { return shown[static_cast<std::size_t>(part)]; }
    bool TimerRunning(TimerId timer) const { return runningTimers[static_cast<std::size_t>(timer)]; }
    std::vector<std::uint8_t> SentTypes() const
    {
        std::vector<std::uint8_t> types;
        for (const auto& message : sent)
            types.push_back(message[0]);
        return types;
    }
};

// A copy of the game on its own fake, which is also its wire.
struct RecordedGame {
    explicit RecordedGame(Role role = Role::Client)
    {
        game.table.role = role;
        link.wire = &platform;
    }
    RecordedGame(const RecordedGame&) = delete;
    RecordedGame& operator=(const RecordedGame&) = delete;

    RecordingPlatform platform;
    Game game{platform};
    Link link{game};
};

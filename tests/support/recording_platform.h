#pragma once

#include "net/link.h"
#include "table/game.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

// A Platform that remembers what the game asked of it.
class RecordingPlatform : public Platform {
public:
    struct Text {
        int x;
        int y;
        std::string text;
        friend bool operator==(const Text&, const Text&) = default;
    };

    bool connected = true;
    std::vector<std::vector<std::uint8_t>> sent;  // one entry per send
    std::function<void(const std::uint8_t*, int)> onSend;
    std::deque<std::uint8_t> inbox;  // bytes waiting to be read
    int readLimit = 1 << 30;  // most bytes one read takes
    std::vector<SoundClip> sounds;
    std::vector<std::string> boxes;  // "caption: text"
    std::vector<std::string> questions;  // likewise; the test answers them
    int closeRequests = 0;
    bool tracing = true;
    std::vector<std::string> debugLines;
    std::vector<Text> texts;  // large texts since the back buffer was last cleared
    std::string hint;  // likewise
    bool readyButton = false;
    std::set<TimerId> runningTimers;
    std::function<void()> onPump;
    std::chrono::steady_clock::time_point now{};

    bool HasDataConnection() const override { return connected; }
    void SendBytes(const std::uint8_t* bytes, int count) override
    {
        sent.emplace_back(bytes, bytes + count);
        onSend ? onSend(bytes, count) : void();
    }
    int ReceiveBytes(std::uint8_t* into, int capacity) override
    {
        int count = 0;
        for (; count < capacity && count < readLimit && !inbox.empty(); inbox.pop_front())
            into[count++] = inbox.front();
        return count;
    }
    void ClearBackBuffer() override
    {
        texts.clear();
        hint.clear();
    }
    void DrawTableCards(const Table&) override {}
    void DrawLargeText(int x, int y, std::string_view text) override { texts.push_back({x, y, std::string(text)}); }
    void DrawHint(std::string_view text) override { hint = text; }
    void InvalidateMainWindow() override {}
    void InvalidateStatusWindow(bool) override {}
    void CreateReadyButton() override { readyButton = true; }
    void DestroyReadyButton() override { readyButton = false; }
    void ShowMessageBox(BoxOwner, std::string_view text, std::string_view caption, BoxIcon) override
    {
        boxes.push_back(std::string(caption) + ": " + std::string(text));
    }
    void AskToPlayAgain(std::string_view text, std::string_view caption) override
    {
        questions.push_back(std::string(caption) + ": " + std::string(text));
    }
    void CloseProgram() override { ++closeRequests; }
    void StartTimer(TimerId timer) override { runningTimers.insert(timer); }
    void StopTimer(TimerId timer) override { runningTimers.erase(timer); }
    void PumpMessages() override { onPump ? onPump() : void(); }
    void PlaySoundClip(SoundClip clip) override { sounds.push_back(clip); }
    bool DebugOutputEnabled() const override { return tracing; }
    void DebugOutput(std::string_view line) override { debugLines.emplace_back(line); }
    std::chrono::steady_clock::time_point Now() const override { return now; }

    bool TimerRunning(TimerId timer) const { return runningTimers.count(timer) > 0; }
    std::vector<std::uint8_t> SentTypes() const
    {
        std::vector<std::uint8_t> types;
        for (const auto& message : sent)
            types.push_back(message[0]);
        return types;
    }
};

using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<RecordingPlatform::Text>;

// A game with its own recording platform.
struct RecordedGame {
    RecordingPlatform platform;
    Game game{platform};
    Link link{game};
};

#pragma once

#include "table/game.h"
#include "table/platform.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

// A Platform that remembers what the game asked of it. Bytes sent go to
// `sent`, or to a peer's inbox when two copies are joined by a wire.
class RecordingPlatform : public Platform {
public:
    struct Box {
        BoxOwner owner;
        std::string text;
        std::string caption;
        BoxIcon icon;
    };
    struct Text {
        int x;
        int y;
        std::string text;
    };

    bool connected = true;
    std::vector<std::vector<std::uint8_t>> sent;  // one entry per send call
    std::deque<std::uint8_t> inbox;               // bytes waiting to be read
    int readLimit = 1 << 30;                      // most bytes one read returns
    std::function<int()> chooseReadLimit;         // when set, picks the limit of each read
    std::function<void(const std::uint8_t*, int)> onSend;

    std::vector<SoundClip> sounds;
    std::vector<Box> boxes;
    std::vector<std::string> questions;
    bool answerYes = true;
    std::function<void()> onAsk;  // runs while the question is open
    int closeRequests = 0;
    bool tracing = true;
    std::vector<std::string> debugLines;
    std::vector<Text> texts;  // large texts since the last clear
    std::vector<std::string> textHistory;  // every large text ever drawn
    int clears = 0;
    int tableDraws = 0;
    int mainInvalidations = 0;
    int statusInvalidations = 0;
    bool readyButton = false;
    int readyButtonsCreated = 0;
    std::set<TimerId> runningTimers;
    std::map<TimerId, int> timerStarts;  // how often each timer was started
    std::function<void()> onPump;
    std::chrono::steady_clock::time_point now{};

    bool HasDataConnection() const override { return connected; }
    void SendBytes(const std::uint8_t* bytes, int count) override
    {
        sent.emplace_back(bytes, bytes + count);
        if (onSend)
            onSend(bytes, count);
    }
    int ReceiveBytes(std::uint8_t* into, int capacity) override
    {
        const int limit = chooseReadLimit ? chooseReadLimit() : readLimit;
        int count = 0;
        while (count < capacity && count < limit && !inbox.empty()) {
            into[count++] = inbox.front();
            inbox.pop_front();
        }
        return count;
    }

    void ClearBackBuffer() override
    {
        ++clears;
        texts.clear();
    }
    void DrawTableCards(const Table&) override { ++tableDraws; }
    void DrawLargeText(int x, int y, std::string_view text) override
    {
        texts.push_back({x, y, std::string(text)});
        textHistory.emplace_back(text);
    }
    void InvalidateMainWindow() override { ++mainInvalidations; }
    void InvalidateStatusWindow(bool) override { ++statusInvalidations; }
    void CreateReadyButton() override
    {
        readyButton = true;
        ++readyButtonsCreated;
    }
    void DestroyReadyButton() override { readyButton = false; }

    void ShowMessageBox(BoxOwner owner, std::string_view text, std::string_view caption, BoxIcon icon) override
    {
        boxes.push_back({owner, std::string(text), std::string(caption), icon});
    }
    bool AskYesNo(std::string_view text, std::string_view caption) override
    {
        questions.push_back(std::string(caption) + ": " + std::string(text));
        if (onAsk)
            onAsk();
        return answerYes;
    }
    void CloseProgram() override { ++closeRequests; }

    void StartTimer(TimerId timer) override
    {
        runningTimers.insert(timer);
        ++timerStarts[timer];
    }
    void KillTimer(TimerId timer) override { runningTimers.erase(timer); }
    void PumpMessages() override
    {
        if (onPump)
            onPump();
    }

    void PlaySoundClip(SoundClip clip) override { sounds.push_back(clip); }
    bool DebugOutputEnabled() const override { return tracing; }
    void DebugOutput(std::string_view line) override { debugLines.emplace_back(line); }
    std::chrono::steady_clock::time_point Now() const override { return now; }

    bool TimerRunning(TimerId timer) const { return runningTimers.count(timer) > 0; }
    bool ShowsText(const std::string& text) const
    {
        for (const Text& t : texts) {
            if (t.text == text)
                return true;
        }
        return false;
    }
    std::vector<std::uint8_t> SentTypes() const
    {
        std::vector<std::uint8_t> types;
        for (const auto& message : sent)
            types.push_back(message[0]);
        return types;
    }
};

// A game with its own recording platform.
struct RecordedGame {
    RecordingPlatform platform;
    Game game{platform};
};

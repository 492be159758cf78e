#pragma once

#include "net/protocol.h"
#include "table/game.h"
#include "table/hand_flow.h"
#include "table/local_play.h"
#include "table/timer_ticks.h"
#include "tests/support/two_copies.h"

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <queue>
#include <random>
#include <string_view>
#include <vector>

using Ms = std::int64_t;

// Virtual time: events run in the order of their moments and nothing waits
// in real time. Events at the same moment run in the order they were set.
class VirtualClock {
public:
    Ms now = 0;

    void At(Ms at, std::function<void()> run) { events_.push({at, order_++, std::move(run)}); }
    // Runs the earliest event if it is due by `limit`.
    bool RunNext(Ms limit)
    {
        if (events_.empty() || events_.top().at > limit)
            return false;
        Event event = events_.top();  // a copy: running it adds events
        events_.pop();
        now = std::max(now, event.at);
        event.run();
        return true;
    }
    Ms NextAt() const { return events_.empty() ? std::numeric_limits<Ms>::max() : events_.top().at; }

private:
    struct Event {
        Ms at;
        std::uint64_t order;
        std::function<void()> run;
        bool operator>(const Event& other) const { return at != other.at ? at > other.at : order > other.order; }
    };
    std::priority_queue<Event, std::vector<Event>, std::greater<>> events_;
    std::uint64_t order_ = 0;
};

struct TimedOptions {
    Ms maxDelayMs = 100;  // one way, order kept per direction
    Ms jitterMs = 50;  // each timer tick fires this much early or late at most
    Ms minActMs = 20;  // a player acts at random moments in this range
    Ms maxActMs = 400;
    int pausePercent = 10;  // and now and then stops to think for up to
    Ms maxPauseMs = 5000;
    Ms maxReactMs = 80;  // for each of two clicks after the player's own flip
    Ms maxBoxOpenMs = 3000;
};

class TimedMatch;

// One copy of the game whose world is the match: its sends travel the
// virtual wire, its timers tick on the virtual clock.
class TimedCopy : public Platform {
public:
    TimedCopy(TimedMatch& match, bool server) : match_(match) { game.table.bIsServer = server ? 1 : 0; }

    Game game{*this};
    std::deque<std::uint8_t> inbox;
    bool readyButton = false;
    bool boxOpen = false;
    int questions = 0;
    int wins = 0;
    int ties = 0;
    int errors = 0;
    int closes = 0;
    // The moves this copy's player may make; runs at random moments.
    std::function<void(TimedCopy&)> player;
    // Drops what this copy sends before it reaches the wire, for peers that
    // know fewer messages.
    std::function<bool(std::uint8_t type)> keepSent;
    // Sees every message this copy's game sends, kept or not.
    std::function<void(const std::uint8_t* bytes, int count)> onSend;

    bool TimerRunning(TimerId timer) const { return running_[Index(timer)]; }

    bool HasDataConnection() const override { return true; }
    void SendBytes(const std::uint8_t* bytes, int count) override;
    int ReceiveBytes(std::uint8_t* into, int capacity) override;
    void ClearBackBuffer() override {}
    void DrawTableCards(const Table&) override {}
    void DrawLargeText(int, int, std::string_view text) override
    {
        wins += text == "You Won !!!";
        ties += text == "Tie !!!";
    }
    void InvalidateMainWindow() override {}
    void InvalidateStatusWindow(bool) override {}
    void CreateReadyButton() override { readyButton = true; }
    void DestroyReadyButton() override { readyButton = false; }
    void ShowMessageBox(BoxOwner, std::string_view, std::string_view, BoxIcon) override { ++errors; }
    bool AskYesNo(std::string_view, std::string_view) override;
    void CloseProgram() override { ++closes; }
    void StartTimer(TimerId timer) override;
    void KillTimer(TimerId timer) override
    {
        running_[Index(timer)] = false;
        ++generation_[Index(timer)];
    }
    void PumpMessages() override;
    void PlaySoundClip(SoundClip) override {}
    bool DebugOutputEnabled() const override { return false; }
    void DebugOutput(std::string_view) override {}
    std::chrono::steady_clock::time_point Now() const override;

private:
    static constexpr int kTimers = kTimerCount + 1;
    static int Index(TimerId timer) { return static_cast<int>(timer); }
    void ScheduleTick(TimerId timer, unsigned generation);

    TimedMatch& match_;
    bool running_[kTimers]{};
    unsigned generation_[kTimers]{};
};

// How one hand went.
struct HandResult {
    bool ended = false;  // back at the ready button on both copies
    bool outOfStep = false;  // the tables differed after a quiet wire
    bool properEnd = false;  // one winner and one question, or a tie on both
    // Not ended, yet in step and still flipping: the cards left can never be
    // played, which the rules allow; no fault of the copies.
    bool endlessDeal = false;
};

// A server and a client on a virtual wire with delays, jittered timers and
// players acting at random moments.
class TimedMatch {
public:
    explicit TimedMatch(unsigned seed, TimedOptions options = {}) : options_(options), random_(seed)
    {
        std::srand(seed);
        for (TimedCopy* copy : {&server, &client}) {
            copy->readyButton = true;
            ScheduleAct(*copy);
        }
    }
    TimedMatch(const TimedMatch&) = delete;
    TimedMatch& operator=(const TimedMatch&) = delete;

    TimedCopy server{*this, true};
    TimedCopy client{*this, false};
    VirtualClock clock;
    int flips = 0;
    // Broken invariants seen after any event; empty while all is well.
    std::string fault;

    Ms Uniform(Ms low, Ms high) { return std::uniform_int_distribution<Ms>(low, high)(random_); }
    std::mt19937& Random() { return random_; }

    // Plays until both copies are back at the ready button after a deal,
    // or `limit` of virtual time has gone by.
    HandResult PlayHand(Ms limit = 20 * 60 * 1000)
    {
        HandResult result;
        const int winsBefore = server.wins + client.wins;
        const int serverTies = server.ties;
        const int clientTies = client.ties;
        const int questionsBefore = server.questions + client.questions;
        const Ms start = clock.now;
        mayPressReady_ = true;
        bool dealt = false;
        outOfStep_ = false;
        while (clock.now - start < limit && fault.empty()) {
            if (!Step(std::numeric_limits<Ms>::max()))
                break;
            dealt = dealt || (server.game.table.bHandInProgress && client.game.table.bHandInProgress);
            if (dealt && !server.game.table.bHandInProgress && !client.game.table.bHandInProgress)
                mayPressReady_ = false;
            if (dealt && BackAtTheReadyButton()) {
                result.ended = true;
                break;
            }
        }
        result.outOfStep = outOfStep_;
        result.endlessDeal =
            !result.ended && Mirrored(server.game.table, client.game.table) && clock.now - lastFlipAt_ < 60 * 1000;
        const int wins = server.wins + client.wins - winsBefore;
        const int questions = server.questions + client.questions - questionsBefore;
        const bool serverTie = server.ties > serverTies;
        const bool clientTie = client.ties > clientTies;
        result.properEnd = result.ended
            && ((wins == 1 && questions == 1 && !serverTie && !clientTie) || (serverTie && clientTie && questions == 0));
        return result;
    }

    // Runs every event due within the next `duration`, as a modal box does.
    void RunFor(Ms duration)
    {
        const Ms until = clock.now + duration;
        while (Step(until)) {}
        clock.now = std::max(clock.now, until);
    }

    // Runs every event due now, as a message pump does.
    void RunDue()
    {
        while (Step(clock.now)) {}
    }

    void Send(TimedCopy& from, const std::uint8_t* bytes, int count)
    {
        TimedCopy& to = &from == &server ? client : server;
        Wire& wire = &from == &server ? serverToClient_ : clientToServer_;
        const Ms arrival = std::max(clock.now + Uniform(0, options_.maxDelayMs), wire.lastArrival);
        wire.lastArrival = arrival;
        ++wire.inFlight;
        lastWireActivity_ = clock.now;
        clock.At(arrival, [this, &to, &wire, message = std::vector<std::uint8_t>(bytes, bytes + count)] {
            --wire.inFlight;
            lastWireActivity_ = clock.now;
            to.inbox.insert(to.inbox.end(), message.begin(), message.end());
            NetReceive(to.game);
        });
    }

    Ms TickMoment(TimerId timer) { return clock.now + TimerPeriodMs(timer) + Uniform(-options_.jitterMs, options_.jitterMs); }
    Ms BoxOpenTime() { return Uniform(0, options_.maxBoxOpenMs); }
    int ReadLimit() { return static_cast<int>(Uniform(1, 130)); }

private:
    struct Wire {
        Ms lastArrival = 0;
        int inFlight = 0;
    };

public:
    // A player may also ask to be called at a moment of its own; one call
    // pending stands for every later moment asked for.
    void CallPlayerAt(TimedCopy& copy, Ms at)
    {
        Ms& pending = pendingCall_[&copy == &server ? 0 : 1];
        if (pending >= clock.now && pending <= at)
            return;
        pending = at;
        clock.At(at, [this, &copy, &pending, at] {
            if (pending == at)
                pending = -1;
            Act(copy);
        });
    }

    // A player who watched the countdown moves soon after the flip.
    void React(TimedCopy& copy)
    {
        const Ms select = clock.now + Uniform(0, options_.maxReactMs);
        clock.At(select, [this, &copy] { Act(copy); });
        clock.At(select + Uniform(0, options_.maxReactMs), [this, &copy] { Act(copy); });
    }

private:
    void Act(TimedCopy& copy)
    {
        if (copy.boxOpen)
            return;
        if (copy.readyButton && mayPressReady_ && Uniform(0, 2) == 0)
            OnReadyPressed(copy.game);
        else if (copy.player)
            copy.player(copy);
    }

    void ScheduleAct(TimedCopy& copy)
    {
        const bool pause = Uniform(0, 99) < options_.pausePercent;
        const Ms wait = pause ? Uniform(options_.maxActMs, options_.maxPauseMs) : Uniform(options_.minActMs, options_.maxActMs);
        clock.At(clock.now + wait, [this, &copy] {
            Act(copy);
            ScheduleAct(copy);
        });
    }

    // Runs one event due by `limit`, then checks what must always hold.
    bool Step(Ms limit)
    {
        CheckQuietTables(std::min(limit, clock.NextAt()));
        const int extraBefore = server.game.table.nExtraCardsLeft;
        const int playBefore = server.game.table.nPlayCards[0];
        if (!clock.RunNext(limit))
            return false;
        // A flip turns one card onto pile 0 without any card leaving a player's pile.
        if (server.game.table.nExtraCardsLeft != extraBefore && server.game.table.nPlayCards[0] != playBefore) {
            ++flips;
            lastFlipAt_ = clock.now;
        }
        CheckWhole(server.game.table, "server");
        CheckWhole(client.game.table, "client");
        return true;
    }

    // The client's table mirrors the server's once the wire has been quiet
    // for two seconds with no countdown running.
    void CheckQuietTables(Ms nextEvent)
    {
        constexpr Ms kQuietMs = 2000;
        if (serverToClient_.inFlight || clientToServer_.inFlight || checkedQuietAt_ == lastWireActivity_)
            return;
        if (nextEvent < lastWireActivity_ + kQuietMs)
            return;
        const Game& s = server.game;
        const Game& c = client.game;
        if (!s.table.bHandInProgress || !c.table.bHandInProgress || s.hand.nCountdownSecs || c.hand.nCountdownSecs)
            return;
        checkedQuietAt_ = lastWireActivity_;
        if (!Mirrored(s.table, c.table))
            outOfStep_ = true;
    }

    void CheckWhole(const Table& t, const char* side)
    {
        if (t.nPlayCards[0] == 0 || !fault.empty())
            return;  // nothing dealt yet
        std::bitset<kDeckSize> seen;
        auto see = [&](const Card* cards, int count) {
            for (int i = 0; i < count; ++i)
                seen.set(static_cast<std::size_t>(cards[i].suit * kRanks + cards[i].rank));
        };
        bool inBounds = true;
        for (int p = 0; p < kPlayerPiles; ++p) {
            inBounds = inBounds && t.nMyPileCards[p] <= kMaxPileCards && t.nOppPileCards[p] <= kMaxPileCards;
            see(t.myPiles[p], t.nMyPileCards[p]);
            see(t.oppPiles[p], t.nOppPileCards[p]);
        }
        for (int k = 0; k < kPlayPiles; ++k) {
            inBounds = inBounds && t.nPlayCards[k] >= 1;
            see(t.playPiles[k], t.nPlayCards[k]);
            see(t.extraCards[k], t.nExtraCardsLeft);
        }
        if (!inBounds || CardsOnTable(t) != kDeckSize || seen.count() != kDeckSize)
            fault = std::string(side) + ": the table no longer holds each of the 52 cards once within its limits";
    }

    bool BackAtTheReadyButton() const
    {
        return server.readyButton && client.readyButton && !serverToClient_.inFlight && !clientToServer_.inFlight
            && !server.TimerRunning(TimerId::TieDisplay) && !client.TimerRunning(TimerId::TieDisplay);
    }

    TimedOptions options_;
    std::mt19937 random_;
    Wire serverToClient_;
    Wire clientToServer_;
    Ms lastWireActivity_ = 0;
    Ms checkedQuietAt_ = -1;
    Ms lastFlipAt_ = 0;
    bool outOfStep_ = false;
    bool mayPressReady_ = true;
    Ms pendingCall_[2] = {-1, -1};
};

inline void TimedCopy::SendBytes(const std::uint8_t* bytes, int count)
{
    if (onSend)
        onSend(bytes, count);
    if (!keepSent || keepSent(bytes[0]))
        match_.Send(*this, bytes, count);
}

inline int TimedCopy::ReceiveBytes(std::uint8_t* into, int capacity)
{
    const int count = std::min({capacity, match_.ReadLimit(), static_cast<int>(inbox.size())});
    std::copy_n(inbox.begin(), count, into);
    inbox.erase(inbox.begin(), inbox.begin() + count);
    return count;
}

inline bool TimedCopy::AskYesNo(std::string_view, std::string_view)
{
    ++questions;
    boxOpen = true;
    match_.RunFor(match_.BoxOpenTime());
    boxOpen = false;
    return true;
}

inline void TimedCopy::StartTimer(TimerId timer)
{
    running_[Index(timer)] = true;
    ScheduleTick(timer, ++generation_[Index(timer)]);
}

inline void TimedCopy::ScheduleTick(TimerId timer, unsigned generation)
{
    match_.clock.At(match_.TickMoment(timer), [this, timer, generation] {
        if (generation_[Index(timer)] != generation)
            return;  // stopped or restarted since
        OnTimer(game, timer);
        if (generation_[Index(timer)] == generation)
            ScheduleTick(timer, generation);
        else if (timer == TimerId::FlipCountdown)
            match_.React(*this);
    });
}

inline void TimedCopy::PumpMessages()
{
    match_.RunDue();
}

inline std::chrono::steady_clock::time_point TimedCopy::Now() const
{
    return std::chrono::steady_clock::time_point(std::chrono::milliseconds(match_.clock.now));
}

// A player who clicks through the real click handling: picks a pile with a
// play, plays it a moment later (so a selection may outlive a countdown),
// sometimes moves a card to an empty pile, and now and then clicks anywhere.
class ClickingPlayer {
public:
    void operator()(TimedCopy& copy, std::mt19937& random) const
    {
        Game& game = copy.game;
        const Table& t = game.table;
        auto chance = [&random](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
        if (chance(5)) {
            HandleTableClick(game, std::uniform_int_distribution<unsigned>(0, kClientWidth - 1)(random),
                             std::uniform_int_distribution<unsigned>(0, kClientHeight - kStatusHeight - 1)(random));
            return;
        }
        if (!t.bHandInProgress || chance(20))
            return;  // hesitates
        const int selected = t.nMySelectedPile;
        if (selected != kNoPile && t.nMyPileCards[selected] > 0) {
            for (int k = 0; k < kPlayPiles; ++k) {
                if (Fits(t, selected, k)) {
                    Click(game, game.board.rcPlayPiles[k]);
                    return;
                }
            }
            for (int j = 0; j < kPlayerPiles; ++j) {
                if (t.nMyPileCards[j] == 0 && t.nMyPileCards[selected] >= 2 && chance(30)) {
                    Click(game, game.board.rcMyPiles[j]);
                    return;
                }
            }
        }
        std::vector<int> candidates;
        for (int i = 0; i < kPlayerPiles; ++i) {
            if (t.nMyPileCards[i] > 0 && (Fits(t, i, 0) || Fits(t, i, 1) || (t.nMyPileCards[i] >= 2 && AnyEmpty(t))))
                candidates.push_back(i);
        }
        if (!candidates.empty())
            Click(game,
                  game.board.rcMyPiles[candidates[std::uniform_int_distribution<std::size_t>(0, candidates.size() - 1)(random)]]);
    }

    static void Click(Game& game, const Rect& r)
    {
        HandleTableClick(game, static_cast<unsigned>((r.left + r.right) / 2), static_cast<unsigned>((r.top + r.bottom) / 2));
    }

private:
    static bool Fits(const Table& t, int pile, int k)
    {
        return CardsAdjacent(t.myPiles[pile][t.nMyPileCards[pile] - 1], t.playPiles[k][t.nPlayCards[k] - 1]);
    }
    static bool AnyEmpty(const Table& t)
    {
        return std::find(t.nMyPileCards, t.nMyPileCards + kPlayerPiles, 0) != t.nMyPileCards + kPlayerPiles;
    }
};

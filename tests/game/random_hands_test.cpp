#include "tests/support/bot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <deque>

namespace {

// Two copies play many hands: bots that play quickly, random clicks
// anywhere, crossing plays, and a wire that cuts the byte stream anywhere
// and merges messages. Time passes in whole seconds, in which every message
// on its way arrives and the timers fire.
class RandomMatch {
public:
    explicit RandomMatch(unsigned seed) : random_(seed), serverBot_(seed * 2 + 1), clientBot_(seed * 2 + 2)
    {
        Link(copies_.server, serverToClient_);
        Link(copies_.client, clientToServer_);
        for (RecordedGame* side : {&copies_.server, &copies_.client}) {
            side->platform.chooseReadLimit = [this] { return Uniform(1, 130); };
            side->platform.CreateReadyButton();
        }
    }

    int wins = 0;
    int ties = 0;
    int flips = 0;

    void PlayHand()
    {
        const std::size_t questionsBefore = Questions();
        const std::size_t serverTexts = copies_.server.platform.textHistory.size();
        const std::size_t clientTexts = copies_.client.platform.textHistory.size();
        bool dealt = false;
        mayPressReady_ = true;
        for (int step = 0; step < 50000 && !::testing::Test::HasFatalFailure(); ++step) {
            RandomStep();
            CheckTables();
            dealt = dealt || (Server().table.bHandInProgress && Client().table.bHandInProgress);
            // The next hand waits until this one has been looked at.
            if (dealt && !Server().table.bHandInProgress && !Client().table.bHandInProgress)
                mayPressReady_ = false;
            if (dealt && BackAtTheReadyButton()) {
                CheckOutcome(questionsBefore, serverTexts, clientTexts);
                return;
            }
        }
        FAIL() << "the hand never ended";
    }

private:
    Game& Server() { return copies_.server.game; }
    Game& Client() { return copies_.client.game; }

    static void Link(RecordedGame& from, std::deque<std::uint8_t>& wire)
    {
        from.platform.onSend = [&wire](const std::uint8_t* bytes, int count) { wire.insert(wire.end(), bytes, bytes + count); };
    }

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::size_t Questions() const { return copies_.server.platform.questions.size() + copies_.client.platform.questions.size(); }

    // Some of what is on its way arrives, and the receiver reads it.
    void Arrive(std::deque<std::uint8_t>& wire, RecordedGame& to)
    {
        const int count = std::min(static_cast<int>(wire.size()), Uniform(1, 250));
        to.platform.inbox.insert(to.platform.inbox.end(), wire.begin(), wire.begin() + count);
        wire.erase(wire.begin(), wire.begin() + count);
        if (!to.platform.inbox.empty())
            NetReceive(to.game);
    }

    void DeliverEverything()
    {
        while (!serverToClient_.empty() || !clientToServer_.empty()) {
            Arrive(serverToClient_, copies_.client);
            Arrive(clientToServer_, copies_.server);
        }
    }

    // The server's timers fire a moment before the client's, as its countdowns
    // start first; only a timer already running when the second began fires.
    void SecondPasses()
    {
        DeliverEverything();
        const auto serverStarts = copies_.server.platform.timerStarts;
        const auto clientStarts = copies_.client.platform.timerStarts;
        for (RecordedGame* side : {&copies_.server, &copies_.client}) {
            const auto& startsBefore = side == &copies_.server ? serverStarts : clientStarts;
            const int extraBefore = side->game.table.nExtraCardsLeft;
            const bool flipDue = side->game.hand.nCountdownSecs == 1 && side->platform.TimerRunning(TimerId::FlipCountdown);
            for (const TimerId timer : {TimerId::FlipCountdown, TimerId::StartCountdown, TimerId::TieDisplay}) {
                const auto before = startsBefore.find(timer);
                if (before != startsBefore.end() && before->second == side->platform.timerStarts[timer])
                    TwoCopies::Tick(*side, timer);
            }
            if (flipDue && side->game.table.nExtraCardsLeft != extraBefore) {
                ++flips;
                if (side == &copies_.client)
                    clientLastMoveWasPlay_ = false;
            }
            DeliverEverything();
        }
    }

    void PressReady()
    {
        RecordedGame& side = Uniform(0, 1) ? copies_.server : copies_.client;
        if (mayPressReady_ && side.platform.readyButton)
            OnReadyPressed(side.game);
    }

    void RandomStep()
    {
        const std::size_t clientSent = copies_.client.platform.sent.size();
        switch (Uniform(0, 9)) {
        case 0:
        case 1: serverBot_.Move(Server(), Uniform(0, 3) == 0); break;
        case 2:
        case 3: clientBot_.Move(Client(), Uniform(0, 3) == 0); break;
        case 4: (Uniform(0, 1) ? serverBot_ : clientBot_).RandomClick(Uniform(0, 1) ? Server() : Client()); break;
        case 5: Arrive(serverToClient_, copies_.client); break;
        case 6: Arrive(clientToServer_, copies_.server); break;
        case 7: SecondPasses(); break;
        default: PressReady(); break;
        }
        for (std::size_t i = clientSent; i < copies_.client.platform.sent.size(); ++i) {
            const std::uint8_t type = copies_.client.platform.sent[i][0];
            if (type == 201 || type == 202)
                clientLastMoveWasPlay_ = type == 201;
        }
    }

    bool Quiet() const
    {
        for (const RecordedGame* side : {&copies_.server, &copies_.client}) {
            if (!side->platform.inbox.empty() || side->platform.TimerRunning(TimerId::FlipCountdown))
                return false;
        }
        return serverToClient_.empty() && clientToServer_.empty();
    }

    bool BackAtTheReadyButton() const
    {
        return Quiet() && copies_.server.platform.readyButton && copies_.client.platform.readyButton
            && !copies_.server.platform.TimerRunning(TimerId::TieDisplay) && !copies_.client.platform.TimerRunning(TimerId::TieDisplay);
    }

    static void CheckWhole(const Table& t, const char* side)
    {
        ASSERT_EQ(CardsOnTable(t), 52) << side;
        std::bitset<52> seen;
        auto see = [&](const Card* cards, int count) {
            for (int i = 0; i < count; ++i)
                seen.set(static_cast<std::size_t>(cards[i].suit * kRanks + cards[i].rank));
        };
        for (int p = 0; p < kPlayerPiles; ++p) {
            ASSERT_LE(t.nMyPileCards[p], kMaxPileCards) << side;
            ASSERT_LE(t.nOppPileCards[p], kMaxPileCards) << side;
            see(t.myPiles[p], t.nMyPileCards[p]);
            see(t.oppPiles[p], t.nOppPileCards[p]);
        }
        for (int k = 0; k < kPlayPiles; ++k) {
            ASSERT_GE(t.nPlayCards[k], 1) << side;
            see(t.playPiles[k], t.nPlayCards[k]);
            see(t.extraCards[k], t.nExtraCardsLeft);
        }
        ASSERT_EQ(seen.count(), 52u) << side << ": every card once";
    }

    void CheckTables()
    {
        const Table& server = Server().table;
        const Table& client = Client().table;
        if (server.nPlayCards[0] > 0)
            CheckWhole(server, "server");
        if (client.nPlayCards[0] > 0)
            CheckWhole(client, "client");
        if (clientLastMoveWasPlay_ && Quiet() && server.bHandInProgress && client.bHandInProgress) {
            ASSERT_TRUE(Mirrored(server, client)) << "after the client's play the tables agree";
        }
    }

    void CheckOutcome(std::size_t questionsBefore, std::size_t serverTexts, std::size_t clientTexts)
    {
        auto drew = [](const RecordedGame& side, std::size_t from, const std::string& text) {
            const auto& history = side.platform.textHistory;
            return std::find(history.begin() + static_cast<std::ptrdiff_t>(from), history.end(), text) != history.end();
        };
        const bool serverTie = drew(copies_.server, serverTexts, "Tie !!!");
        const bool clientTie = drew(copies_.client, clientTexts, "Tie !!!");
        const std::size_t questions = Questions() - questionsBefore;
        if (serverTie || clientTie) {
            EXPECT_TRUE(serverTie && clientTie) << "a tie on one copy is a tie on both";
            EXPECT_EQ(questions, 0u);
            ++ties;
            return;
        }
        EXPECT_NE(drew(copies_.server, serverTexts, "You Won !!!"), drew(copies_.client, clientTexts, "You Won !!!"))
            << "exactly one copy won";
        EXPECT_EQ(questions, 1u) << "and the other asked";
        ++wins;
    }

    std::mt19937 random_;
    Bot serverBot_;
    Bot clientBot_;
    TwoCopies copies_;
    std::deque<std::uint8_t> serverToClient_;
    std::deque<std::uint8_t> clientToServer_;
    bool clientLastMoveWasPlay_ = false;
    bool mayPressReady_ = true;
};

TEST(RandomHands, EveryHandEndsWithBothCopiesInStep)
{
    constexpr int kMatches = 20;
    constexpr int kHandsPerMatch = 10;
    int wins = 0, ties = 0, flips = 0;
    for (unsigned seed = 1; seed <= kMatches; ++seed) {
        RandomMatch match(seed);
        for (int hand = 0; hand < kHandsPerMatch; ++hand) {
            match.PlayHand();
            ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed << ", hand " << hand;
        }
        wins += match.wins;
        ties += match.ties;
        flips += match.flips;
    }
    EXPECT_EQ(wins + ties, kMatches * kHandsPerMatch);
    EXPECT_GT(flips, 0) << "stalls were part of the games";
    std::printf("%d hands: %d won, %d tied, %d flips\n", wins + ties, wins, ties, flips);
}

}  // namespace

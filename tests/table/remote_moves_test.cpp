#include "table/remote_moves.h"
#include "tests/support/deal_fixture.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

class RemoteMoves : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The client's pile 0 holds a lone card; the server's pile 1 is empty.
        const std::vector<Cards> serverMine = {{C(3, kClubs), C(9, kClubs)}, {}, {C(1, kHearts), C(4, kHearts)}, {C(6, kSpades)}, {C(8, kDiamonds)}};
        const std::vector<Cards> clientMine = {{C(kKing, kHearts)}, {C(2, kSpades), C(5, kDiamonds)}, {C(10, kHearts)}, {C(7, kDiamonds)}, {C(kQueen, kClubs)}};
        SetPiles(server().table, serverMine, clientMine, {C(kAce, kClubs)}, {C(6, kHearts)});
        SetPiles(client().table, clientMine, serverMine, {C(kAce, kClubs)}, {C(6, kHearts)});
        for (Game* g : {&server(), &client()}) {
            g->table.nExtraCardsLeft = 19;  // the counts add up to a whole deck
            g->table.nMySelectedPile = g->table.nOppSelectedPile = kNoPile;
        }
    }
    Game& server() { return copies.server.game; }
    Game& client() { return copies.client.game; }
    TwoCopies copies;
};

TEST_F(RemoteMoves, ClientPlayIsAnsweredByOneSnapshotServerPlayByNone)
{
    // The client's queen onto the king? No: the king onto the ace, legal; the receiver does not check anyway.
    SendPlayCard(client(), 0, 0);
    copies.DeliverAll();
    EXPECT_EQ(server().table.nPlayCards[0], 2);
    EXPECT_EQ(server().table.playPiles[0][1], C(kKing, kHearts));
    EXPECT_EQ(server().table.nOppPileCards[0], 0);
    EXPECT_EQ(copies.server.platform.SentTypes(), (Bytes{210}));

    // A play the rank rule would refuse is applied all the same, and the client answers nothing.
    SendPlayCard(server(), 2, 0);
    copies.DeliverAll();
    EXPECT_EQ(client().table.playPiles[0][2], C(4, kHearts));
    EXPECT_EQ(client().table.nOppPileCards[2], 1);
    EXPECT_EQ(copies.client.platform.SentTypes(), (Bytes{201})) << "only its own earlier play";
    EXPECT_EQ(copies.server.platform.SentTypes(), (Bytes{210, 201}));
    EXPECT_EQ(copies.client.platform.sounds.size(), 0u) << "remote moves are silent";
}

TEST_F(RemoteMoves, MoveToEmptyPileAndSelections)
{
    SendSelectPile(server(), 0);
    copies.DeliverAll();
    EXPECT_EQ(client().table.nOppSelectedPile, 0);
    SendMoveToEmptyPile(server(), 0, 1);
    copies.DeliverAll();
    EXPECT_EQ(client().table.nOppPileCards[0], 1);
    EXPECT_EQ(client().table.nOppPileCards[1], 1);
    EXPECT_EQ(client().table.oppPiles[1][0], C(9, kClubs));
    EXPECT_EQ(client().table.nOppSelectedPile, kNoPile) << "a move clears the highlight";
    EXPECT_EQ(CardsLeft(client().table.nOppPileCards), 6) << "a move to an empty pile never changes the total";
    EXPECT_EQ(copies.client.platform.sent.size(), 0u);

    SendSelectPile(server(), 255);
    copies.DeliverAll();
    EXPECT_EQ(client().table.nOppSelectedPile, 255);
    SendSelectPile(server(), 3);
    SendPlayCard(server(), 4, 1);
    copies.DeliverAll();
    EXPECT_EQ(client().table.nOppSelectedPile, kNoPile) << "a play from any pile clears the highlight";
}

TEST_F(RemoteMoves, ImpossibleMovesAreDroppedWhole)
{
    const Table before = client().table;
    const int drawsBefore = copies.client.platform.tableDraws;
    copies.client.platform.inbox = {201, 5, 0, 201, 0, 2, 201, 1, 0,   // pile out of range, play pile out of range, empty source
                                    202, 0, 5, 202, 2, 2, 202, 1, 3, 202, 0, 2,  // out of range, same pile, empty source, full target
                                    207, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 207, 1, 53, 0, 0, 0, 0, 0, 0, 0, 0};
    NetReceive(client());
    EXPECT_TRUE(Mirrored(server().table, client().table));
    EXPECT_TRUE(Mirrored(server().table, before));
    EXPECT_EQ(copies.client.platform.tableDraws, drawsBefore);
    EXPECT_TRUE(copies.client.platform.sent.empty());
}

TEST_F(RemoteMoves, PlayPileTopsOverwriteOnlyTheTopSlots)
{
    client().table.playPiles[1][0] = C(2, kClubs);
    client().table.playPiles[1][2] = C(3, kClubs);
    copies.client.platform.inbox = {207, 1, 3, 11, 2, 5, 5, 12, 3, 9, 1};
    NetReceive(client());
    EXPECT_EQ(client().table.nPlayCards[0], 1);
    EXPECT_EQ(client().table.playPiles[0][0], C(11, kHearts));
    EXPECT_EQ(client().table.nPlayCards[1], 3);
    EXPECT_EQ(client().table.playPiles[1][2], C(12, kSpades));
    EXPECT_EQ(client().table.playPiles[1][1], C(9, kDiamonds));
    EXPECT_EQ(client().table.playPiles[1][0], C(2, kClubs)) << "below the two top slots nothing changes";

    // Between hands it changes the piles without drawing them.
    client().table.bHandInProgress = 0;
    const int draws = copies.client.platform.tableDraws;
    copies.client.platform.inbox = {207, 2, 1, 1, 0, 2, 0, 3, 0, 4, 0};
    NetReceive(client());
    EXPECT_EQ(client().table.nPlayCards[0], 2);
    EXPECT_EQ(copies.client.platform.tableDraws, draws);
}

TEST_F(RemoteMoves, OpponentsLastCardLosesTheHand)
{
    client().table.nOppPileCards[0] = 1;
    client().table.nOppPileCards[2] = client().table.nOppPileCards[3] = client().table.nOppPileCards[4] = 0;
    copies.client.platform.answerYes = true;
    copies.client.platform.inbox = {201, 0, 0};
    NetReceive(client());
    EXPECT_EQ(client().table.bHandInProgress, 0);
    ASSERT_EQ(copies.client.platform.questions.size(), 1u);
    EXPECT_EQ(copies.client.platform.SentTypes(), (Bytes{208}));
    EXPECT_TRUE(copies.client.platform.readyButton);
}

}  // namespace

#include "table/snapshot.h"

#include "net/messages.h"
#include "net/protocol.h"
#include "table/game.h"
#include "table/paint_table.h"
#include "table/stall_flip.h"
#include "table/trace.h"

namespace {

constexpr int kCountBytes = 13;
constexpr int kCardListOffset = 1 + kCountBytes;
constexpr const char* kSectionEnd = "=========\n";

// The card list of a snapshot, traced card by card as it grows.
struct CardList {
    Game& game;
    Card cards[kDeckSize]{};
    int size = 0;

    void Append(const Card& card)
    {
        Trace(game, "%d %d %d\n", size, card.rank, card.suit);
        cards[size++] = card;
    }

    void AppendPiles(const Card piles[][kMaxPileCards], const std::uint8_t counts[])
    {
        for (int p = 0; p < kPlayerPiles; ++p) {
            for (int j = 0; j < counts[p]; ++j)
                Append(piles[p][j]);
            Trace(game, "---\n");
        }
        Trace(game, kSectionEnd);
    }
};

void TraceCounts(Game& game, const std::uint8_t counts[])
{
    for (int p = 0; p < kPlayerPiles; ++p)
        Trace(game, "%d, ", counts[p]);
    Trace(game, "\n");
}

// Only a snapshot that holds the whole deck within the limits of a table is taken.
bool DescribesWholeTable(const std::uint8_t* counts)
{
    int total = 2 * counts[0] + counts[1] + counts[2];
    if (counts[1] == 0 || counts[2] == 0)
        return false;
    for (int i = 3; i < kCountBytes; ++i) {
        if (counts[i] > kMaxPileCards)
            return false;
        total += counts[i];
    }
    return total == kDeckSize;
}

}  // namespace

void SendAllCheck(Game& game)
{
    const Table& table = game.table;
    if (CardsOnTable(table) != kDeckSize) {
        Trace(game, "SendAllCheck: table holds %d cards, nothing sent\n", CardsOnTable(table));
        return;
    }
    Trace(game, "nExtraCardsLeft = %d \n", table.nExtraCardsLeft);
    Trace(game, "nPlayCards = %d %d\n", table.nPlayCards[0], table.nPlayCards[1]);

    std::uint8_t message[MessageLength(MsgAllCheck)];
    std::uint8_t* counts = message + 1;
    counts[0] = table.nExtraCardsLeft;
    counts[1] = table.nPlayCards[0];
    counts[2] = table.nPlayCards[1];
    for (int p = 0; p < kPlayerPiles; ++p)
        counts[3 + p] = table.nMyPileCards[p];
    TraceCounts(game, table.nMyPileCards);
    for (int p = 0; p < kPlayerPiles; ++p)
        counts[8 + p] = table.nOppPileCards[p];
    TraceCounts(game, table.nOppPileCards);
    for (int i = 0; i < kCountBytes; ++i)
        Trace(game, "%d \n", counts[i]);
    Trace(game, kSectionEnd);
    Trace(game, kSectionEnd);

    CardList list{game};
    list.AppendPiles(table.myPiles, table.nMyPileCards);
    list.AppendPiles(table.oppPiles, table.nOppPileCards);
    for (int k = 0; k < table.nExtraCardsLeft; ++k) {
        list.Append(table.extraCards[0][k]);
        list.Append(table.extraCards[1][k]);
        Trace(game, "---\n");
    }
    Trace(game, kSectionEnd);
    for (int pile = 0; pile < kPlayPiles; ++pile) {
        for (int j = 0; j < table.nPlayCards[pile]; ++j)
            list.Append(table.playPiles[pile][j]);
        Trace(game, kSectionEnd);
    }
    for (int i = 0; i < kDeckSize; ++i)
        Trace(game, "%d | %d, %d # ", i, list.cards[i].rank, list.cards[i].suit);
    Trace(game, "\n");

    Trace(game, "SendAllCheck\n");
    message[0] = MsgAllCheck;
    for (int i = 0; i < kDeckSize; ++i) {
        message[kCardListOffset + 2 * i] = list.cards[i].suit;
        message[kCardListOffset + 2 * i + 1] = list.cards[i].rank;
    }
    NetSend(game, message, MessageLength(MsgAllCheck));
}

void ReceiveAllCheck(Game& game, const std::uint8_t* message)
{
    const std::uint8_t* m = message;
    Trace(game, "ReceiveAllCheck %d \n", m[0]);
    Trace(game, ">>> %d \n", m[0]);
    for (int i = 1; i <= kCountBytes; ++i)
        Trace(game, "-> %d \n", m[i]);
    for (int i = 0; i < kDeckSize; ++i)
        Trace(game, "%d | %d, %d \n", i, m[kCardListOffset + 2 * i], m[kCardListOffset + 2 * i + 1]);
    if (!DescribesWholeTable(m + 1)) {
        Trace(game, "ReceiveAllCheck: counts do not describe a whole table, ignored\n");
        return;
    }

    Table table = game.table;
    table.nExtraCardsLeft = m[1];
    Trace(game, "nExtraCardsLeft = %d \n", table.nExtraCardsLeft);
    table.nPlayCards[0] = m[2];
    table.nPlayCards[1] = m[3];
    Trace(game, "nPlayCards -> %d %d\n", table.nPlayCards[0], table.nPlayCards[1]);
    for (int i = 0; i < kPlayerPiles; ++i) {
        table.nOppPileCards[i] = m[4 + i];
        Trace(game, "Opp -> %d %d \n", i, table.nOppPileCards[i]);
    }
    for (int i = 0; i < kPlayerPiles; ++i) {
        table.nMyPileCards[i] = m[9 + i];
        Trace(game, "My -> %d %d \n", i, table.nMyPileCards[i]);
    }

    int k = 0;
    auto next = [&](const char* label) {
        const Card card{m[kCardListOffset + 2 * k], m[kCardListOffset + 2 * k + 1]};
        Trace(game, "%s %d %d %d\n", label, 2 * k + 1, card.rank, card.suit);
        ++k;
        return card;
    };
    for (int p = 0; p < kPlayerPiles; ++p) {
        for (int j = 0; j < table.nOppPileCards[p]; ++j)
            table.oppPiles[p][j] = next("OPP");
    }
    for (int p = 0; p < kPlayerPiles; ++p) {
        for (int j = 0; j < table.nMyPileCards[p]; ++j)
            table.myPiles[p][j] = next("MY");
    }
    for (int j = 0; j < table.nExtraCardsLeft; ++j) {
        table.extraCards[0][j] = next("EXTRA");
        table.extraCards[1][j] = next("EXTRA");
    }
    for (int j = 0; j < table.nPlayCards[0]; ++j)
        table.playPiles[0][j] = next("PLAY 0");
    for (int j = 0; j < table.nPlayCards[1]; ++j)
        table.playPiles[1][j] = next("PLAY 1");
    const bool flipAgain = SettleSnapshotFlips(game, table);
    if (game.repairs && !game.table.bIsServer)
        ForgetAnsweredMoves(game, table);
    game.table = table;
    if (flipAgain)
        TurnUpExtraCards(game.table);
    ReplayUnansweredMoves(game);
    PaintTable(game);
}

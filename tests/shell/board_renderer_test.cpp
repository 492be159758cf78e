#include "shell/board_geometry.h"
#include "shell/player_host.h"
#include "table/show_table.h"
#include "tests/support/deal_fixture.h"
#include "tests/support/pixels.h"

#include <gtest/gtest.h>

namespace {

const QRgb kCloth = qRgb(0, 128, 0);

// The real platform drawing a dealt table into its back buffer. Top cards lie over backs fanned by
// 4 px; selected cards are colour negatives, an empty pile a one-pixel frame. Stacks of up to five
// fan down by 4 px from y 168; taller ones start 18 px higher and fan by 3.
TEST(BoardRenderer, DealtTable)
{
    PlayerHost platform{0};
    Game& game = platform.game();
    Table& t = game.table;
    const QImage& buffer = platform.renderer().backBuffer();
    const QImage faces = QImage(":/cards.png").convertToFormat(QImage::Format_RGB32);
    const QImage backs = QImage(":/card_back.png").convertToFormat(QImage::Format_RGB32);
    auto region = [&](int x, int y, int w = kCardWidth, int h = kCardHeight) { return buffer.copy(x, y, w, h); };
    auto face = [&](Card c) { return faces.copy(kCardWidth * c.rank, kCardHeight * c.suit, kCardWidth, kCardHeight); };
    auto back = [&](int rows = kCardHeight) { return backs.copy(0, 0, kCardWidth, rows); };
    auto negative = [](QImage image) { return image.invertPixels(), image; };
    Deck deck;
    std::srand(3);
    BuildShuffledDeck(deck);
    LayOutDealOnTable(t, deck, true);
    t.handInProgress = true;
    ShowTable(game);

    EXPECT_EQ(region(147, 168), face(t.centrePiles[0].cards[0]));
    EXPECT_EQ(region(242, 168), face(t.centrePiles[1].cards[0]));
    for (int p = 0; p < kPlayerPiles; ++p) {
        const int x = 20 + 86 * p, n = p + 2;
        EXPECT_EQ(region(x, 312 + 4 * (n - 1)), face(t.yourPiles[p].cards[n - 1])) << "my pile " << p;
        EXPECT_EQ(region(x, 20 + 4 * (n - 1)), face(t.opponentPiles[p].cards[n - 1])) << "their pile " << p;
        for (int j = 0; j + 1 < n; ++j) {
            EXPECT_EQ(region(x, 312 + 4 * j, kCardWidth, 4), back(4)) << p << "/" << j;
            EXPECT_EQ(region(x, 20 + 4 * j, kCardWidth, 4), back(4)) << p << "/" << j;
        }
        EXPECT_EQ(buffer.pixel(x + 35, 311), kCloth);
        EXPECT_EQ(buffer.pixel(x + 35, 312 + 4 * (n - 1) + kCardHeight), kCloth);
    }

    for (const auto& [cards, top, step] : {std::tuple{5, 168, 4}, std::tuple{6, 150, 3}}) {
        t.stackHeight = static_cast<std::uint8_t>(cards);
        ShowTable(game);
        for (const int x : {20, 364}) {
            for (int i = 0; i + 1 < cards; ++i)
                EXPECT_EQ(region(x, top + step * i, kCardWidth, step), back(step)) << cards << "/" << i;
            EXPECT_EQ(region(x, top + step * (cards - 1)), back()) << cards;
            EXPECT_EQ(buffer.pixel(x + 35, top - 1), kCloth) << cards;
        }
    }

    t.yourSelectedPile = 2;
    t.opponentSelectedPile = 4;
    ShowTable(game);
    EXPECT_EQ(region(192, 312 + 12), negative(face(t.yourPiles[2].cards[3])));
    EXPECT_EQ(region(364, 20 + 20), negative(face(t.opponentPiles[4].cards[5])));
    EXPECT_EQ(region(278, 312 + 16), face(t.yourPiles[3].cards[4]));
    t.opponentSelectedPile = 255;  // a byte from the peer that names no pile
    t.yourPiles[1].count = 0;
    ShowTable(game);
    EXPECT_EQ(region(364, 20 + 20), face(t.opponentPiles[4].cards[5]));
    EXPECT_EQ(Find(region(96, 302, 91, 116), qRgb(0, 192, 0)),
              std::pair(2 * kCardWidth + 2 * kCardHeight - 4, QRect(10, 10, kCardWidth, kCardHeight)));
    EXPECT_EQ(Find(region(107, 313, kCardWidth - 2, kCardHeight - 2), kCloth).first, (kCardWidth - 2) * (kCardHeight - 2));
    game.hand.stallHint = StallHint::FillYours;
    ShowTable(game);
    EXPECT_NEAR(Find(region(230, 440, 230, 40), qRgb(0, 192, 0)).second.right(), 452 - 230, 2) << "the hint, right-aligned";
}

// At a device pixel ratio of 2 every position doubles: cards come from the 2x art, an empty pile's
// frame is two device pixels thick, and text is drawn in a font twice the size, in its one colour.
TEST(BoardRenderer, TwiceTheDevicePixels)
{
    BoardRenderer one(1), two(2);
    const QImage& buffer = two.backBuffer();
    EXPECT_EQ(buffer.size(), QSize(920, 1070));
    const QImage faces = QImage(":/cards@2x.png").convertToFormat(QImage::Format_RGB32);
    Table t;
    Deck deck;
    std::srand(3);
    BuildShuffledDeck(deck);
    LayOutDealOnTable(t, deck, true);
    t.yourPiles[1].count = 0;
    two.DrawTableCards(t);
    const Card c = t.centrePiles[1].cards[0];
    EXPECT_EQ(buffer.copy(484, 336, 142, 192), faces.copy(142 * c.rank, 192 * c.suit, 142, 192));
    EXPECT_EQ(Find(buffer.copy(192, 604, 182, 232), qRgb(0, 192, 0)), std::pair(142 * 192 - 138 * 188, QRect(20, 20, 142, 192)));

    for (BoardRenderer* r : {&one, &two}) {
        r->ClearBackBuffer();
        r->DrawLargeText(95, 265, "Flip in 3 ..");
    }
    const QRect ink = Find(one.backBuffer(), qRgb(0, 255, 0)).second;
    const auto [inked, at] = Find(buffer, qRgb(0, 255, 0));
    EXPECT_EQ(inked + Find(buffer, kCloth).first, 920 * 1070) << "no smoothed edges";
    EXPECT_NEAR(at.left(), 2 * ink.left(), 2);
    EXPECT_NEAR(at.top(), 2 * ink.top(), 2);
    EXPECT_NEAR(at.width(), 2 * ink.width(), 4);
}

// What each phase says, and where: the same pixels as the lines drawn one by one.
TEST(BoardRenderer, EachPhaseSaysItsLinesWhereTheyBelong)
{
    struct Line {
        int x, y;
        const char* text;
    };
    Table table;
    Deck deck;
    FillFreshDeck(deck);
    LayOutDealOnTable(table, deck, false);
    const Score score;
    using enum Phase;
    const std::tuple<Phase, int, bool, bool, std::vector<Line>> cases[] = {
        {WaitingForOpponent, 0, false, false, {}},
        {ReadyHandshake, 0, true, false, {{40, 250, "Waiting for Opponent"}}},
        {StartCountdown, 4, true, false, {{40, 250, "Game starts in 4 sec"}}},
        {StartCountdown, 0, true, false, {{40, 250, "Game starts in 1 sec"}}},
        {InHand, 0, false, true, {}},
        {FlipCountdown, 2, false, true, {{115, 125, "Can't Proceed"}, {95, 265, "Flipping in 2 sec"}}},
        {Won, 0, false, true, {{130, 120, "You Won !!!"}, {60, 315, "Waiting for Opponent"}, {125, 365, "to go again.."}}},
        {LostAndAsked, 0, false, true, {}},
        {Tie, 0, false, true, {{170, 120, "Tie !!!"}}},
        {OpponentWantsAgain, 0, false, false, {{65, 100, "Your Opponent"}, {60, 145, "wants to go again.."}}},
    };
    BoardRenderer shown(1), expected(1);
    for (const auto& [phase, seconds, ready, cards, lines] : cases) {
        SCOPED_TRACE(static_cast<int>(phase));
        shown.Render(View{phase, table, seconds, StallHint::None, ready, false, score}, phase == FlipCountdown);
        expected.ClearBackBuffer();
        if (cards)
            expected.DrawTableCards(table);
        for (const Line& line : lines)
            expected.DrawLargeText(line.x, line.y, line.text);
        EXPECT_EQ(shown.backBuffer(), expected.backBuffer());
    }

    // Each picture is drawn over the last one's; at any ratio nothing of that shows through.
    for (const qreal ratio : {1.0, 1.5, 2.0}) {
        BoardRenderer drawnOver(ratio), fresh(ratio);
        for (const auto& [phase, seconds, ready, cards, lines] : cases)
            drawnOver.Render(View{phase, table, seconds, StallHint::FillYours, ready, false, score}, true);
        fresh.Render(View{OpponentWantsAgain, table, 0, StallHint::None, false, false, score});
        EXPECT_EQ(drawnOver.backBuffer(), fresh.backBuffer()) << ratio;
    }
}

}  // namespace

#include "table/board_geometry.h"
#include "table/deal.h"
#include "table/paint_table.h"
#include "tests/support/deal_fixture.h"
#include "tests/support/image_compare.h"
#include "tests/support/rendering_platform.h"

#include <QCoreApplication>
#include <QPainter>

#include "shell/pixel_font.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

const QRgb kCloth = qRgb(0, 128, 0);
const QRgb kOutline = qRgb(0, 192, 0);

QImage Sheet()
{
    return QImage(":/cards.png").convertToFormat(QImage::Format_RGB32);
}

QImage Face(const Card& card, bool inverted = false)
{
    QImage face = Sheet().copy(kCardWidth * card.rank, kCardHeight * card.suit, kCardWidth, kCardHeight);
    if (inverted)
        face.invertPixels();
    return face;
}

QImage Back()
{
    return QImage(":/card_back.png").convertToFormat(QImage::Format_RGB32);
}

class BoardRendering : public ::testing::Test {
protected:
    void SetUp() override
    {
        Deck deck;
        std::srand(3);
        BuildShuffledDeck(deck);
        ReceiveDeal(game, DealMessage(deck).data());
    }

    QImage Region(int x, int y, int width = kCardWidth, int height = kCardHeight) const
    {
        return buffer().copy(x, y, width, height);
    }
    const QImage& buffer() const { return platform.renderer.backBuffer(); }
    Table& t() { return game.table; }

    RenderingPlatform platform;
    Game game{platform};
};

TEST_F(BoardRendering, ArtworkHasTheSheetLayoutAndGreenCorners)
{
    const QImage sheet = Sheet();
    ASSERT_EQ(sheet.size(), QSize(923, 384));
    ASSERT_EQ(Back().size(), QSize(71, 96));
    for (int suit = 0; suit < kSuits; ++suit) {
        for (int rank = 0; rank < kRanks; ++rank) {
            const int x = kCardWidth * rank;
            const int y = kCardHeight * suit;
            for (const QPoint corner : {QPoint(x, y), QPoint(x + 70, y), QPoint(x, y + 95), QPoint(x + 70, y + 95)})
                EXPECT_EQ(sheet.pixel(corner), kCloth) << "card " << rank << " of suit " << suit;
            EXPECT_EQ(sheet.pixel(x + 35, y + 2), qRgb(255, 255, 255)) << "paper along the top edge";
        }
    }
    // Hearts and diamonds are red somewhere on their faces, clubs and spades never.
    auto hasRed = [&](int suit) {
        for (int y = 96 * suit; y < 96 * (suit + 1); ++y)
            for (int x = 0; x < 71; ++x)
                if (qRed(sheet.pixel(x, y)) > 150 && qGreen(sheet.pixel(x, y)) < 80)
                    return true;
        return false;
    };
    EXPECT_FALSE(hasRed(kClubs));
    EXPECT_TRUE(hasRed(kDiamonds));
    EXPECT_TRUE(hasRed(kHearts));
    EXPECT_FALSE(hasRed(kSpades));
}

TEST_F(BoardRendering, BeforeAnyDealTheClothIsPlain)
{
    RenderingPlatform fresh;
    Game idle{fresh};
    PaintTable(idle);
    const QImage& image = fresh.renderer.backBuffer();
    ASSERT_EQ(image.size(), QSize(kClientWidth, kClientHeight));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), kCloth) << x << "," << y;
    EXPECT_EQ(fresh.mainInvalidations, 0);
}

TEST_F(BoardRendering, TopCardsAndFannedBacksOfADealtTable)
{
    EXPECT_TRUE(SamePixels(Region(147, 168), Face(t().playPiles[0][0])));
    EXPECT_TRUE(SamePixels(Region(242, 168), Face(t().playPiles[1][0])));
    const QImage back = Back();
    for (int p = 0; p < kPlayerPiles; ++p) {
        const int x = PileX(p);
        const int n = p + 2;
        EXPECT_TRUE(SamePixels(Region(x, 312 + 4 * (n - 1)), Face(t().myPiles[p][n - 1]))) << "my pile " << p;
        EXPECT_TRUE(SamePixels(Region(x, 20 + 4 * (n - 1)), Face(t().oppPiles[p][n - 1]))) << "their pile " << p;
        for (int j = 0; j + 1 < n; ++j) {
            EXPECT_TRUE(SamePixels(Region(x, 312 + 4 * j, kCardWidth, 4), back.copy(0, 0, kCardWidth, 4))) << p << "/" << j;
            EXPECT_TRUE(SamePixels(Region(x, 20 + 4 * j, kCardWidth, 4), back.copy(0, 0, kCardWidth, 4))) << p << "/" << j;
        }
        EXPECT_EQ(game.board.rcMyPiles[p], (Rect{x, 312 + 4 * (n - 1), x + 71, 408 + 4 * (n - 1)}));
    }
    EXPECT_EQ(buffer().pixel(PileX(4) + 35, 312 - 1), kCloth);
    EXPECT_EQ(buffer().pixel(PileX(4) + 35, 332 + 96), kCloth);
    // For a person to look at, beside the test program.
    EXPECT_TRUE(buffer().save(QCoreApplication::applicationDirPath() + "/dealt_table.png"));
}

TEST_F(BoardRendering, SelectedCardsAreColourNegatives)
{
    t().nMySelectedPile = 2;
    t().nOppSelectedPile = 4;
    PaintTable(game);
    EXPECT_TRUE(SamePixels(Region(PileX(2), 312 + 12), Face(t().myPiles[2][3], true)));
    EXPECT_TRUE(SamePixels(Region(PileX(4), 20 + 20), Face(t().oppPiles[4][5], true)));
    EXPECT_TRUE(SamePixels(Region(PileX(1), 312 + 8), Face(t().myPiles[1][2])));

    t().nOppSelectedPile = 255;  // a byte from the peer that names no pile
    t().nMySelectedPile = kNoPile;
    PaintTable(game);
    EXPECT_TRUE(SamePixels(Region(PileX(4), 20 + 20), Face(t().oppPiles[4][5])));
    EXPECT_TRUE(SamePixels(Region(PileX(2), 312 + 12), Face(t().myPiles[2][3])));
}

TEST_F(BoardRendering, EmptyPileIsAOnePixelFrame)
{
    t().nMyPileCards[1] = 0;
    t().nOppPileCards[3] = 0;
    PaintTable(game);
    for (const auto& [x, y] : {std::pair{PileX(1), 312}, std::pair{PileX(3), 20}}) {
        for (int i = 0; i < kCardWidth; ++i) {
            EXPECT_EQ(buffer().pixel(x + i, y), kOutline);
            EXPECT_EQ(buffer().pixel(x + i, y + 95), kOutline);
        }
        for (int j = 0; j < kCardHeight; ++j) {
            EXPECT_EQ(buffer().pixel(x, y + j), kOutline);
            EXPECT_EQ(buffer().pixel(x + 70, y + j), kOutline);
        }
        EXPECT_EQ(buffer().pixel(x + 1, y + 1), kCloth);
        EXPECT_EQ(buffer().pixel(x + 35, y + 48), kCloth);
        EXPECT_EQ(buffer().pixel(x - 1, y), kCloth);
        EXPECT_EQ(buffer().pixel(x + 71, y + 96), kCloth);
    }
    EXPECT_EQ(game.board.rcMyPiles[1], (Rect{PileX(1), 312, PileX(1) + 71, 408}));
}

TEST_F(BoardRendering, ReplacementStacksOfFiveAndSix)
{
    const QImage back = Back();
    // Stack size, top of the first back, step between backs.
    for (const auto& [cards, top, step] : {std::tuple{5, 168, 4}, std::tuple{6, 150, 3}}) {
        t().nExtraCardsLeft = static_cast<std::uint8_t>(cards);
        PaintTable(game);
        for (const int x : {20, 364}) {
            for (int i = 0; i + 1 < cards; ++i)
                EXPECT_TRUE(SamePixels(Region(x, top + step * i, kCardWidth, step), back.copy(0, 0, kCardWidth, step)));
            EXPECT_TRUE(SamePixels(Region(x, top + step * (cards - 1)), back));
            EXPECT_EQ(buffer().pixel(x + 35, top - 1), kCloth) << cards;
        }
    }
    t().nExtraCardsLeft = 0;
    PaintTable(game);
    for (int y = 150; y < 280; ++y)
        EXPECT_EQ(buffer().pixel(40, y), kCloth) << y;
}

// Draws a line of text as the board should, to compare with what it did.
QImage ExpectedText(const QString& text, int pixelSize, QRgb colour, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kCloth);
    QPainter painter(&image);
    const QFont font = PixelFont(pixelSize);
    painter.setFont(font);
    painter.setPen(QColor(colour));
    painter.drawText(0, QFontMetrics(font).ascent(), text);
    return image;
}

TEST_F(BoardRendering, CountLinesAndTheStandingLargeText)
{
    const QSize lineSize(300, 12);
    EXPECT_TRUE(SamePixels(Region(5, 452, 300, 12), ExpectedText("You have 20 cards left", 11, kOutline, lineSize)));
    EXPECT_TRUE(SamePixels(Region(5, 464, 300, 12), ExpectedText("Opponent has 20 cards left", 11, kOutline, lineSize)));

    t().nMyPileCards[4] = 1;
    t().nOppPileCards[0] = 0;
    PaintTable(game);
    EXPECT_TRUE(SamePixels(Region(5, 452, 300, 12), ExpectedText("You have 15 cards left", 11, kOutline, lineSize)));
    EXPECT_TRUE(SamePixels(Region(5, 464, 300, 12), ExpectedText("Opponent has 18 cards left", 11, kOutline, lineSize)));

    platform.renderer.ClearBackBuffer();
    platform.renderer.DrawLargeText(40, 250, "Waiting for Opponent");
    EXPECT_TRUE(SamePixels(Region(40, 250, 420, 45), ExpectedText("Waiting for Opponent", 37, qRgb(0, 255, 0), QSize(420, 45))));
}

}  // namespace

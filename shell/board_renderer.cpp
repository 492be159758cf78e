#include "shell/board_renderer.h"

#include "shell/pixel_font.h"

#include "table/board_geometry.h"

#include <QPainter>

namespace {

const QColor kCloth(0, 128, 0);
const QColor kOutline(0, 192, 0);
const QColor kCountText(0, 192, 0);
const QColor kLargeText(0, 255, 0);

QImage LoadImage(const char* resource)
{
    return QImage(resource).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

BoardRenderer::BoardRenderer()
    : backBuffer_(kClientWidth, kClientHeight, QImage::Format_RGB32),
      cardSheet_(LoadImage(":/cards.png")),
      invertedCardSheet_(cardSheet_),
      cardBackImage_(LoadImage(":/card_back.png")),
      largeTextFont_(PixelFont(37)),
      countFont_(PixelFont(11))
{
    invertedCardSheet_.invertPixels();
    ClearBackBuffer();
}

void BoardRenderer::ClearBackBuffer()
{
    backBuffer_.fill(kCloth);
}

void BoardRenderer::DrawCard(const Card& card, bool inverted, int x, int y)
{
    QPainter painter(&backBuffer_);
    painter.drawImage(QPoint(x, y), inverted ? invertedCardSheet_ : cardSheet_,
                      QRect(kCardWidth * card.rank, kCardHeight * card.suit, kCardWidth, kCardHeight));
}

void BoardRenderer::DrawCardBack(int x, int y)
{
    QPainter painter(&backBuffer_);
    painter.drawImage(x, y, cardBackImage_);
}

void BoardRenderer::DrawPlayerPiles(const Card piles[][kMaxPileCards], const std::uint8_t counts[], int top, int selected)
{
    for (int p = 0; p < kPlayerPiles; ++p) {
        const Rect r = PileTopRect(p, top, counts[p]);
        if (counts[p] == 0) {
            QPainter painter(&backBuffer_);
            painter.setPen(kOutline);
            painter.drawRect(r.left, r.top, kCardWidth - 1, kCardHeight - 1);
            continue;
        }
        for (int j = 0; j + 1 < counts[p]; ++j)
            DrawCardBack(r.left, top + kFanStep * j);
        DrawCard(piles[p][counts[p] - 1], p == selected, r.left, r.top);
    }
}

void BoardRenderer::DrawTableCards(const Table& table)
{
    for (int k = 0; k < kPlayPiles; ++k) {
        if (table.nPlayCards[k] > 0)
            DrawCard(table.playPiles[k][table.nPlayCards[k] - 1], false, kPlayPileRects[k].left, kPlayPileRects[k].top);
    }
    for (int i = 0; i < table.nExtraCardsLeft; ++i) {
        DrawCardBack(kLeftStackX, StackCardY(table.nExtraCardsLeft, i));
        DrawCardBack(kRightStackX, StackCardY(table.nExtraCardsLeft, i));
    }
    DrawPlayerPiles(table.myPiles, table.nMyPileCards, kMyPilesTop, table.nMySelectedPile);
    DrawPlayerPiles(table.oppPiles, table.nOppPileCards, kOppPilesTop, table.nOppSelectedPile);

    DrawText(countFont_, kCountText, 5, 452, QString("You have %1 cards left").arg(CardsLeft(table.nMyPileCards)));
    DrawText(countFont_, kCountText, 5, 464, QString("Opponent has %1 cards left").arg(CardsLeft(table.nOppPileCards)));
}

void BoardRenderer::DrawLargeText(int x, int y, std::string_view text)
{
    DrawText(largeTextFont_, kLargeText, x, y, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void BoardRenderer::DrawText(const QFont& font, QColor colour, int x, int y, const QString& text)
{
    QPainter painter(&backBuffer_);
    painter.setFont(font);
    painter.setPen(colour);
    DrawTextCell(painter, x, y, text);
}

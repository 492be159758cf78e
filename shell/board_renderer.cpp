#include "shell/board_renderer.h"

#include "shell/pixel_font.h"

#include "shell/board_geometry.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

const QColor kCloth(0, 128, 0);
const QColor kOutline(0, 192, 0);
const QColor kCountText(0, 192, 0);
const QColor kLargeText(0, 255, 0);

// Art is handled in device pixels throughout: an @2x file would otherwise
// be drawn at half its size.
QImage LoadImage(const QString& resource)
{
    QImage image = QImage(resource).convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    return image;
}

// The art drawn for the ratio, or else the 2x art smoothed cell by cell to
// the card's size in device pixels.
QImage LoadArt(const QString& name, qreal ratio, QSize cell, int columns, int rows)
{
    if (ratio == 1)
        return LoadImage(name + ".png");
    const QImage art = LoadImage(name + "@2x.png");
    if (ratio == 2)
        return art;
    QImage scaled(cell.width() * columns, cell.height() * rows, QImage::Format_RGB32);
    QPainter painter(&scaled);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            painter.drawImage(column * cell.width(), row * cell.height(),
                              art.copy(2 * kCardWidth * column, 2 * kCardHeight * row, 2 * kCardWidth, 2 * kCardHeight)
                                  .scaled(cell, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return scaled;
}

qreal HighestScreenRatio()
{
    qreal ratio = 1;
    for (const QScreen* screen : QGuiApplication::screens())
        ratio = std::max(ratio, screen->devicePixelRatio());
    return ratio;
}

// Paints in device pixels, where the logical scale would put card and frame
// edges between pixels at ratios such as 1.5.
class DevicePainter : public QPainter {
public:
    explicit DevicePainter(QImage& image) : QPainter(&image)
    {
        scale(1 / image.devicePixelRatio(), 1 / image.devicePixelRatio());
    }
};

}  // namespace

BoardRenderer::BoardRenderer() : BoardRenderer(HighestScreenRatio()) {}

BoardRenderer::BoardRenderer(qreal devicePixelRatio)
    : ratio_(devicePixelRatio),
      cardSize_(qRound(kCardWidth * ratio_), qRound(kCardHeight * ratio_)),
      backBuffer_(static_cast<int>(std::ceil(kClientWidth * ratio_)), static_cast<int>(std::ceil(kClientHeight * ratio_)),
                  QImage::Format_RGB32),
      cardSheet_(LoadArt(":/cards", ratio_, cardSize_, kRanks, kSuits)),
      invertedCardSheet_(cardSheet_),
      cardBackImage_(LoadArt(":/card_back", ratio_, cardSize_, 1, 1)),
      // A font enlarged by the painter past 64 px is filled as outlines with
      // smoothing, whatever the font asks; a device-sized font stays hard-edged.
      largeTextFont_(PixelFont(qRound(37 * ratio_))),
      countFont_(PixelFont(qRound(11 * ratio_)))
{
    backBuffer_.setDevicePixelRatio(ratio_);
    invertedCardSheet_.invertPixels();
    drawn_.push_back(backBuffer_.rect());
    ClearBackBuffer();
}

// Filling the whole buffer was a third of a redraw; only what was drawn on goes back to cloth.
void BoardRenderer::ClearBackBuffer()
{
    const QRgb cloth = kCloth.rgb();
    uchar* const pixels = backBuffer_.bits();
    const qsizetype rowBytes = backBuffer_.bytesPerLine();
    for (const QRect& drawn : drawn_) {
        const QRect r = drawn.intersected(backBuffer_.rect());
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(pixels + y * rowBytes) + r.left(), r.width(), cloth);
    }
    drawn_.clear();
}

void BoardRenderer::DrawCard(QPainter& painter, const Card& card, bool inverted, int x, int y)
{
    drawn_.emplace_back(DevicePoint(x, y), cardSize_);
    painter.drawImage(drawn_.back().topLeft(), inverted ? invertedCardSheet_ : cardSheet_,
                      QRect(QPoint(cardSize_.width() * card.rank, cardSize_.height() * card.suit), cardSize_));
}

void BoardRenderer::DrawCardBack(QPainter& painter, int x, int y, int coveredFrom)
{
    const QPoint at = DevicePoint(x, y);
    const int rows = std::min(cardSize_.height(), DevicePoint(x, coveredFrom).y() - at.y());
    drawn_.emplace_back(at, QSize(cardSize_.width(), rows));
    painter.drawImage(at, cardBackImage_, QRect(0, 0, cardSize_.width(), rows));
}

void BoardRenderer::DrawPlayerPiles(QPainter& painter, const Piles& piles, int top, int selected)
{
    for (int p = 0; p < kPlayerPiles; ++p) {
        const Rect r = PileTopRect(p, top, piles[p].count);
        if (piles[p].count == 0) {
            // A frame around the card's place, a logical pixel thick in whole device pixels.
            const QRect outer(DevicePoint(r.left, r.top), DevicePoint(r.right, r.bottom) - QPoint(1, 1));
            const int width = std::max(1, qRound(ratio_));
            painter.save();
            painter.setClipRegion(QRegion(outer).subtracted(outer.adjusted(width, width, -width, -width)));
            painter.fillRect(outer, kOutline);
            drawn_.push_back(outer);
            painter.restore();
            continue;
        }
        for (int j = 0; j + 1 < piles[p].count; ++j)
            DrawCardBack(painter, r.left, top + kFanStep * j, top + kFanStep * (j + 1));
        DrawCard(painter, TopCard(piles[p]), p == selected, r.left, r.top);
    }
}

void BoardRenderer::DrawTableCards(const Table& table)
{
    DevicePainter painter(backBuffer_);
    for (int k = 0; k < kCentrePiles; ++k) {
        if (table.centrePiles[k].count > 0)
            DrawCard(painter, TopCard(table.centrePiles[k]), false, kCentrePileRects[k].left, kCentrePileRects[k].top);
    }
    const int height = table.stackHeight;
    for (int i = 0; i < height; ++i) {
        // The top card of a stack shows whole.
        const int coveredFrom = i + 1 < height ? StackCardY(height, i + 1) : kClientHeight;
        DrawCardBack(painter, kLeftStackX, StackCardY(height, i), coveredFrom);
        DrawCardBack(painter, kRightStackX, StackCardY(height, i), coveredFrom);
    }
    DrawPlayerPiles(painter, table.yourPiles, kYourPilesTop, table.yourSelectedPile);
    DrawPlayerPiles(painter, table.opponentPiles, kOpponentPilesTop, table.opponentSelectedPile);
    painter.end();

    DrawText(countFont_, kCountText, 5, 452, QString("You have %1 cards left").arg(CardsLeft(table.yourPiles)));
    DrawText(countFont_, kCountText, 5, 464, QString("Opponent has %1 cards left").arg(CardsLeft(table.opponentPiles)));
}

namespace {

const char* StallHintText(StallHint hint)
{
    switch (hint) {
    case StallHint::FillYours: return "Fill your empty pile";
    case StallHint::OpponentFills: return "Your opponent can fill an empty pile";
    case StallHint::None: break;
    }
    return "";
}

}  // namespace

void BoardRenderer::Render(const View& view, bool flipCountdown)
{
    ClearBackBuffer();
    switch (view.phase) {
    case Phase::WaitingForOpponent: break;
    case Phase::ReadyHandshake:
        if (view.youAreReady)
            DrawLargeText(40, 250, "Waiting for Opponent");
        break;
    case Phase::StartCountdown:
        // Run out before the deal came: its last line stays.
        DrawCountdownText(40, 250, "Game starts in ", std::max(view.countdownSeconds, 1));
        break;
    case Phase::InHand:
    case Phase::FlipCountdown:
        DrawTableCards(view.table);
        if (view.hint != StallHint::None)
            DrawHint(StallHintText(view.hint));
        if (flipCountdown) {
            DrawLargeText(115, 125, "Can't Proceed");
            DrawCountdownText(95, 265, "Flipping in ", view.countdownSeconds);
        }
        break;
    case Phase::Won:
        DrawTableCards(view.table);
        DrawLargeText(130, 120, "You Won !!!");
        DrawLargeText(60, 315, "Waiting for Opponent");
        DrawLargeText(125, 365, "to go again..");
        break;
    case Phase::LostAndAsked: DrawTableCards(view.table); break;
    case Phase::Tie:
        DrawTableCards(view.table);
        DrawLargeText(170, 120, "Tie !!!");
        break;
    case Phase::OpponentWantsAgain:
        DrawLargeText(65, 100, "Your Opponent");
        DrawLargeText(60, 145, "wants to go again..");
        break;
    }
}

void BoardRenderer::DrawCountdownText(int x, int y, std::string_view before, int seconds)
{
    DrawText(largeTextFont_, kLargeText, x, y,
             QString::fromUtf8(before.data(), static_cast<qsizetype>(before.size())) + QString::number(seconds) + " sec");
}

void BoardRenderer::DrawLargeText(int x, int y, std::string_view text)
{
    DrawText(largeTextFont_, kLargeText, x, y, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void BoardRenderer::DrawHint(std::string_view text)
{
    DrawText(countFont_, kCountText, kClientWidth - 5, 458, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
             Qt::AlignRight);
}

void BoardRenderer::DrawText(const QFont& font, QColor colour, int x, int y, const QString& text, Qt::Alignment alignment)
{
    DevicePainter painter(backBuffer_);
    painter.setFont(font);
    painter.setPen(colour);
    QPoint at = DevicePoint(x, y);
    // Measured in the font drawn, which does not scale evenly with the ratio.
    const QFontMetrics metrics(font);
    const int advance = metrics.horizontalAdvance(text);
    if (alignment & Qt::AlignRight)
        at.rx() -= advance;
    // With room for what a glyph may reach beyond its advance.
    const int overhang = metrics.height() / 2;
    drawn_.emplace_back(at.x() - overhang, at.y() - overhang, advance + 2 * overhang, metrics.height() + 2 * overhang);
    DrawTextCell(painter, at.x(), at.y(), text);
}

QPoint BoardRenderer::DevicePoint(int x, int y) const
{
    return QPoint(qRound(x * ratio_), qRound(y * ratio_));
}

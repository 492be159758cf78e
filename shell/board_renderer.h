#pragma once

#include "table/table.h"
#include "table/view.h"

#include <QFont>
#include <QImage>

#include <string_view>
#include <vector>

class QPainter;

// The back buffer and the card images: everything the table is drawn with.
// Between calls the buffer's standing text is 37-px arial in RGB(0, 255, 0),
// drawn without a background. Positions are logical pixels; the buffer holds
// devicePixelRatio device pixels to each, so it is sharp on dense screens.
class BoardRenderer {
public:
    // At the highest ratio among the screens: the buffer is not redrawn
    // when the window moves, so a denser screen later would get it enlarged.
    BoardRenderer();
    explicit BoardRenderer(qreal devicePixelRatio);

    // The board as the view has it, in place of the last picture. With
    // `flipCountdown`, the flip countdown's second goes over the table.
    void Render(const View& view, bool flipCountdown = false);

    void ClearBackBuffer();
    // The piles, stacks and count lines of a hand in progress over the cloth.
    void DrawTableCards(const Table& table);
    void DrawLargeText(int x, int y, std::string_view text);
    // A short line right-aligned beside the count lines, in their green.
    void DrawHint(std::string_view text);
    // The standing text and its number, as "Game starts in 5 sec".
    void DrawCountdownText(int x, int y, std::string_view before, int seconds);

    const QImage& backBuffer() const { return backBuffer_; }

private:
    void DrawCard(QPainter& painter, const Card& card, bool inverted, int x, int y);
    // A back whose rows from `coveredFrom` down the next card of its pile
    // covers: only what stays in sight is drawn.
    void DrawCardBack(QPainter& painter, int x, int y, int coveredFrom);
    void DrawPlayerPiles(QPainter& painter, const Piles& piles, int top, int selected);
    // At (x, y) the top-left of the text's cell, or its top-right.
    void DrawText(const QFont& font, QColor colour, int x, int y, const QString& text, Qt::Alignment alignment = Qt::AlignLeft);
    QPoint DevicePoint(int x, int y) const;

    qreal ratio_;
    QSize cardSize_;  // in device pixels
    QImage backBuffer_;
    QImage cardSheet_;
    QImage invertedCardSheet_;
    QImage cardBackImage_;
    QFont largeTextFont_;
    QFont countFont_;
    // In device pixels, where something other than cloth was drawn since the
    // buffer was last cleared; the rest is cloth still.
    std::vector<QRect> drawn_;
};

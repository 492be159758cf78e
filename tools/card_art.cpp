// Generates Flinthand's bitmaps: the 52 card faces and the card back, at 1x
// and at 2x for high-density screens, and the program icon. Everything is
// drawn from vector shapes so the output is the same on every machine that
// has the Liberation fonts.
//
// Usage: card_art OUTPUT_DIR

#include "shell/board_geometry.h"

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QSizeF>
#include <QString>
#include <QTransform>

#include <array>
#include <cstdio>
#include <vector>

namespace {

constexpr QPointF kCardCentre(kCardWidth / 2.0, kCardHeight / 2.0);

// The game paints cards straight onto the table, so anything outside the
// rounded outline must be exactly the table colour.
const QColor kTableGreen(0, 128, 0);
const QColor kPaper(255, 255, 255);
const QColor kInk(22, 22, 26);
const QColor kRed(204, 18, 36);
const QColor kCourtFill(252, 240, 200);
const QColor kGold(232, 176, 24);

// Large enough that the two edge pixels next to each corner stay untouched
// by antialiasing.
constexpr qreal kCornerRadius = 7.0;

enum Suit { Clubs, Diamonds, Hearts, Spades };
enum Rank { Ace = 0, Ten = 9, Jack = 10, Queen = 11, King = 12 };

bool IsRed(int suit)
{
    return suit == Diamonds || suit == Hearts;
}

QColor SuitColour(int suit)
{
    return IsRed(suit) ? kRed : kInk;
}

// --- Suit shapes, drawn in a unit box centred on the origin -------------

QPainterPath HeartShape()
{
    QPainterPath p;
    p.moveTo(0, 0.5);
    p.cubicTo(-0.18, 0.3, -0.5, 0.1, -0.5, -0.2);
    p.cubicTo(-0.5, -0.38, -0.38, -0.5, -0.25, -0.5);
    p.cubicTo(-0.1, -0.5, -0.02, -0.4, 0, -0.3);
    p.cubicTo(0.02, -0.4, 0.1, -0.5, 0.25, -0.5);
    p.cubicTo(0.38, -0.5, 0.5, -0.38, 0.5, -0.2);
    p.cubicTo(0.5, 0.1, 0.18, 0.3, 0, 0.5);
    p.closeSubpath();
    return p;
}

QPainterPath DiamondShape()
{
    QPainterPath p;
    p.moveTo(0, -0.5);
    p.quadTo(0.18, -0.2, 0.42, 0);
    p.quadTo(0.18, 0.2, 0, 0.5);
    p.quadTo(-0.18, 0.2, -0.42, 0);
    p.quadTo(-0.18, -0.2, 0, -0.5);
    p.closeSubpath();
    return p;
}

// Flared foot shared by clubs and spades. Runs clockwise like the other
// subpaths so the winding fill unites them instead of punching holes.
void AddStem(QPainterPath& p)
{
    p.moveTo(0.04, 0.05);
    p.quadTo(0.06, 0.4, 0.2, 0.5);
    p.lineTo(-0.2, 0.5);
    p.quadTo(-0.06, 0.4, -0.04, 0.05);
    p.closeSubpath();
}

QPainterPath ClubShape()
{
    constexpr qreal r = 0.225;
    QPainterPath p;
    p.setFillRule(Qt::WindingFill);
    p.addEllipse(QPointF(0, -0.275), r, r);
    p.addEllipse(QPointF(-0.275, 0.075), r, r);
    p.addEllipse(QPointF(0.275, 0.075), r, r);
    p.addEllipse(QPointF(0, -0.02), 0.14, 0.14);
    AddStem(p);
    return p;
}

QPainterPath SpadeShape()
{
    QPainterPath p;
    p.setFillRule(Qt::WindingFill);
    p.moveTo(0, -0.5);
    p.cubicTo(0.18, -0.26, 0.5, -0.1, 0.5, 0.12);
    p.cubicTo(0.5, 0.28, 0.38, 0.36, 0.25, 0.36);
    p.cubicTo(0.12, 0.36, 0.04, 0.28, 0, 0.18);
    p.cubicTo(-0.04, 0.28, -0.12, 0.36, -0.25, 0.36);
    p.cubicTo(-0.38, 0.36, -0.5, 0.28, -0.5, 0.12);
    p.cubicTo(-0.5, -0.1, -0.18, -0.26, 0, -0.5);
    p.closeSubpath();
    AddStem(p);
    return p;
}

QPainterPath SuitShape(int suit)
{
    switch (suit) {
    case Clubs: return ClubShape();
    case Diamonds: return DiamondShape();
    case Hearts: return HeartShape();
    default: return SpadeShape();
    }
}

void DrawSuit(QPainter& painter, int suit, QPointF centre, qreal size, bool upsideDown = false)
{
    QTransform t;
    t.translate(centre.x(), centre.y());
    if (upsideDown)
        t.rotate(180);
    t.scale(size, size);
    painter.fillPath(t.map(SuitShape(suit)), SuitColour(suit));
}

// --- Card blank --------------------------------------------------------

// `scale` device pixels to the card's pixel: the 2x art is drawn afresh,
// not enlarged, so its edges and glyphs are as sharp as the 1x ones.
QImage BlankCard(int scale)
{
    QImage card(kCardWidth * scale, kCardHeight * scale, QImage::Format_RGB32);
    card.fill(kTableGreen);
    QPainter painter(&card);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF outer(0, 0, kCardWidth, kCardHeight);
    painter.setBrush(kInk);
    painter.drawRoundedRect(outer, kCornerRadius, kCornerRadius);
    painter.setBrush(kPaper);
    painter.drawRoundedRect(outer.adjusted(1, 1, -1, -1), kCornerRadius - 1, kCornerRadius - 1);
    return card;
}

// --- Faces -------------------------------------------------------------

QString RankLabel(int rank)
{
    static const std::array<const char*, kRanks> labels = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
    return QString::fromLatin1(labels[rank]);
}

QImage TransparentLayer(QSize size)
{
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    return layer;
}

// Two-ended designs are drawn once and stamped a second time turned half a
// circle, which keeps both ends pixel-identical.
void StampTwoEnded(QImage& card, const QImage& layer, QPoint topLeft)
{
    const QPoint turnedTopLeft(card.width() - topLeft.x() - layer.width(), card.height() - topLeft.y() - layer.height());
    QPainter painter(&card);
    painter.drawImage(topLeft, layer);
    painter.drawImage(turnedTopLeft, layer.mirrored(true, true));
}

// Draws text with its ink centred on centreX and its top on inkTop; whole
// pixel positions keep the hinted glyphs crisp.
void DrawInkCentred(QPainter& painter, const QString& text, qreal centreX, int inkTop)
{
    const QRect ink = painter.fontMetrics().tightBoundingRect(text);
    const int x = qRound(centreX - ink.width() / 2.0) - ink.left();
    painter.drawText(QPoint(x, inkTop - ink.top()), text);
}

QFont IndexFont(int rank, int scale)
{
    // "10" only fits the corner in the narrow cut, one size down, which
    // keeps its cap height equal to the other ranks.
    const bool ten = rank == Ten;
    QFont font(ten ? "Liberation Sans Narrow" : "Liberation Sans");
    font.setBold(true);
    font.setPixelSize((ten ? 14 : 15) * scale);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

constexpr QPoint kIndexPosition(2, 4);
constexpr QSize kIndexSize(14, 23);
constexpr qreal kIndexSuitSize = 9;

// Text is laid out in device pixels with a font of the scaled size, so
// hinting fits each glyph to the pixels it lands on.
QImage IndexLayer(int suit, int rank, int scale)
{
    QImage layer = TransparentLayer(kIndexSize * scale);
    QPainter painter(&layer);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(IndexFont(rank, scale));
    painter.setPen(SuitColour(suit));
    const qreal midX = kIndexSize.width() / 2.0;
    DrawInkCentred(painter, RankLabel(rank), midX * scale, 0);
    painter.scale(scale, scale);
    DrawSuit(painter, suit, QPointF(midX, kIndexSize.height() - kIndexSuitSize / 2), kIndexSuitSize);
    return layer;
}

// Pip centres in a grid whose columns are left/middle/right and whose rows
// run from 0 (top) to 1 (bottom).
struct Pip {
    int column;
    qreal row;
};

const std::array<std::vector<Pip>, kRanks>& PipLayouts()
{
    static const std::array<std::vector<Pip>, kRanks> layouts = {
        {{},
         {{1, 0}, {1, 1}},
         {{1, 0}, {1, 0.5}, {1, 1}},
         {{0, 0}, {2, 0}, {0, 1}, {2, 1}},
         {{0, 0}, {2, 0}, {1, 0.5}, {0, 1}, {2, 1}},
         {{0, 0}, {2, 0}, {0, 0.5}, {2, 0.5}, {0, 1}, {2, 1}},
         {{0, 0}, {2, 0}, {1, 0.25}, {0, 0.5}, {2, 0.5}, {0, 1}, {2, 1}},
         {{0, 0}, {2, 0}, {1, 0.25}, {0, 0.5}, {2, 0.5}, {1, 0.75}, {0, 1}, {2, 1}},
         {{0, 0}, {2, 0}, {0, 1.0 / 3}, {2, 1.0 / 3}, {1, 0.5}, {0, 2.0 / 3}, {2, 2.0 / 3}, {0, 1}, {2, 1}},
         {{0, 0}, {2, 0}, {1, 1.0 / 6}, {0, 1.0 / 3}, {2, 1.0 / 3}, {0, 2.0 / 3}, {2, 2.0 / 3}, {1, 5.0 / 6}, {0, 1}, {2, 1}},
         {},
         {},
         {}}};
    return layouts;
}

constexpr qreal kPipColumnSpacing = 12;
constexpr qreal kPipTop = 17;
constexpr qreal kPipBottom = kCardHeight - kPipTop;
constexpr qreal kPipSize = 12;

void DrawPips(QPainter& painter, int suit, int rank)
{
    for (const Pip& pip : PipLayouts()[rank]) {
        const QPointF centre(kCardCentre.x() + (pip.column - 1) * kPipColumnSpacing, kPipTop + pip.row * (kPipBottom - kPipTop));
        DrawSuit(painter, suit, centre, kPipSize, centre.y() > kCardCentre.y());
    }
}

constexpr qreal kAceSize = 38;

void DrawAce(QPainter& painter, int suit)
{
    DrawSuit(painter, suit, kCardCentre, kAceSize);
}

// --- Court cards -------------------------------------------------------

// The frame's top half; the bottom half is the same turned round.
constexpr QPoint kCourtPosition(17, 8);
constexpr QSize kCourtHalfSize(37, kCardHeight / 2 - 8);

// Headgear in a box of width 1, base line at y = 0.
QPainterPath CrownShape()
{
    QPainterPath p;
    p.moveTo(-0.5, 0);
    p.lineTo(-0.5, -0.45);
    p.lineTo(-0.25, -0.22);
    p.lineTo(0, -0.55);
    p.lineTo(0.25, -0.22);
    p.lineTo(0.5, -0.45);
    p.lineTo(0.5, 0);
    p.closeSubpath();
    return p;
}

QPainterPath TiaraShape()
{
    QPainterPath p;
    p.moveTo(-0.5, 0);
    p.lineTo(-0.5, -0.12);
    p.lineTo(-0.32, -0.3);
    p.lineTo(-0.16, -0.18);
    p.lineTo(0, -0.42);
    p.lineTo(0.16, -0.18);
    p.lineTo(0.32, -0.3);
    p.lineTo(0.5, -0.12);
    p.lineTo(0.5, 0);
    p.closeSubpath();
    constexpr qreal pearl = 0.075;
    p.addEllipse(QPointF(-0.32, -0.33), pearl, pearl);
    p.addEllipse(QPointF(0, -0.46), pearl, pearl);
    p.addEllipse(QPointF(0.32, -0.33), pearl, pearl);
    return p;
}

QPainterPath CapShape()
{
    QPainterPath p;
    p.moveTo(-0.5, 0);
    p.lineTo(0.5, 0);
    p.lineTo(0.4, -0.1);
    p.cubicTo(0.32, -0.45, -0.32, -0.45, -0.4, -0.1);
    p.closeSubpath();
    p.moveTo(0.12, -0.28);
    p.cubicTo(0.2, -0.46, 0.36, -0.56, 0.52, -0.57);
    p.cubicTo(0.4, -0.48, 0.32, -0.38, 0.26, -0.22);
    p.closeSubpath();
    return p;
}

QPainterPath HeadgearShape(int rank)
{
    switch (rank) {
    case King: return CrownShape();
    case Queen: return TiaraShape();
    default: return CapShape();
    }
}

void DrawHeadgear(QPainter& painter, int rank, QPointF base, qreal width)
{
    QTransform t;
    t.translate(base.x(), base.y());
    t.scale(width, width);
    painter.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(kGold);
    painter.drawPath(t.map(HeadgearShape(rank)).simplified());
}

QFont CourtFont(int scale)
{
    QFont font("Liberation Serif");
    font.setBold(true);
    font.setPixelSize(24 * scale);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QImage CourtLayer(int suit, int rank, int scale)
{
    QImage layer = TransparentLayer(kCourtHalfSize * scale);
    QPainter painter(&layer);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    // The frame runs past the bottom edge so the two halves join seamlessly.
    const QRectF frame(0.5, 0.5, kCourtHalfSize.width() - 1, kCourtHalfSize.height() + 1);
    painter.setPen(QPen(SuitColour(suit), 1.0));
    painter.setBrush(kCourtFill);
    painter.drawRect(frame);

    constexpr qreal headgearBaseY = 15.5;
    constexpr qreal headgearWidth = 24;
    constexpr int letterTop = 20;
    constexpr qreal sideSuitY = 28;
    constexpr qreal sideSuitInset = 6;
    constexpr qreal sideSuitSize = 8;
    const qreal midX = kCourtHalfSize.width() / 2.0;
    DrawHeadgear(painter, rank, QPointF(midX, headgearBaseY), headgearWidth);

    painter.save();
    painter.resetTransform();
    painter.setFont(CourtFont(scale));
    painter.setPen(SuitColour(suit));
    DrawInkCentred(painter, RankLabel(rank), midX * scale, letterTop * scale);
    painter.restore();

    DrawSuit(painter, suit, QPointF(sideSuitInset, sideSuitY), sideSuitSize);
    DrawSuit(painter, suit, QPointF(kCourtHalfSize.width() - sideSuitInset, sideSuitY), sideSuitSize);
    return layer;
}

QImage CardFace(int suit, int rank, int scale)
{
    QImage card = BlankCard(scale);
    if (rank >= Jack) {
        StampTwoEnded(card, CourtLayer(suit, rank, scale), kCourtPosition * scale);
    } else {
        QPainter painter(&card);
        painter.scale(scale, scale);
        painter.setRenderHint(QPainter::Antialiasing);
        if (rank == Ace)
            DrawAce(painter, suit);
        else
            DrawPips(painter, suit, rank);
    }
    StampTwoEnded(card, IndexLayer(suit, rank, scale), kIndexPosition * scale);
    return card;
}

QImage CardSheet(int scale)
{
    const int width = kCardWidth * scale;
    const int height = kCardHeight * scale;
    QImage sheet(width * kRanks, height * kSuits, QImage::Format_RGB32);
    QPainter painter(&sheet);
    for (int suit = 0; suit < kSuits; ++suit)
        for (int rank = 0; rank < kRanks; ++rank)
            painter.drawImage(width * rank, height * suit, CardFace(suit, rank, scale));
    return sheet;
}

// --- Back --------------------------------------------------------------

constexpr int kBackFrameInset = 4;
constexpr int kBackFieldInset = 7;
constexpr int kDotPitch = 4;
// Radii put the outline on pixel centres so it stays one pixel wide.
constexpr qreal kMedallionRadiusX = 15;
constexpr qreal kMedallionRadiusY = 19.5;
constexpr QSizeF kBackSparkSize(21, 29);

QPainterPath SparkShape()
{
    QPainterPath p;
    constexpr qreal waist = 0.14;
    p.moveTo(0, -0.5);
    p.quadTo(waist / 2, -waist / 2, 0.5, 0);
    p.quadTo(waist / 2, waist / 2, 0, 0.5);
    p.quadTo(-waist / 2, waist / 2, -0.5, 0);
    p.quadTo(-waist / 2, -waist / 2, 0, -0.5);
    p.closeSubpath();
    return p;
}

QPainterPath Scaled(const QPainterPath& unitShape, QPointF centre, qreal width, qreal height)
{
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.scale(width, height);
    return t.map(unitShape);
}

// Single pixels on a staggered lattice read as a fine even tint; at 2x the
// same lattice of device pixels keeps the tint and makes it finer.
void DrawDotField(QImage& card, const QRect& field)
{
    for (int y = field.top(); y <= field.bottom(); y += kDotPitch / 2) {
        const int row = (y - field.top()) / (kDotPitch / 2);
        const int firstX = field.left() + (row % 2) * (kDotPitch / 2);
        for (int x = firstX; x <= field.right(); x += kDotPitch)
            card.setPixelColor(x, y, kInk);
    }
}

QImage CardBack(int scale)
{
    QImage card = BlankCard(scale);
    const QRect frame(kBackFrameInset, kBackFrameInset, kCardWidth - 2 * kBackFrameInset, kCardHeight - 2 * kBackFrameInset);
    const int fieldMargin = kBackFieldInset - kBackFrameInset;
    const QRect field = frame.adjusted(fieldMargin, fieldMargin, -fieldMargin, -fieldMargin);
    DrawDotField(card, QRect(field.topLeft() * scale, field.size() * scale));

    // The frame is filled, not stroked, so it covers whole device pixels.
    QPainter painter(&card);
    const QRect outer(frame.topLeft() * scale, frame.size() * scale);
    const QRect inner = outer.adjusted(scale, scale, -scale, -scale);
    painter.setClipRegion(QRegion(outer).subtracted(inner));
    painter.fillRect(outer, kInk);
    painter.setClipping(false);

    painter.scale(scale, scale);
    painter.setPen(kInk);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(kPaper);
    painter.drawEllipse(kCardCentre, kMedallionRadiusX, kMedallionRadiusY);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawPath(Scaled(SparkShape(), kCardCentre, kBackSparkSize.width(), kBackSparkSize.height()));
    return card;
}

// --- Icon --------------------------------------------------------------

// Laid out on a 16 px grid; larger icons scale the grid, so every size is a
// multiple of it.
constexpr int kIconGrid = 16;
constexpr std::array<int, 6> kIconSizes = {16, 32, 48, 64, 128, 256};
constexpr QRect kIconCard(2, 2, 11, 14);
constexpr QPointF kIconSuitCentre(7.5, 9.5);
constexpr qreal kIconSuitSize = 7;
// At 16 px no rasterised outline survives, so the spade is placed by hand.
constexpr QPoint kTinySpadeOrigin(4, 5);
constexpr std::array<const char*, 8> kTinySpade = {"...#...", "..###..", ".#####.", "#######",
                                                   "#######", ".#.#.#.", "...#...", "..###.."};
constexpr QPointF kIconSparkCentre(12.5, 3.5);
constexpr qreal kIconSparkSize = 7;
constexpr qreal kIconSparkCoreRadius = 0.6;
const QColor kSparkCore(255, 236, 140);
// In grid units, so the spark outline and the card corner grow with the icon.
constexpr qreal kIconSparkOutline = 0.5;
constexpr qreal kIconCornerRadius = 1.5;
constexpr int kLargestNotchedBorder = 2;

QRect ScaledRect(const QRect& r, int scale)
{
    return QRect(r.topLeft() * scale, r.size() * scale);
}

// Square corners with the corner pixel knocked out read as rounded at
// small sizes, and stay sharp where antialiasing would blur; larger sizes
// have room for a true curve.
void DrawIconCard(QPainter& painter, const QRect& rect, int border)
{
    if (border > kLargestNotchedBorder) {
        const qreal radius = kIconCornerRadius * border;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kInk);
        painter.drawRoundedRect(QRectF(rect), radius, radius);
        painter.setBrush(kPaper);
        painter.drawRoundedRect(QRectF(rect.adjusted(border, border, -border, -border)), radius - border, radius - border);
        return;
    }
    painter.fillRect(rect, kInk);
    painter.fillRect(rect.adjusted(border, border, -border, -border), kPaper);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    for (const QPoint& corner : {rect.topLeft(), rect.topRight(), rect.bottomLeft(), rect.bottomRight()}) {
        const QPoint inward((corner.x() == rect.left() ? 0 : 1 - border), (corner.y() == rect.top() ? 0 : 1 - border));
        painter.fillRect(QRect(corner + inward, QSize(border, border)), Qt::transparent);
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void DrawTinySpade(QPainter& painter)
{
    for (int y = 0; y < int(kTinySpade.size()); ++y)
        for (int x = 0; kTinySpade[y][x] != '\0'; ++x)
            if (kTinySpade[y][x] == '#')
                painter.fillRect(QRect(kTinySpadeOrigin + QPoint(x, y), QSize(1, 1)), kInk);
}

QImage Icon(int size)
{
    const int scale = size / kIconGrid;
    QImage image = TransparentLayer(QSize(size, size));
    QPainter painter(&image);
    DrawIconCard(painter, ScaledRect(kIconCard, scale), scale);
    // Hard pixel edges read better than grey fringes at the smallest size.
    painter.setRenderHint(QPainter::Antialiasing, scale > 1);

    if (scale == 1)
        DrawTinySpade(painter);
    else
        DrawSuit(painter, Spades, kIconSuitCentre * scale, kIconSuitSize * scale);

    const QPointF sparkCentre = kIconSparkCentre * scale;
    const qreal sparkSize = kIconSparkSize * scale;
    painter.setPen(scale > 1 ? QPen(kInk, kIconSparkOutline * scale) : QPen(Qt::NoPen));
    painter.setBrush(kGold);
    painter.drawPath(Scaled(SparkShape(), sparkCentre, sparkSize, sparkSize));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSparkCore);
    const qreal coreRadius = kIconSparkCoreRadius * scale;
    painter.drawEllipse(sparkCentre, coreRadius, coreRadius);
    return image;
}

bool Save(const QImage& image, const QDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "card_art: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: card_art OUTPUT_DIR\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "card_art: cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = Save(CardSheet(1), dir, "cards.png") && Save(CardBack(1), dir, "card_back.png")
        && Save(CardSheet(2), dir, "cards@2x.png") && Save(CardBack(2), dir, "card_back@2x.png");
    for (const int size : kIconSizes)
        ok = ok && Save(Icon(size), dir, QString("icon_%1.png").arg(size));
    return ok ? 0 : 1;
}

#include "shell/status_strip.h"

#include "net/status_texts.h"
#include "shell/board_geometry.h"
#include "shell/pixel_font.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor kLineText(0, 0, 128);
const QColor kWarningText(255, 0, 0);
const QColor kDarkEdge(128, 128, 128);
const QColor kLightEdge(192, 192, 192);
constexpr int kFontHeight = 11;
constexpr int kRightMargin = 12;

}  // namespace

StatusStrip::StatusStrip(const StatusTexts& texts, QWidget* parent) : QWidget(parent), texts_(texts)
{
    setGeometry(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StatusStrip::paintEvent(QPaintEvent*)
{
    const int right = width();
    const int bottom = height();
    // Two text rows of the 11-px font up from the bottom edge: y 4 and 17 on the strip.
    const int row1 = bottom - 2 * kFontHeight - 6;
    const int row2 = bottom - kFontHeight - 4;

    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);

    const QFont font = PixelFont(kFontHeight);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);

    auto draw = [&](int x, int y, const char* text) { DrawTextCell(painter, x, y, QString::fromUtf8(text)); };
    auto drawRightAligned = [&](int y, const char* text) {
        draw(right - metrics.horizontalAdvance(QString::fromUtf8(text)) - kRightMargin, y, text);
    };

    painter.setPen(kLineText);
    draw(5, row1, texts_.statusLine1);
    draw(5, row2, StatusLine2(texts_).c_str());
    drawRightAligned(row1, texts_.pingText);
    painter.setPen(kWarningText);
    drawRightAligned(row2, texts_.pingWarning);

    painter.setPen(kDarkEdge);
    painter.drawLine(0, 0, right - 1, 0);
    painter.setPen(kLightEdge);
    painter.drawLine(0, 1, right - 1, 1);
}

void StatusStrip::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit leftClicked();
}

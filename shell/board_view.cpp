#include "shell/board_view.h"

#include "shell/board_geometry.h"

#include <QMouseEvent>
#include <QPainter>

BoardView::BoardView(const QImage& backBuffer, QWidget* parent) : QWidget(parent), backBuffer_(backBuffer)
{
    setGeometry(0, 0, kClientWidth, kClientHeight - kStatusHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardView::paintEvent(QPaintEvent*)
{
    // The whole picture every time: the buffer always holds a finished one.
    QPainter painter(this);
    const qreal ratio = backBuffer_.devicePixelRatio();
    // A buffer drawn for another screen's density is smoothed to this one's.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, ratio != devicePixelRatioF());
    const QSizeF shown(kClientWidth, kClientHeight - kStatusHeight);
    painter.drawImage(QRectF(QPointF(), shown), backBuffer_, QRectF(QPointF(), shown * ratio));
}

void BoardView::mousePressEvent(QMouseEvent* event)
{
    // Only the left button plays; the others are swallowed.
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    emit leftClicked(static_cast<unsigned>(at.x()) & 0xFFFF, static_cast<unsigned>(at.y()) & 0xFFFF);
}

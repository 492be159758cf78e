#include "shell/board_view.h"

#include "table/board_geometry.h"

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
    painter.drawImage(0, 0, backBuffer_, 0, 0, kClientWidth, kClientHeight - kStatusHeight);
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

#include "shell/hyperlink.h"

#include "shell/pixel_font.h"

#include <QDesktopServices>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace {

constexpr int kLinkTextLimit = 39;
const QColor kLinkColour(0, 0, 192);
const QColor kLinkBackground(192, 192, 192);

}  // namespace

void OpenHelpPage()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::current().filePath("Flinthand.htm")));
}

Hyperlink::Hyperlink(const QString& text, QWidget* parent) : QWidget(parent)
{
    setWindowTitle(text);
    setCursor(Qt::WhatsThisCursor);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kLinkBackground);
    setPalette(palette);
}

void Hyperlink::paintEvent(QPaintEvent*)
{
    QFont font = PixelFont(11);
    font.setUnderline(true);
    QPainter painter(this);
    painter.setFont(font);
    painter.setPen(kLinkColour);
    DrawTextCell(painter, 0, 0, windowTitle().left(kLinkTextLimit));
}

void Hyperlink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        ReleasedAt(event->globalPosition().toPoint());
}

void Hyperlink::ReleasedAt(const QPoint& globalPosition)
{
    if (rect().contains(mapFromGlobal(globalPosition)))
        emit activated();
}

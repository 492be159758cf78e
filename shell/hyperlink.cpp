#include "shell/hyperlink.h"

#include "shell/message_boxes.h"
#include "shell/pixel_font.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

#include <unistd.h>

namespace {

constexpr int kLinkTextLimit = 39;
const QColor kLinkColour(0, 0, 192);
const QColor kLinkBackground(192, 192, 192);

}  // namespace

QStringList InstalledHelpFolders()
{
    // Beside bin or games under whatever prefix the program was installed to.
    return {QCoreApplication::applicationDirPath() + "/../share/flinthand", FLINTHAND_DATA_DIR, "/usr/share/flinthand"};
}

QString HelpPagePath(const QStringList& installedFolders)
{
    for (const QString& folder : QStringList{QDir::currentPath()} + installedFolders) {
        const QFileInfo page(QDir(folder), "Flinthand.htm");
        if (page.isFile())
            return QDir::cleanPath(page.absoluteFilePath());
    }
    // The browser needs a file. A folder of our own in the shared temporary
    // folder, so nobody else can plant a link where the page is written.
    const QString folder = QDir::temp().filePath(QString("flinthand-%1").arg(getuid()));
    QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QFileInfo made(folder);
    QFile compiled(":/Flinthand.htm");
    QFile page(folder + "/Flinthand.htm");
    if (made.isSymLink() || !made.isDir() || made.ownerId() != getuid() || !compiled.open(QIODevice::ReadOnly)
        || !page.open(QIODevice::WriteOnly | QIODevice::Truncate) || page.write(compiled.readAll()) != compiled.size())
        return {};
    return page.fileName();
}

void OpenHelpPage()
{
    const QString path = HelpPagePath();
    if (path.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        ShowMessageBoxOver(QApplication::activeWindow(), "The help page Flinthand.htm could not be opened.", "Flinthand",
                           BoxIcon::None);
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

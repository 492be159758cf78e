#pragma once

#include <QWidget>

// A line of blue underlined text that opens the help page when the left
// button is let go over it.
class Hyperlink : public QWidget {
    Q_OBJECT
public:
    Hyperlink(const QString& text, QWidget* parent);

    // The release may end a press made anywhere in the dialog.
    void ReleasedAt(const QPoint& globalPosition);

signals:
    void activated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Where an installed help page may be, nearest to the program first.
QStringList InstalledHelpFolders();
// Flinthand.htm in the current folder, else in an installed folder, else the
// compiled-in page written out to a temporary file; empty if none can be had.
QString HelpPagePath(const QStringList& installedFolders = InstalledHelpFolders());
// Opens it in the browser, or says it cannot.
void OpenHelpPage();

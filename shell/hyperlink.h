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

// Opens Flinthand.htm from the current directory.
void OpenHelpPage();

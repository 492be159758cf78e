#pragma once

#include <QWidget>

#include <functional>

// A line of blue underlined text that opens the help page when the left
// button is let go over it.
class Hyperlink : public QWidget {
    Q_OBJECT
public:
    Hyperlink(const QString& text, QWidget* parent);

    // Opens Flinthand.htm from the current directory; tests put their own here.
    std::function<void()> open;

    // The release may end a press made anywhere in the dialog.
    void ReleasedAt(const QPoint& globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

void OpenHelpPage();

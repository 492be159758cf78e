#pragma once

#include <QWidget>

class QImage;

// Shows the back buffer above the status strip and passes left clicks on.
class BoardView : public QWidget {
    Q_OBJECT
public:
    BoardView(const QImage& backBuffer, QWidget* parent);

signals:
    // In the game's terms: two unsigned 16-bit words.
    void leftClicked(unsigned x, unsigned y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const QImage& backBuffer_;
};

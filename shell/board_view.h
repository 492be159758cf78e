#pragma once

#include <QWidget>

#include <functional>

class QImage;

// Shows the back buffer above the status strip and passes left clicks on.
class BoardView : public QWidget {
    Q_OBJECT
public:
    BoardView(const QImage& backBuffer, QWidget* parent);

    std::function<void(unsigned x, unsigned y)> onLeftClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const QImage& backBuffer_;
};

#pragma once

#include <QWidget>

struct StatusTexts;

// The white strip along the bottom: two lines of connection state on the
// left, the last ping on the right. A left click on it starts a ping.
class StatusStrip : public QWidget {
    Q_OBJECT
public:
    StatusStrip(const StatusTexts& texts, QWidget* parent);

signals:
    void leftClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const StatusTexts& texts_;
};

#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

// Arial at a pixel em height, drawn without smoothing so that every text
// pixel has exactly the colour asked for. Where Arial is missing, fontconfig
// gives its metric twin, Liberation Sans.
inline QFont PixelFont(int pixelSize)
{
    QFont font("Arial");
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// Text placed as the game places it: by the top-left of its cell, where
// Qt's drawText takes the baseline.
inline void DrawTextCell(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(x, y + QFontMetrics(painter.font()).ascent(), text);
}

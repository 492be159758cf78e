#pragma once

#include <QFont>

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

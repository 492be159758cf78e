#pragma once

#include "shell/board_renderer.h"
#include "tests/support/recording_platform.h"

// The recording fake, drawing into a real back buffer.
class RenderingPlatform : public RecordingPlatform {
public:
    BoardRenderer renderer;

    void ClearBackBuffer() override
    {
        RecordingPlatform::ClearBackBuffer();
        renderer.ClearBackBuffer();
    }
    void DrawTableCards(const Table& table) override
    {
        RecordingPlatform::DrawTableCards(table);
        renderer.DrawTableCards(table);
    }
    void DrawLargeText(int x, int y, std::string_view text) override
    {
        RecordingPlatform::DrawLargeText(x, y, text);
        renderer.DrawLargeText(x, y, text);
    }
};

// Placeholder until the renderer lands: clears its columns only.
#include "platform/platform.h"
#include "render/render.h"

void render_column(int32_t x) {
    if (x % 16 != 0) return;
    for (int32_t r = 0; r < ScreenHeight; ++r)
        for (int32_t c = 0; c < 16; ++c) FrameBuffer[size_t(r) * ScreenWidth + size_t(x + c)] = 0;
}

void render_tile(int32_t tile) {
    for (int32_t x = tile * 64; x < tile * 64 + 64; ++x) render_column(x);
}

// The sky panorama behind everything: four screen widths span it once, it
// turns with the heading and moves one texel row per four screen rows with
// the horizon, mirrored where the row difference turns negative.
#include <cmath>
#include <cstdlib>

#include "content/pi.h"
#include "content/texture.h"
#include "platform/platform.h"
#include "render/numeric.h"
#include "render/spans.h"

void draw_sky_column(int32_t x, ColumnTarget column, bool fillAll, const View& view, const Texture& sky) {
    const int64_t sw = sky.width, sh = sky.height;
    if (sky.pixels == nullptr || sw <= 0 || sh <= 0) return;
    const int64_t colStep = (sw * 1024) / (4 * int64_t(ScreenWidth));
    const int64_t turn = trunc_wide(0.5 * view.heading / Pi * double(sw));
    int64_t u = (colStep * x / 1024 + turn) % sw;
    if (u < 0) u += sw;  // a heading below 0 still picks a column inside the panorama
    const int64_t horizonRow = view.horizon / 4;

    // Texel (v * sw + u) mod (sw * sh) with u < sw is row v mod sh, column u;
    // the row changes every four screen rows.
    const int32_t stride = column.stride;
    uint32_t* p = column.pixels;
    for (int32_t i = 0; i < ScreenHeight; i += 4) {
        const uint32_t* const texels = sky.pixels + (std::llabs((i >> 2) - horizonRow) % sh) * sw + u;
        for (int32_t k = 0; k < 4; ++k, p += stride) {
            if (*p != 0) {
                if (!fillAll) return;
                continue;
            }
            *p = *texels;
        }
    }
}

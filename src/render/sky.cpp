// The sky panorama behind everything: four screen widths span it once, it
// turns with the heading and moves one texel row per four screen rows with
// the horizon, mirrored where the row difference turns negative.
#include <cmath>
#include <cstdlib>

#include "content/pi.h"
#include "content/texture.h"
#include "platform/platform.h"
#include "render/numeric.h"
#include "render/row_walk.h"
#include "render/spans.h"

namespace {

// Four adjacent pixels set to one texel.
inline void fill_four(uint32_t* p, uint32_t texel) {
#if defined(__SSE2__)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_set1_epi32(int32_t(texel)));
#else
    p[0] = p[1] = p[2] = p[3] = texel;
#endif
}

// The panorama's column u as texels one apart: the tile's copy where it
// fits, else the panorama itself, a row apart.
struct SkyTexels {
    const uint32_t* texels;
    int64_t stride;
};

SkyTexels sky_texels(const Texture& sky, int64_t u, SkyColumn& cache) {
    const uint32_t* const from = sky.pixels + u;
    const int64_t sw = sky.width, sh = sky.height;
    if (sh > SkyColumn::MaxRows) return {from, sw};
    if (cache.from != from || cache.stride != sw || cache.rows != sh) {
        for (int64_t r = 0; r < sh; ++r) cache.texels[r] = from[r * sw];
        cache.from = from;
        cache.stride = sw;
        cache.rows = sh;
    }
    return {cache.texels, 1};
}

}  // namespace

void draw_sky_column(int32_t x, ColumnTarget column, bool fillAll, const View& view, SkyColumn& cache) {
    if (view.sky == nullptr) return;
    const Texture& sky = *view.sky;
    const int64_t sw = sky.width, sh = sky.height;
    if (sky.pixels == nullptr || sw <= 0 || sh <= 0) return;
    // A column whose top pixel is drawn gets no sky unless every empty pixel does.
    if (!fillAll && column.pixels[0] != 0) return;
    const int64_t colStep = (sw * 1024) / (4 * int64_t(ScreenWidth));
    const int64_t turn = trunc_wide(0.5 * view.heading / Pi * double(sw));
    int64_t u = (colStep * x / 1024 + turn) % sw;
    if (u < 0) u += sw;  // a heading below 0 still picks a column inside the panorama
    const int64_t horizonRow = view.horizon / 4;
    const SkyTexels skyColumn = sky_texels(sky, u, cache);

    // Texel (v * sw + u) mod (sw * sh) with u < sw is row v mod sh, column u;
    // the row changes every four screen rows. For the group of rows from i,
    // v = |i / 4 - horizonRow|, taken mod sh step by step instead of by a
    // division per group.
    const int32_t stride = column.stride;
    uint32_t* p = column.pixels;
    int64_t v = -horizonRow;  // i / 4 - horizonRow
    int64_t row = std::llabs(v) % sh;
    for (int32_t i = 0; i < ScreenHeight; i += 4) {
        const uint32_t texel = skyColumn.texels[row * skyColumn.stride];
        if (stride == 1 && empty_of_four(p) == 0xF) {
            fill_four(p, texel);
            p += 4;
        } else {
            for (int32_t k = 0; k < 4; ++k, p += stride) {
                if (*p != 0) {
                    if (!fillAll) return;
                    continue;
                }
                *p = texel;
            }
        }
        if (v < 0) row = row == 0 ? sh - 1 : row - 1;
        else row = row + 1 == sh ? 0 : row + 1;
        ++v;
    }
}

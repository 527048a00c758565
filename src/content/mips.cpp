// Mip chains: each level halves the one above it, treating 0 texels as
// transparent so that holes in a texture stay holes in the distance.
#include <cstdlib>

#include "content/color.h"
#include "content/texture.h"

namespace {

// One destination texel in column x from the 2 x 2 block a b / c d. The
// nesting of the halving means fixes the rounding, so it is kept as it is.
uint32_t reduce_block(uint32_t a, uint32_t b, uint32_t c, uint32_t d, int32_t x) {
    const int32_t zeros = (a == 0) + (b == 0) + (c == 0) + (d == 0);
    if (zeros == 0) return blend_half(blend_half(a, b), blend_half(d, c));
    if (zeros == 1) {
        if (a == 0) return blend_half(blend_half(b, d), blend_half(d, c));
        if (b == 0) return blend_half(blend_half(a, d), blend_half(d, c));
        if (d == 0) return blend_half(blend_half(a, b), blend_half(b, c));
        return blend_half(blend_half(a, b), blend_half(b, d));
    }
    if (zeros == 2 && (x & 1)) {
        uint32_t pair[2];
        int32_t n = 0;
        for (const uint32_t t : {a, b, c, d})
            if (t != 0) pair[n++] = t;
        return blend_half(pair[0], pair[1]);
    }
    return 0;
}

// Halves a level of row length sourceWidth into dw x dh texels. Every read
// stays inside the source: 2 * dw <= sourceWidth and 2 * dh <= source rows.
void reduce_level(const uint32_t* source, int32_t sourceWidth, uint32_t* destination, int32_t dw, int32_t dh) {
    for (int32_t y = 0; y < dh; ++y) {
        const uint32_t* top = source + size_t(2 * y) * size_t(sourceWidth);
        const uint32_t* bottom = top + sourceWidth;
        uint32_t* out = destination + size_t(y) * size_t(dw);
        for (int32_t x = 0; x < dw; ++x)
            out[x] = reduce_block(top[2 * x], top[2 * x + 1], bottom[2 * x], bottom[2 * x + 1], x);
    }
}

} // namespace

void build_mips(Texture& texture) {
    for (uint32_t*& level : texture.mips) {
        std::free(level);
        level = nullptr;
    }
    if (!texture.pixels || texture.width <= 0 || texture.height < 0) return;
    const int32_t levels = ilog2(texture.width);
    if (levels > MaxMipLevels) return; // 512 texels and wider: no chain

    const uint32_t* source = texture.pixels;
    for (int32_t k = 1; k <= levels; ++k) {
        const int32_t dw = texture.width >> k;
        const int32_t dh = texture.height >> k;
        // Levels without rows are still allocated, so every entry up to the
        // chain's length is set.
        const size_t count = size_t(dw) * size_t(dh);
        uint32_t* const level = static_cast<uint32_t*>(std::malloc((count > 0 ? count : 1) * sizeof(uint32_t)));
        if (!level) return;
        reduce_level(source, texture.width >> (k - 1), level, dw, dh);
        texture.mips[k - 1] = level;
        source = level;
    }
}

// Textures: a base level of 0x00RRGGBB texels (0 is transparent) with a chain
// of halved levels, and darker variants at 32 shade levels made on request.
#pragma once

#include <bit>
#include <cstdint>

#include "content/base_textures.h"
#include "platform/spin_lock.h"

constexpr int32_t TextureRecords = 256;
constexpr int32_t ShadeLevels = 32;
constexpr int32_t MaxMipLevels = 8;

struct Texture {
    uint32_t* pixels;              // base level, width x height, row-major
    int32_t width;
    int32_t height;
    uint32_t* mips[MaxMipLevels];  // entry k - 1 is level k: (width >> k) x (height >> k)
    uint32_t shades[ShadeLevels];  // TextureTable index of each shaded variant, 0 = not made
};

// Index of the highest set bit: floor(log2(v)) for v > 0, and 0 for 0 and
// negative values. Texture sizes are powers of two, so it is their exponent.
inline int32_t ilog2(int32_t v) {
    if (v <= 0) return 0;
    return int32_t(std::bit_width(uint32_t(v))) - 1;
}

// Entries 0..14 are the base textures; variants follow in order of first request.
extern Texture TextureTable[TextureRecords];
extern int32_t texture_count;
extern SpinLockWord texture_lock;

// Each channel times 1 - level / 80, truncated, at least 1; level taken as a byte.
uint32_t shade_color(uint32_t color, uint32_t level);

// Builds levels 1..floor(log2(width)) from the base level (nothing for widths
// of 512 and more), treating 0 texels as transparent.
void build_mips(Texture& texture);

// Level 0: the texture itself. Levels 1..31: its darkened variant, made on the
// first request under texture_lock.
Texture* get_shaded_texture(Texture* texture, int32_t level);

// Frees every record and empties the table (tests and tools).
void reset_texture_table();

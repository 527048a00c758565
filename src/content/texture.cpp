// The texture table, shading of colours and the shaded variants made on request.
#include "content/texture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

Texture TextureTable[TextureRecords];
int32_t texture_count = 0;
SpinLockWord texture_lock{0};

namespace {

// Set once the table has run full, so the warning is printed once a run.
bool table_full_reported = false;

uint32_t shade_channel(uint32_t channel, double factor) {
    // Levels above 80 make the factor negative; every channel stays at least 1.
    const int32_t value = int32_t(double(channel) * factor);
    return uint32_t(std::max(value, 1));
}

// Makes the variant of a base texture at a shade level in the next free record,
// or returns the base texture when none can be made. Runs under texture_lock.
Texture* make_variant(Texture* texture, int32_t level) {
    // Index 0 marks a missing variant, so variants never take a base entry.
    const int32_t n = std::max(texture_count, BaseTextureCount);
    if (n >= TextureRecords) {
        if (!table_full_reported) {
            std::fprintf(stderr, "quorvalite: all %d texture records are in use; drawing unshaded textures\n",
                         TextureRecords);
            table_full_reported = true;
        }
        return texture;
    }
    if (!texture->pixels || texture->width <= 0 || texture->height <= 0) return texture;
    const size_t count = size_t(texture->width) * size_t(texture->height);
    uint32_t* const pixels = static_cast<uint32_t*>(std::malloc(count * sizeof(uint32_t)));
    if (!pixels) return texture;

    const uint32_t* const source = texture->pixels;
    for (size_t i = 0; i < count; ++i) pixels[i] = source[i] == 0 ? 0 : shade_color(source[i], uint32_t(level));

    Texture& variant = TextureTable[n];
    variant = Texture{};
    variant.pixels = pixels;
    variant.width = texture->width;
    variant.height = texture->height;
    build_mips(variant);
    texture->shades[level] = uint32_t(n);
    texture_count = n + 1;
    return &variant;
}

Texture* find_or_make_variant(Texture* texture, int32_t level) {
    if (!texture || level <= 0) return texture;
    level = std::min(level, ShadeLevels - 1);
    const uint32_t index = texture->shades[level];
    if (index != 0 && index < uint32_t(TextureRecords)) return &TextureTable[index];
    return make_variant(texture, level);
}

} // namespace

uint32_t shade_color(uint32_t color, uint32_t level) {
    const double factor = 1.0 - double(uint8_t(level)) / 80.0;
    const uint32_t blue = shade_channel(color & 0xFF, factor);
    const uint32_t green = shade_channel((color >> 8) & 0xFF, factor);
    const uint32_t red = shade_channel((color >> 16) & 0xFF, factor);
    return (red << 16) | (green << 8) | blue;
}

// Levels below 0 give the texture itself and levels above 31 the darkest
// variant, so no request reads outside the shades entries.
Texture* get_shaded_texture(Texture* texture, int32_t level) {
    spin_lock_acquire(texture_lock);
    Texture* const result = find_or_make_variant(texture, level);
    spin_lock_release(texture_lock);
    return result;
}

void reset_texture_table() {
    spin_lock_acquire(texture_lock);
    for (Texture& t : TextureTable) {
        std::free(t.pixels);
        for (uint32_t* m : t.mips) std::free(m);
        t = Texture{};
    }
    texture_count = 0;
    table_full_reported = false;
    spin_lock_release(texture_lock);
}

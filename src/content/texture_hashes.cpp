// The base textures level by level, and their hashes: a change to a texel
// shows as a changed line.
#include <cinttypes>
#include <cstdio>

#include "content/content.h"
#include "content/texture.h"

std::vector<LevelView> base_levels() {
    std::vector<LevelView> levels;
    for (int32_t i = 0; i < BaseTextureCount; ++i) {
        const Texture& t = TextureTable[i];
        if (!t.pixels) continue;
        levels.push_back({i, 0, t.pixels, t.width, t.height});
        for (int32_t k = 1; k <= MaxMipLevels && t.mips[k - 1]; ++k)
            levels.push_back({i, k, t.mips[k - 1], t.width >> k, t.height >> k});
    }
    return levels;
}

std::string texture_hash_line(const LevelView& v) {
    const size_t count = size_t(v.width > 0 ? v.width : 0) * size_t(v.height > 0 ? v.height : 0);
    char line[96];
    std::snprintf(line, sizeof line, "tex %d level %d %dx%d fnv1a %016" PRIx64, v.index, v.level, v.width, v.height,
                  fnv1a_texels(v.pixels, count));
    return line;
}

uint64_t fnv1a_texels(const uint32_t* texels, size_t count) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (size_t i = 0; i < count; ++i)
        for (int32_t byte = 0; byte < 4; ++byte) {
            hash ^= (texels[i] >> (8 * byte)) & 0xFF;
            hash *= 0x100000001b3ull;
        }
    return hash;
}

std::vector<std::string> texture_hash_lines() {
    std::vector<std::string> lines;
    for (const LevelView& v : base_levels()) lines.push_back(texture_hash_line(v));
    return lines;
}


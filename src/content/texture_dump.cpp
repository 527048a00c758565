// Hashes of the base textures and their levels, and writing them out as PNG
// files so a person can look at them.
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "content/content.h"
#include "content/texture.h"
#include "platform/platform.h"

namespace {

struct LevelView {
    int32_t index;
    int32_t level;
    const uint32_t* pixels;
    int32_t width;
    int32_t height;
};

// Level 0 and every level of the chain of each base texture.
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

std::string hash_line(const LevelView& v) {
    const size_t count = size_t(v.width > 0 ? v.width : 0) * size_t(v.height > 0 ? v.height : 0);
    char line[96];
    std::snprintf(line, sizeof line, "tex %d level %d %dx%d fnv1a %016" PRIx64, v.index, v.level, v.width, v.height,
                  fnv1a_texels(v.pixels, count));
    return line;
}

std::string file_name(const LevelView& v) {
    char name[32];
    if (v.level == 0)
        std::snprintf(name, sizeof name, "tex_%02d.png", v.index);
    else
        std::snprintf(name, sizeof name, "tex_%02d_%d.png", v.index, v.level);
    return name;
}

} // namespace

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
    for (const LevelView& v : base_levels()) lines.push_back(hash_line(v));
    return lines;
}

int dump_textures(const std::string& dir) {
    if (texture_count < BaseTextureCount) generate_content();

    const std::filesystem::path folder(dir);
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (!std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "quorvalite: cannot create the folder %s: %s\n", dir.c_str(),
                     code ? code.message().c_str() : "not a folder");
        return 1;
    }

    // Either every file is written or none is left behind.
    std::vector<std::filesystem::path> written;
    const std::vector<LevelView> levels = base_levels();
    for (const LevelView& v : levels) {
        if (v.width <= 0 || v.height <= 0) continue; // a level without rows has no picture
        const std::filesystem::path path = folder / file_name(v);
        std::string error;
        if (!write_png(path.string(), v.pixels, v.width, v.height, v.width, true, &error)) {
            for (const std::filesystem::path& p : written) std::filesystem::remove(p, code);
            std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
            return 1;
        }
        written.push_back(path);
    }
    for (const LevelView& v : levels) std::printf("%s\n", hash_line(v).c_str());
    std::fflush(stdout);
    return 0;
}

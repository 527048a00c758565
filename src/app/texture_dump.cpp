// The texture dump: every level of each base texture as a PNG file, with
// its hash line, for a person to look at.
#include "app/texture_dump.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "content/content.h"
#include "content/texture.h"
#include "system/system.h"

namespace {

std::string file_name(const LevelView& v) {
    char name[32];
    if (v.level == 0)
        std::snprintf(name, sizeof name, "tex_%02d.png", v.index);
    else
        std::snprintf(name, sizeof name, "tex_%02d_%d.png", v.index, v.level);
    return name;
}

} // namespace

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
    for (const LevelView& v : levels) std::printf("%s\n", texture_hash_line(v).c_str());
    std::fflush(stdout);
    return 0;
}

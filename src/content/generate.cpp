// Placeholder until content generation lands: blank textures of the right sizes.
#include <cstdio>
#include <cstdlib>

#include "content/content.h"
#include "content/texture.h"

int32_t next_random(RandomSource& source) {
    source.state = source.state * 214013u + 2531011u;
    return int32_t((source.state >> 16) & 0x7FFF);
}

void generate_content() {
    static const int32_t sizes[BaseTextureCount][2] = {
        {128, 128}, {128, 128}, {128, 128}, {128, 128}, {128, 128}, {128, 128}, {128, 128}, {128, 128},
        {1024, 128}, {256, 256}, {128, 128}, {256, 256}, {128, 16}, {256, 256}, {128, 128}};
    for (int32_t i = 0; i < BaseTextureCount; ++i) {
        Texture& t = TextureTable[i];
        t.width = sizes[i][0];
        t.height = sizes[i][1];
        t.pixels = static_cast<uint32_t*>(std::calloc(size_t(t.width) * size_t(t.height), 4));
    }
    texture_count = BaseTextureCount;
}

int dump_textures(const std::string&) {
    std::fprintf(stderr, "quorvalite: texture dumps are not built yet\n");
    return 1;
}

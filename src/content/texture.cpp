// Placeholder until the texture table lands.
#include "content/texture.h"

#include <cstdlib>

Texture TextureTable[TextureRecords];
int32_t texture_count = 0;
SpinLockWord texture_lock{0};

uint32_t shade_color(uint32_t color, uint32_t) { return color; }
void build_mips(Texture&) {}
Texture* get_shaded_texture(Texture* texture, int32_t) { return texture; }
void reset_texture_table() {
    for (Texture& t : TextureTable) {
        std::free(t.pixels);
        for (uint32_t* m : t.mips) std::free(m);
        t = Texture{};
    }
    texture_count = 0;
}

// Generation of the fifteen base textures at start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The program's own random source, the same on every platform: state starts
// at 1, each call sets state = state * 214013 + 2531011 (mod 2^32) and returns
// (state >> 16) & 0x7FFF.
struct RandomSource {
    uint32_t state = 1;
};
int32_t next_random(RandomSource& source);

// Empties the TextureTable, then allocates entries 0..14, paints them and
// builds their chains; every call gives the same texels.
void generate_content();

// 64-bit FNV-1a over texels taken as little-endian 4-byte words.
uint64_t fnv1a_texels(const uint32_t* texels, size_t count);

// One level of a base texture: level 0 is the base.
struct LevelView {
    int32_t index;
    int32_t level;
    const uint32_t* pixels;
    int32_t width;
    int32_t height;
};

// Level 0 and every level of the chain of each base texture, in table order.
std::vector<LevelView> base_levels();

// "tex N level L WxH fnv1a HEX".
std::string texture_hash_line(const LevelView& level);

// One hash line for every level of each base texture.
std::vector<std::string> texture_hash_lines();

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

// One line "tex N level L WxH fnv1a HEX" for every level of each base texture,
// level 0 being the base, in table order.
std::vector<std::string> texture_hash_lines();

// Generates the content unless that has been done, then writes every base
// texture and mip level as PNG files into dir and prints one hash line per
// level; returns the process exit code. Levels without rows get their hash
// line but no file; on any failure nothing is left behind.
int dump_textures(const std::string& dir);

// Generation of the fifteen base textures at start.
#pragma once

#include <cstdint>
#include <string>

// The program's own random source, the same on every platform: state starts
// at 1, each call sets state = state * 214013 + 2531011 (mod 2^32) and returns
// (state >> 16) & 0x7FFF.
struct RandomSource {
    uint32_t state = 1;
};
int32_t next_random(RandomSource& source);

// Allocates TextureTable entries 0..14, paints them and builds their chains.
void generate_content();

// Writes every base texture and mip level as PNG files into dir and prints
// one hash line per level; returns the process exit code.
int dump_textures(const std::string& dir);

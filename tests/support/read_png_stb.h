// read_png.h's reader on Windows, through stb_image, compiled into each test
// source that includes it (static functions, PNG only).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wcast-qual"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-declarations"
#pragma GCC diagnostic ignored "-Wduplicated-cond"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>
#pragma GCC diagnostic pop

inline bool read_png_file_rgba(std::FILE* file, std::vector<uint8_t>* rgba, int32_t* width, int32_t* height) {
    int w = 0;
    int h = 0;
    int channels = 0;
    const long start = std::ftell(file);
    const bool suitable = stbi_info_from_file(file, &w, &h, &channels) && !stbi_is_16_bit_from_file(file) &&
                          (channels == 3 || channels == 4);
    std::fseek(file, start, SEEK_SET);
    stbi_uc* const data = suitable ? stbi_load_from_file(file, &w, &h, &channels, 4) : nullptr;
    if (!data) return false;
    *width = w;
    *height = h;
    rgba->assign(data, data + size_t(w) * size_t(h) * 4);
    stbi_image_free(data);
    return true;
}

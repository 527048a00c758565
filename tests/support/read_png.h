// Reading a PNG back in a test: an 8-bit RGB or RGBA PNG into bytes R, G, B,
// A (A 255 where the file has none), or into pixels 0x00RRGGBB. A reader
// other than the program's own writer where the system has one: libpng
// reads what the program wrote, and on Windows, which has no libpng,
// stb_image reads what stb_image_write wrote.
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include "read_png_stb.h"
#else
#include "read_png_libpng.h"
#endif

inline bool read_png_rgba(const std::string& path, std::vector<uint8_t>* rgba, int32_t* width, int32_t* height,
                          std::string* error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (error) *error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    const bool ok = read_png_file_rgba(file, rgba, width, height);
    std::fclose(file);
    if (!ok && error) *error = path + " is not an 8-bit RGB or RGBA PNG";
    return ok;
}

inline bool read_png(const std::string& path, std::vector<uint32_t>* pixels, int32_t* width, int32_t* height,
                     std::string* error) {
    std::vector<uint8_t> rgba;
    if (!read_png_rgba(path, &rgba, width, height, error)) return false;
    pixels->resize(rgba.size() / 4);
    for (size_t i = 0; i < pixels->size(); ++i) {
        const uint8_t* p = rgba.data() + i * 4;
        (*pixels)[i] = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | uint32_t(p[2]);
    }
    return true;
}

// Reading a PNG back in a test: an 8-bit RGB or RGBA PNG into bytes R, G, B,
// A (A 255 where the file has none). libpng reads what the program wrote, a
// reader other than its writer; Windows has no libpng, so stb_image reads it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#ifdef _WIN32
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wcast-qual"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-declarations"
#pragma GCC diagnostic ignored "-Wduplicated-cond"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
// Compiled into each test source that includes it: static functions, PNG only.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>
#pragma GCC diagnostic pop

inline bool read_png_rgba(const std::string& path, std::vector<uint8_t>* rgba, int32_t* width, int32_t* height,
                          std::string* error) {
    int w = 0, h = 0, channels = 0;
    const bool suitable = stbi_info(path.c_str(), &w, &h, &channels) && !stbi_is_16_bit(path.c_str()) &&
                          (channels == 3 || channels == 4);
    stbi_uc* const data = suitable ? stbi_load(path.c_str(), &w, &h, &channels, 4) : nullptr;
    if (!data) {
        if (error) *error = "cannot read " + path + " as an 8-bit RGB or RGBA PNG";
        return false;
    }
    *width = w;
    *height = h;
    rgba->assign(data, data + size_t(w) * size_t(h) * 4);
    stbi_image_free(data);
    return true;
}
#else
#include <png.h>

inline bool read_png_rgba(const std::string& path, std::vector<uint8_t>* rgba, int32_t* width, int32_t* height,
                          std::string* error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    const bool suitable = png_image_begin_read_from_file(&image, path.c_str()) &&
                          (image.format == PNG_FORMAT_RGB || image.format == PNG_FORMAT_RGBA);
    if (suitable) {
        image.format = PNG_FORMAT_RGBA;
        rgba->resize(PNG_IMAGE_SIZE(image));
    }
    if (!suitable || !png_image_finish_read(&image, nullptr, rgba->data(), 0, nullptr)) {
        png_image_free(&image);
        if (error) *error = "cannot read " + path + " as an 8-bit RGB or RGBA PNG " + image.message;
        return false;
    }
    *width = int32_t(image.width);
    *height = int32_t(image.height);
    return true;
}
#endif

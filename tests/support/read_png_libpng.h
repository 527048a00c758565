// read_png.h's reader on systems with libpng.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <vector>

struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReader() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

// libpng reports errors through longjmp: no objects with destructors between
// setjmp and the calls.
inline bool read_rows(std::FILE* file, std::vector<png_byte>* bytes, int32_t* width, int32_t* height,
                      int32_t* channels) {
    PngReader reader;
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!reader.png) return false;
    reader.info = png_create_info_struct(reader.png);
    if (!reader.info) return false;
    if (setjmp(png_jmpbuf(reader.png))) return false;
    png_init_io(reader.png, file);
    png_read_info(reader.png, reader.info);
    const png_byte type = png_get_color_type(reader.png, reader.info);
    if (png_get_bit_depth(reader.png, reader.info) != 8 ||
        (type != PNG_COLOR_TYPE_RGB && type != PNG_COLOR_TYPE_RGB_ALPHA))
        return false;
    *width = int32_t(png_get_image_width(reader.png, reader.info));
    *height = int32_t(png_get_image_height(reader.png, reader.info));
    *channels = type == PNG_COLOR_TYPE_RGB ? 3 : 4;
    const size_t rowBytes = size_t(*width) * size_t(*channels);
    bytes->resize(rowBytes * size_t(*height));
    std::vector<png_bytep> rows(static_cast<size_t>(*height));
    for (size_t y = 0; y < rows.size(); ++y) rows[y] = bytes->data() + y * rowBytes;
    png_read_image(reader.png, rows.data());
    png_read_end(reader.png, nullptr);
    return true;
}

inline bool read_png_file_rgba(std::FILE* file, std::vector<uint8_t>* rgba, int32_t* width, int32_t* height) {
    std::vector<png_byte> bytes;
    int32_t channels = 0;
    if (!read_rows(file, &bytes, width, height, &channels)) return false;
    const size_t pixels = size_t(*width) * size_t(*height);
    rgba->resize(pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        const png_byte* p = bytes.data() + i * size_t(channels);
        uint8_t* out = rgba->data() + i * 4;
        out[0] = p[0];
        out[1] = p[1];
        out[2] = p[2];
        out[3] = channels == 4 ? p[3] : 255;
    }
    return true;
}

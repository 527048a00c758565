// PNG writing through libpng, whole files or none.
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "system/system.h"

namespace {

struct PngWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngWriter() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

// libpng reports errors through longjmp; keep the writing in one frame without
// objects that need destructors between setjmp and the calls.
bool write_rows(std::FILE* file, const std::vector<png_bytep>& rows, int32_t width, int32_t height, bool alpha) {
    PngWriter writer;
    writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!writer.png) return false;
    writer.info = png_create_info_struct(writer.png);
    if (!writer.info) return false;
    if (setjmp(png_jmpbuf(writer.png))) return false;
    png_init_io(writer.png, file);
    png_set_compression_level(writer.png, 3);
    png_set_IHDR(writer.png, writer.info, png_uint_32(width), png_uint_32(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(writer.png, writer.info);
    png_write_image(writer.png, const_cast<png_bytepp>(rows.data()));
    png_write_end(writer.png, nullptr);
    return true;
}

} // namespace

bool write_png(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height, int32_t stride,
               bool alpha, std::string* error) {
    const int32_t channels = alpha ? 4 : 3;
    std::vector<png_byte> bytes(size_t(width) * size_t(height > 0 ? height : 0) * size_t(channels));
    std::vector<png_bytep> rows(size_t(height > 0 ? height : 0));
    for (int32_t y = 0; y < height; ++y) {
        png_bytep row = bytes.data() + size_t(y) * size_t(width) * size_t(channels);
        rows[size_t(y)] = row;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t p = pixels[size_t(y) * size_t(stride) + size_t(x)];
            png_bytep out = row + size_t(x) * size_t(channels);
            out[0] = png_byte(p >> 16);
            out[1] = png_byte(p >> 8);
            out[2] = png_byte(p);
            if (alpha) out[3] = p == 0 ? 0 : 255;
        }
    }
    if (width <= 0 || height <= 0) {
        if (error) *error = "cannot write " + path + ": a picture without pixels";
        return false;
    }
    std::string reason;
    const bool written = write_file_atomically(
        path, [&](std::FILE* file) { return write_rows(file, rows, width, height, alpha); }, &reason);
    if (!written && error) *error = reason;
    return written;
}

// PNG writing through stb_image_write, for systems without libpng (the
// Windows build), whole files or none. zlib's deflate at level 3 takes the
// place of stb's own compressor, so the files are as small as libpng's and
// as quickly made.
#include <zlib.h>

#include <cstdlib>
#include <vector>

#include "system/system.h"

namespace {

unsigned char* deflate_with_zlib(unsigned char* data, int length, int* outLength, int) {
    uLongf size = compressBound(uLong(length));
    unsigned char* const out = static_cast<unsigned char*>(std::malloc(size));
    if (!out || compress2(out, &size, data, uLong(length), 3) != Z_OK) {
        std::free(out);
        return nullptr;
    }
    *outLength = int(size);
    return out;
}

} // namespace

#define STBIW_ZLIB_COMPRESS deflate_with_zlib
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wcast-qual"
#pragma GCC diagnostic ignored "-Wmissing-declarations"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wduplicated-cond"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

// stb hands the file out in pieces; the first failed write is remembered.
struct FileSink {
    std::FILE* file;
    bool ok;
};

void write_to_file(void* context, void* data, int size) {
    FileSink* const sink = static_cast<FileSink*>(context);
    if (sink->ok && std::fwrite(data, 1, size_t(size), sink->file) != size_t(size)) sink->ok = false;
}

// The picture as bytes R, G, B (and A: 0 for a texel of value 0, else 255).
std::vector<unsigned char> picture_bytes(const uint32_t* pixels, int32_t width, int32_t height, int32_t stride,
                                         bool alpha) {
    const size_t channels = alpha ? 4 : 3;
    std::vector<unsigned char> bytes(size_t(width) * size_t(height) * channels);
    unsigned char* out = bytes.data();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x, out += channels) {
            const uint32_t p = pixels[size_t(y) * size_t(stride) + size_t(x)];
            out[0] = static_cast<unsigned char>(p >> 16);
            out[1] = static_cast<unsigned char>(p >> 8);
            out[2] = static_cast<unsigned char>(p);
            if (alpha) out[3] = p == 0 ? 0 : 255;
        }
    }
    return bytes;
}

} // namespace

bool write_png(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height, int32_t stride,
               bool alpha, std::string* error) {
    if (width <= 0 || height <= 0) {
        if (error) *error = "cannot write " + path + ": a picture without pixels";
        return false;
    }
    const std::vector<unsigned char> bytes = picture_bytes(pixels, width, height, stride, alpha);
    const int channels = alpha ? 4 : 3;
    std::string reason;
    const bool written = write_file_atomically(
        path,
        [&](std::FILE* file) {
            FileSink sink{file, true};
            return stbi_write_png_to_func(write_to_file, &sink, width, height, channels, bytes.data(),
                                          width * channels) != 0 &&
                   sink.ok;
        },
        &reason);
    if (!written && error) *error = reason;
    return written;
}

// Procedural image operations over 0x00RRGGBB images.
#include "content/image_ops.h"

#include <algorithm>
#include <cmath>
#include <vector>

uint32_t mix_colors(uint32_t a, uint32_t b, uint8_t weight) {
    const uint32_t rest = 255u - weight;
    uint32_t result = 0;
    for (const uint32_t shift : {0u, 8u, 16u}) {
        const uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        result |= (ca * weight / 255 + cb * rest / 255) << shift;
    }
    return result;
}

void blend_hline(uint32_t* pixels, int32_t w, int32_t x0, int32_t x1, int32_t y, uint32_t color, uint8_t alpha) {
    uint32_t* row = pixels + size_t(y) * size_t(w);
    for (int32_t x = x0; x <= x1; ++x) row[x] = mix_colors(color, row[x], alpha);
}

void blend_vline(uint32_t* pixels, int32_t w, int32_t x, int32_t y0, int32_t y1, uint32_t color, uint8_t alpha) {
    for (int32_t y = y0; y <= y1; ++y) {
        uint32_t& t = pixels[size_t(y) * size_t(w) + size_t(x)];
        t = mix_colors(color, t, alpha);
    }
}

namespace {

// The sample sizes of one turbulence call. A non-finite size gives none
// instead of dividing forever.
std::vector<double> octave_sizes(double size, bool octaves, double divisor) {
    std::vector<double> sizes;
    const double step = std::max(divisor, 1.1);
    for (double s = size; s > 1.0 && std::isfinite(s); s = s / step) {
        sizes.push_back(s);
        if (!octaves) break;
    }
    return sizes;
}

} // namespace

void fill_turbulence(uint32_t* pixels, int32_t w, int32_t h, double size, bool octaves, double divisor,
                     RandomSource& random) {
    if (w <= 0 || h <= 0) return;
    std::vector<double> noise(size_t(w) * size_t(h));
    for (double& n : noise) n = double(next_random(random) % 65536) / 65536.0;
    const std::vector<double> sizes = octave_sizes(size, octaves, divisor);
    const double count = double(sizes.size());

    // Per texel and octave one bilinear sample between the noise value at
    // (x / s, y / s) and its neighbours one to the left and one up, wrapping.
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            double value = 0.0;
            for (const double s : sizes) {
                const double fx = x / s, fy = y / s;
                const int32_t ix = int32_t(fx), iy = int32_t(fy);
                const double u = fx - ix, v = fy - iy;
                const int32_t x1 = (ix + w) % w, y1 = (iy + h) % h;
                const int32_t x2 = (x1 + w - 1) % w, y2 = (y1 + h - 1) % h;
                const double* row1 = noise.data() + size_t(y1) * size_t(w);
                const double* row2 = noise.data() + size_t(y2) * size_t(w);
                value += u * v * row1[x1] + (1 - u) * v * row1[x2] + u * (1 - v) * row2[x1] +
                         (1 - u) * (1 - v) * row2[x2];
            }
            // No octaves at all (a size of 1 or less) gives black, not 0 / 0.
            const uint32_t g = sizes.empty() ? 0 : uint32_t(int64_t(value * 256 / count)) & 0xFF;
            pixels[size_t(y) * size_t(w) + size_t(x)] = g * 0x010101u;
        }
    }
}

void emboss(uint32_t* pixels, int32_t w, int32_t h, uint8_t strength) {
    if (w < 3 || h < 3) return;
    std::vector<uint8_t> grey(size_t(w) * size_t(h));
    for (size_t i = 0; i < grey.size(); ++i) grey[i] = uint8_t(pixels[i]);
    auto g = [&](int32_t x, int32_t y) { return int32_t(grey[size_t(y) * size_t(w) + size_t(x)]); };

    for (int32_t y = 1; y <= h - 2; ++y) {
        for (int32_t x = 1; x <= w - 2; ++x) {
            const int32_t c = g(x, y);
            const int32_t t1 = (c - g(x + 1, y + 1)) * strength / 256;
            const int32_t t2 = (c - g(x - 1, y - 1)) * strength / 256;
            const int32_t a = std::clamp(c + t1, 0, 255);
            int32_t r = a - t2;
            if (r < 0 || r > 255) r = 255; // out of range either way shows as white
            pixels[size_t(y) * size_t(w) + size_t(x)] = uint32_t(r) * 0x010101u;
        }
    }
}

void colorize(uint32_t* pixels, int32_t w, int32_t h, uint32_t high, uint32_t low) {
    const size_t count = size_t(std::max(w, 0)) * size_t(std::max(h, 0));
    for (size_t i = 0; i < count; ++i) pixels[i] = mix_colors(high, low, uint8_t(pixels[i]));
}

void blend_seam_x(uint32_t* pixels, int32_t w, int32_t h, uint8_t k) {
    const int32_t step = std::max<int32_t>(k, 2);
    const int32_t n = w / step;
    for (int32_t y = 0; y < h; ++y) {
        uint32_t* row = pixels + size_t(y) * size_t(w);
        for (int32_t i = 1; i <= n - 1; ++i) {
            const uint8_t weight = uint8_t((i - 1) * 255 * step / (2 * w) - 128);
            const uint32_t left = row[i - 1], right = row[w - i];
            row[i - 1] = mix_colors(left, right, weight);
            row[w - i] = mix_colors(right, left, weight);
        }
    }
}

void blend_seam_y(uint32_t* pixels, int32_t w, int32_t h, uint8_t k) {
    const int32_t step = std::max<int32_t>(k, 2);
    for (int32_t i = 0; i <= h / step - 2; ++i) {
        const uint8_t weight = uint8_t(i * 255 * step / (2 * h) - 128);
        uint32_t* top = pixels + size_t(i) * size_t(w);
        uint32_t* bottom = pixels + size_t(h - 1 - i) * size_t(w);
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t t = top[x], b = bottom[x];
            top[x] = mix_colors(t, b, weight);
            bottom[x] = mix_colors(b, t, weight);
        }
    }
}

void draw_bricks(uint32_t* pixels, int32_t w, int32_t h, uint32_t rowStep, uint32_t colStep, uint32_t dark,
                 uint32_t light, uint8_t alpha) {
    // A step of 0 would never leave the loops.
    if (w <= 0 || h <= 0 || rowStep == 0 || colStep == 0) return;
    const int64_t rows = h, columns = w, course = rowStep, brick = colStep;

    for (int64_t y = 0; y < rows; y += course) {
        blend_hline(pixels, w, 0, w - 1, int32_t(y), light, alpha);
        blend_hline(pixels, w, 0, w - 1, int32_t(y == 0 ? rows - 1 : y - 1), dark, alpha);
    }
    for (int64_t b = 0; b * course < rows; ++b) {
        const int64_t y0 = b * course;
        const int64_t offset = b * (brick / 2);
        const int32_t top = int32_t(std::min(y0 + 1, rows - 1));
        const int32_t bottom = int32_t(std::min(y0 + course - 1, rows - 1));
        for (int64_t x = offset; x - offset < columns; x += brick) {
            // The shadow column is the one left of the lit one, wrapping at 0.
            const int32_t lit = int32_t(x % columns);
            const int32_t shadow = lit == 0 ? w - 1 : lit - 1;
            blend_vline(pixels, w, lit, top, bottom, light, alpha);
            blend_vline(pixels, w, shadow, top, bottom, dark, alpha);
        }
    }
}

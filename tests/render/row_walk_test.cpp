// The wide forms of the row loops must fill exactly the pixels the plain
// loop fills, with the same texels: over random spans of walls and faces,
// columns drawn in places, values that cross binades and zero, leave int32
// or turn NaN, and textures of any width.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "render/row_walk.h"

namespace {

struct Case {
    std::vector<uint32_t> pixels;
    double start, step;
};

// A column of count rows, drawn in random runs, and a start and step of the
// magnitudes the span drawers see, sometimes extreme.
Case random_case(std::mt19937_64& random, int32_t count) {
    std::uniform_real_distribution<double> unit(-1, 1);
    Case c{std::vector<uint32_t>(size_t(count)), 0, 0};
    const int32_t runs = int32_t(random() % 4);
    for (int32_t r = 0; r < runs; ++r) {
        const int32_t from = int32_t(random() % uint64_t(count)), length = int32_t(random() % 40);
        for (int32_t k = from; k < count && k < from + length; ++k) c.pixels[size_t(k)] = 0x123456;
    }
    c.start = std::ldexp(unit(random), int(random() % 14) - 3);
    c.step = std::ldexp(unit(random), int(random() % 8) - 6);
    switch (random() % 16) {
        case 0: c.start = 0; break;
        case 1: c.start = 3e9; break;            // beyond int32
        case 2: c.start = NAN; break;
        case 3: c.step = 0; break;
        case 4: c.step = 1e-19; break;            // adds nothing
        case 5: c.start = -40 * c.step; break;    // crosses zero
        case 6:
        case 7:
        case 8:
            // Eighths and sixteenths: values land exactly on whole texels,
            // where any error in a value shows in its truncation.
            c.start = double(int64_t(random() % 4096) - 2048) / 8;
            c.step = double(int64_t(random() % 33) - 16) / 16;
            break;
        default: break;
    }
    return c;
}

std::vector<uint32_t> texture(int32_t size) {
    std::vector<uint32_t> t(static_cast<size_t>(size));
    for (int32_t i = 0; i < size; ++i) t[size_t(i)] = uint32_t(i) * 2654435761u | 1;  // never 0
    return t;
}

// The column with eight rows after its end, empty and drawn in turn, which
// no walk may change.
std::vector<uint32_t> with_rows_after(std::vector<uint32_t> pixels) {
    for (uint32_t k = 0; k < 8; ++k) pixels.push_back(k % 2 == 0 ? 0 : 0xABCDEF);
    return pixels;
}

// The wide forms this processor can run, each a wall walk and a face walk
// (the four-row form has only a wall walk).
struct WideForm {
    const char* name;
    void (*wall)(uint32_t*, int32_t, double, double, const WallTexels&);
    void (*face)(uint32_t*, int32_t, double, double, const FaceTexels&);
};

std::vector<WideForm> usable_forms() {
    std::vector<WideForm> forms{{"four rows", walk_wall_rows_by_four, nullptr}};
    if (avx2_usable()) forms.push_back({"AVX2", walk_wall_rows_by_eight, walk_face_rows_by_eight});
    if (avx512_usable()) forms.push_back({"AVX-512", walk_wall_rows_avx512, walk_face_rows_avx512});
    return forms;
}

// Each case is walked as a wall and as a face by every usable form. The wide
// walks run over a column that goes on past the walk, so a walk that wrote
// beyond its last row would show.
TEST(RowWalk, WideWalksFillWhatThePlainWalkFills) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(-1, 1);
    const std::vector<uint32_t> texels = texture(128 * 128);
    const std::vector<WideForm> forms = usable_forms();
    for (int i = 0; i < 4000; ++i) {
        const int32_t count = 1 + int32_t(random() % 300);
        const Case c = random_case(random, count);
        SCOPED_TRACE(testing::Message() << "case " << i << " start " << c.start << " step " << c.step);
        const int32_t width = i % 3 == 0 ? 96 : 64, height = i % 2 == 0 ? 64 : 32;
        const WallTexels wall{texels.data() + random() % uint64_t(width), width, height - 1};
        // Denominators of the size the floor walk has: rows times depth.
        const FaceTexels face{texels.data(), 127, 7, unit(random) * 4e5, unit(random) * 4e5, unit(random) * 8000,
                              unit(random) * 8000};
        std::vector<uint32_t> plainWall = c.pixels, plainFace = c.pixels;
        walk_wall_rows_plain(plainWall.data(), count, c.start, c.step, wall);
        walk_face_rows_plain(plainFace.data(), count, c.start * 3000, c.step * 40, face);
        for (const WideForm& form : forms) {
            std::vector<uint32_t> wide = with_rows_after(c.pixels);
            form.wall(wide.data(), count, c.start, c.step, wall);
            ASSERT_EQ(wide, with_rows_after(plainWall)) << form.name << ", as a wall";
            if (form.face == nullptr) continue;
            wide = with_rows_after(c.pixels);
            form.face(wide.data(), count, c.start * 3000, c.step * 40, face);
            ASSERT_EQ(wide, with_rows_after(plainFace)) << form.name << ", as a face";
        }
    }
}

}  // namespace

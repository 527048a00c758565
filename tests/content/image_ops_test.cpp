#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "content/content.h"
#include "content/image_ops.h"

namespace {

uint32_t grey(uint32_t g) { return g * 0x010101u; }

} // namespace

TEST(RandomSource, ReproducesTheClassicSequence) {
    RandomSource random;
    for (const int32_t value : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464})
        EXPECT_EQ(next_random(random), value);
}

TEST(MixColors, TruncatesEachShareOnItsOwn) {
    EXPECT_EQ(mix_colors(0x00FFFFFF, 0x00000000, 128), 0x00808080u);
    EXPECT_EQ(mix_colors(0x000000C8, 0x00000064, 77), 0x00000081u); // 60 + 69, not 130
    EXPECT_EQ(mix_colors(0x00FFFFFF, 0x00FFFFFF, 1), 0x00FFFFFFu);  // never above 255
    EXPECT_EQ(mix_colors(0xFF000000u, 0xFF000000u, 9), 0u);
    // colorize maps the blue byte alone: 0 gives exactly the low colour, 255 the high.
    std::vector<uint32_t> image = {0x00000000, 0x000000FF, 0x00FFFF00};
    colorize(image.data(), 3, 1, 0x00605B24, 0x00294000);
    EXPECT_EQ(image, (std::vector<uint32_t>{0x00294000, 0x00605B24, 0x00294000}));
}

TEST(Turbulence, OctaveCounts) {
    EXPECT_EQ(turbulence_octaves(4, false, 0), 1);
    EXPECT_EQ(turbulence_octaves(120, true, 2.8), 5);
    EXPECT_EQ(turbulence_octaves(120, true, 2.6), 6); // the sixth size is 1.0099...
    EXPECT_EQ(turbulence_octaves(64, true, 1.5), 11);
    EXPECT_EQ(turbulence_octaves(4, true, 0.5), 15); // as for 1.1
    EXPECT_EQ(turbulence_octaves(INFINITY, true, 2.0), 0);
}

// At size 4 a texel whose coordinates are multiples of 4 takes the noise value
// of its upper-left neighbour cell, wrapping at the image's edges.
TEST(Turbulence, SingleSampleReadsTheNoiseItDrew) {
    constexpr int32_t W = 8, H = 8;
    RandomSource copy;
    std::vector<uint32_t> draws(W * H);
    for (uint32_t& d : draws) d = uint32_t(next_random(copy));

    std::vector<uint32_t> image(W * H);
    RandomSource random;
    fill_turbulence(image.data(), W, H, 4, false, 0, random);
    EXPECT_EQ(random.state, copy.state);
    EXPECT_EQ(image[0], grey(draws[W * H - 1] >> 8));     // (0, 0) reads N(7, 7)
    EXPECT_EQ(image[4 * W + 4], grey(draws[0] >> 8));     // (4, 4) reads N(0, 0)
    EXPECT_EQ(image[4 * W + 0], grey(draws[W - 1] >> 8)); // (0, 4) reads N(7, 0)
    for (const uint32_t t : image) EXPECT_TRUE(t == grey(t & 0xFF) && (t & 0xFF) <= 127) << t;

    fill_turbulence(image.data(), W, H, 0.5, true, 2, random); // no octave at all: black, not 0 / 0
    EXPECT_EQ(image, std::vector<uint32_t>(W * H, 0));
}

TEST(Emboss, ReliefRulesAndBorder) {
    // 3 x 3: only the centre is inside the border. Values are blue bytes.
    auto centre_after = [](uint32_t upLeft, uint32_t c, uint32_t downRight) {
        std::vector<uint32_t> image = {upLeft, 0x00AB0007, 9, 11, c, 13, 0x00FF0000, 17, downRight};
        const std::vector<uint32_t> before = image;
        emboss(image.data(), 3, 3, 255);
        const uint32_t centre = image[4];
        image[4] = before[4];
        EXPECT_EQ(image, before);
        return centre;
    };
    EXPECT_EQ(centre_after(120, 100, 60), grey(158)); // t2 = -19.9 truncates toward zero
    EXPECT_EQ(centre_after(0, 200, 255), grey(255));  // 146 - 199 is negative: white
    EXPECT_EQ(centre_after(255, 50, 0), grey(255));   // 99 + 204 is above 255: white
    EXPECT_EQ(centre_after(0, 10, 255), grey(255));   // a clamps to 0, then 0 - 9: white
}

// White on the left half and black on the right: after blending, each blended
// left texel holds its weight and the matching right one 255 minus it.
TEST(Seams, WeightsNearTheEdges) {
    const uint32_t weights[7] = {128, 143, 159, 175, 191, 207, 223};
    std::vector<uint32_t> row(128);
    for (int32_t x = 0; x < 128; ++x) row[size_t(x)] = x < 64 ? 0x00FFFFFF : 0;
    std::vector<uint32_t> column = row; // the same texels as a 1 x 128 image
    blend_seam_x(row.data(), 128, 1, 16);
    blend_seam_y(column.data(), 1, 128, 16);
    for (int32_t i = 0; i < 8; ++i) {
        const uint32_t left = i < 7 ? grey(weights[i]) : 0x00FFFFFF, right = i < 7 ? grey(255 - weights[i]) : 0;
        EXPECT_EQ(row[size_t(i)], left) << i;
        EXPECT_EQ(row[size_t(127 - i)], right) << i;
        EXPECT_EQ(column[size_t(i)], left) << i;
        EXPECT_EQ(column[size_t(127 - i)], right) << i;
    }
}

// With alpha 255 the joints replace the texels, so where they go can be read off.
TEST(Bricks, JointsAndTheirShadowsWrap) {
    constexpr int32_t W = 128, H = 128;
    constexpr uint32_t Light = 0x00FFFFFF, Dark = 0x00000001, Plain = 0x00808080;
    std::vector<uint32_t> image(W * H, Plain);
    draw_bricks(image.data(), W, H, 16, 32, Dark, Light, 255);
    auto at = [&](int32_t x, int32_t y) { return image[size_t(y * W + x)]; };

    EXPECT_EQ(std::count(image.begin() + 16 * W, image.begin() + 17 * W, Light), W);
    EXPECT_EQ(at(5, 63), Dark);   // shadow line above the joint row 64
    EXPECT_EQ(at(5, 127), Dark);  // row 0's shadow wraps to the last row
    EXPECT_EQ(at(32, 8), Light);
    EXPECT_EQ(at(31, 8), Dark);
    EXPECT_EQ(at(127, 8), Dark);  // left of column 0, wrapped
    EXPECT_EQ(at(48, 24), Light); // the next course is shifted by half a brick
    EXPECT_EQ(at(32, 24), Plain);
    // The last course starts at 112; its joints at 144 and 176 wrap to 16 and
    // 48, with their shadows at 15 and 47 on the same rows.
    EXPECT_EQ(at(16, 120), Light);
    EXPECT_EQ(at(15, 120), Dark);
    EXPECT_EQ(at(47, 120), Dark);
    EXPECT_EQ(at(14, 120), Plain);

    std::vector<uint32_t> untouched(W * H, Plain);
    draw_bricks(untouched.data(), W, H, 0, 32, Dark, Light, 255); // a zero step draws nothing
    EXPECT_EQ(untouched, std::vector<uint32_t>(W * H, Plain));
}

// Every operation here also paints the base textures, whose committed hashes
// catch any change to a texel. These cases name the likeliest faults directly
// and cover the degenerate inputs that no texture uses.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "content/content.h"
#include "content/image_ops.h"

TEST(RandomSource, ReproducesTheClassicSequence) {
    RandomSource random;
    for (const int32_t value : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464})
        EXPECT_EQ(next_random(random), value);
}

TEST(ImageOps, RoundingAndClamping) {
    EXPECT_EQ(mix_colors(0x000000C8, 0x00000064, 77), 0x00000081u);  // 60 + 69, not 130
    EXPECT_EQ(mix_colors(0x00FFFFFF, 0x00FFFFFF, 1), 0x00FFFFFFu);   // never above 255
    EXPECT_EQ(turbulence_octaves(120, true, 2.6), 6);  // the sixth size is 1.0099...
    EXPECT_EQ(turbulence_octaves(4, true, 0.5), 15);   // as for 1.1
    // 3 x 3 relief: only the centre is inside the border, and it clamps to white.
    std::vector<uint32_t> image = {0, 0x00AB0007, 9, 11, 200, 13, 0x00FF0000, 17, 255};
    std::vector<uint32_t> expected = image;
    expected[4] = 0x00FFFFFF;  // 146 - 199 is negative: white
    emboss(image.data(), 3, 3, 255);
    EXPECT_EQ(image, expected);
}

TEST(ImageOps, DegenerateSizesAndStepsDoNoHarm) {
    EXPECT_EQ(turbulence_octaves(INFINITY, true, 2.0), 0);
    // No octave at all gives black, not 0 / 0.
    std::vector<uint32_t> image(64, 0x00808080);
    RandomSource random;
    fill_turbulence(image.data(), 8, 8, 0.5, true, 2, random);
    EXPECT_EQ(image, std::vector<uint32_t>(64, 0));
    // A zero brick step draws nothing.
    std::vector<uint32_t> bricks(128 * 128, 0x00808080);
    draw_bricks(bricks.data(), 128, 128, 0, 32, 1, 0x00FFFFFF, 255);
    EXPECT_EQ(bricks, std::vector<uint32_t>(128 * 128, 0x00808080));
}

// Every operation here also paints the base textures, whose committed hashes
// catch any change to a texel (the random sequence and the rounding of
// mixed colours included). These cases cover the degenerate inputs that no
// texture uses.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "content/content.h"
#include "content/image_ops.h"

namespace {

// Noise of one size from a fresh random source.
std::vector<uint32_t> turbulence(double size, double divisor) {
    std::vector<uint32_t> image(16 * 16, 0x00808080);
    RandomSource random;
    fill_turbulence(image.data(), 16, 16, size, true, divisor, random);
    return image;
}

}  // namespace

TEST(ImageOps, DegenerateSizesAndStepsDoNoHarm) {
    // A divisor that would never shrink the size counts as 1.1.
    EXPECT_EQ(turbulence(4, 0.5), turbulence(4, 1.1));
    EXPECT_NE(turbulence(4, 1.1), turbulence(4, 2));
    // No octave at all (a size of 1 or less, or one that never shrinks)
    // gives black, not 0 / 0, and returns.
    EXPECT_EQ(turbulence(0.5, 2), std::vector<uint32_t>(16 * 16, 0));
    EXPECT_EQ(turbulence(INFINITY, 2), std::vector<uint32_t>(16 * 16, 0));
    // A 3 x 3 relief: only the centre is inside the border, and its
    // negative value (146 - 199) clamps to white.
    std::vector<uint32_t> image = {0, 0x00AB0007, 9, 11, 200, 13, 0x00FF0000, 17, 255};
    std::vector<uint32_t> expected = image;
    expected[4] = 0x00FFFFFF;
    emboss(image.data(), 3, 3, 255);
    EXPECT_EQ(image, expected);
    // A zero brick step draws nothing.
    std::vector<uint32_t> bricks(128 * 128, 0x00808080);
    draw_bricks(bricks.data(), 128, 128, 0, 32, 1, 0x00FFFFFF, 255);
    EXPECT_EQ(bricks, std::vector<uint32_t>(128 * 128, 0x00808080));
}

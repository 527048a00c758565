// The content made at start: text drawn with the font, the image operations
// that paint the textures, and the texture table with its shaded variants.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "content/content.h"
#include "content/font.h"
#include "content/image_ops.h"
#include "content/texture.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t Ink = 0x00FFFFFF, Paper = 0x00123456;

// The 8 row bytes read back from the ink in an image at (x, y).
std::vector<uint8_t> rows_at(const std::vector<uint32_t>& image, int32_t rowLength, int32_t x, int32_t y) {
    std::vector<uint8_t> rows(8, 0);
    for (int32_t j = 0; j < 8; ++j)
        for (int32_t i = 0; i < 8; ++i)
            if (image[size_t((y + j) * rowLength + x + i)] == Ink) rows[size_t(j)] |= uint8_t(0x80 >> i);
    return rows;
}

std::vector<uint8_t> glyph_as_drawn(uint8_t character) {
    std::vector<uint32_t> image(24 * 12, Paper);
    draw_glyph_on_image(image.data(), 24, character, 5, 2);
    return rows_at(image, 24, 5, 2);
}

// A picture of the FrameBuffer's size, all paper.
std::vector<uint32_t> blank_frame() { return std::vector<uint32_t>(size_t(ScreenWidth) * ScreenHeight, Paper); }

// Noise of one size from a fresh random source.
std::vector<uint32_t> turbulence(double size, double divisor) {
    std::vector<uint32_t> image(16 * 16, 0x00808080);
    RandomSource random;
    fill_turbulence(image.data(), 16, 16, size, true, divisor, random);
    return image;
}

// Puts a w x h texture of one colour in table entry index.
Texture& make_base(int32_t index, int32_t w, int32_t h, uint32_t color) {
    Texture& t = TextureTable[index];
    t.width = w;
    t.height = h;
    t.pixels = static_cast<uint32_t*>(std::malloc(size_t(w) * size_t(h) * sizeof(uint32_t)));
    std::fill(t.pixels, t.pixels + size_t(w) * size_t(h), color);
    return t;
}

int32_t chain_length(const Texture& t) {
    int32_t n = 0;
    while (n < MaxMipLevels && t.mips[n]) ++n;
    for (int32_t k = n; k < MaxMipLevels; ++k) EXPECT_EQ(t.mips[k], nullptr);
    return n;
}

class TextureTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset_texture_table();
        texture_count = BaseTextureCount;
    }
    void TearDown() override { reset_texture_table(); }
};

} // namespace

// The glyphs themselves are in the committed hashes of the text pages. Control
// bytes draw as '_', bytes from 127 up as nothing, each takes one cell, and
// only ink is written.
TEST(Font, EveryByteTakesOneCell) {
    const std::vector<uint8_t> underscore = glyph_as_drawn('_'), empty(8, 0);
    ASSERT_NE(underscore, empty);
    for (uint8_t c : {1, 31}) EXPECT_EQ(glyph_as_drawn(c), underscore) << int(c);
    for (uint8_t c : {127, 255}) EXPECT_EQ(glyph_as_drawn(c), empty) << int(c);
    std::vector<uint32_t> image(40 * 10, Paper);
    draw_text_on_image(image.data(), 40, "A\x80\nB", 0, 1);
    EXPECT_EQ(rows_at(image, 40, 8, 1), empty);
    EXPECT_EQ(rows_at(image, 40, 16, 1), underscore);
    EXPECT_EQ(rows_at(image, 40, 24, 1), glyph_as_drawn('B'));
    EXPECT_EQ(std::count(image.begin(), image.end(), Paper) + std::count(image.begin(), image.end(), Ink), 400);
}

// At scale 2 each font pixel is a 2 x 2 block.
TEST(Font, FrameScales) {
    std::vector<uint32_t> frame = blank_frame();
    draw_glyph(frame.data(), 'A', 100, 200, 2);
    for (int32_t i = 0; i < 16; ++i)  // 'A' row 7 is E7
        EXPECT_EQ(frame[(200 + 15) * ScreenWidth + 100 + i] == Ink, (0xE7 & (0x80 >> (i / 2))) != 0) << i;
    EXPECT_EQ(std::count(frame.begin(), frame.end(), Ink), 4 * 30);
}

// Cells that stick out of the target are cut at its edges instead of
// wrapping into the next row or writing outside the buffer.
TEST(Font, CellsOverTheEdgeAreClipped) {
    std::vector<uint32_t> frame = blank_frame();
    draw_text(frame.data(), "MMMM", ScreenWidth - 4, ScreenHeight - 3, 2);
    draw_text(frame.data(), "M", -10, -10, 2);
    for (int32_t y = 0; y < ScreenHeight; ++y)
        for (int32_t x = 0; x < ScreenWidth; ++x) {
            if (frame[size_t(y) * ScreenWidth + x] != Ink) continue;
            ASSERT_TRUE((x >= ScreenWidth - 4 && y >= ScreenHeight - 3) || (x < 6 && y < 6)) << x << "," << y;
        }
    std::vector<uint32_t> image(16 * 9, Paper);
    draw_text_on_image(image.data(), 16, "MM", 12, 0);
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 12; ++x) EXPECT_EQ(image[size_t(y * 16 + x)], Paper) << x << "," << y;
}

// Every operation here also paints the base textures, whose committed hashes
// catch any change to a texel (the random sequence and the rounding of
// mixed colours included). These cases cover the degenerate inputs that no
// texture uses.
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

// Chain lengths and texels of every base texture are in the committed hashes;
// these are the cases the base textures do not have.
TEST_F(TextureTableTest, ChainsOfWideTexturesAndRebuilds) {
    build_mips(make_base(2, 1024, 128, 7));
    EXPECT_EQ(chain_length(TextureTable[2]), 0);
    Texture& label = make_base(3, 128, 16, 0x00405060);
    build_mips(label);
    build_mips(label);  // building again replaces the chain instead of leaking it
    EXPECT_EQ(chain_length(label), 7);  // 64 x 8 down to 1 x 0
    EXPECT_EQ(label.mips[3][7], 0x00405060u);  // level 4 is 8 x 1
}

TEST_F(TextureTableTest, VariantsAreMadeOnceAndKept) {
    Texture& base = make_base(3, 8, 8, 0x00FFFFFF);
    Texture& other = make_base(4, 8, 8, 0x00FFFFFF);
    base.pixels[5] = 0;

    EXPECT_EQ(get_shaded_texture(&base, 0), &base);
    Texture* const variant = get_shaded_texture(&base, 31);
    EXPECT_EQ(variant, &TextureTable[BaseTextureCount]);
    EXPECT_EQ(get_shaded_texture(&base, 40), variant);  // beyond the darkest level
    EXPECT_EQ(get_shaded_texture(&other, 31), &TextureTable[BaseTextureCount + 1]);
    EXPECT_EQ(texture_count, BaseTextureCount + 2);

    // The shaded texels and their chains are in every golden frame; these are
    // the texels no base texture has.
    EXPECT_EQ(variant->pixels[5], 0u);  // transparent stays transparent
    EXPECT_EQ(shade_color(0x00000100, 31), 0x00010101u);  // dark texels never turn transparent
    EXPECT_EQ(chain_length(*variant), 3);
}

TEST_F(TextureTableTest, FullTableGivesTheUnshadedTexture) {
    Texture& base = make_base(0, 4, 4, 0x00808080);
    texture_count = TextureRecords - 1;
    EXPECT_EQ(get_shaded_texture(&base, 1), &TextureTable[TextureRecords - 1]);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(get_shaded_texture(&base, 2), &base);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(texture_count, TextureRecords);
    EXPECT_EQ(base.shades[2], 0u);
    EXPECT_EQ(get_shaded_texture(&base, 1), &TextureTable[TextureRecords - 1]);  // made ones still serve
    EXPECT_NE(said.find("texture records"), std::string::npos);
    EXPECT_EQ(said.find('\n'), said.size() - 1);  // said once
}

// Workers asking for the same variants at the same moment share one record each.
TEST_F(TextureTableTest, ConcurrentRequestsShareOneRecord) {
    Texture& base = make_base(11, 256, 256, 0x00010101);
    constexpr int32_t Threads = 8, Levels = 3;
    std::atomic<int32_t> ready{0};
    std::vector<Texture*> got(Threads * Levels, nullptr);
    std::vector<std::thread> threads;
    for (int32_t i = 0; i < Threads; ++i)
        threads.emplace_back([&, i] {
            for (ready.fetch_add(1); ready.load() < Threads;) {
            }
            for (int32_t r = 0; r < Levels; ++r) got[size_t(i * Levels + r)] = get_shaded_texture(&base, 2 + r);
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(texture_count, BaseTextureCount + Levels);
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], &TextureTable[base.shades[2 + i % Levels]]);
}

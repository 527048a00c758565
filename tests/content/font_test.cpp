#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "content/font.h"
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

}  // namespace

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

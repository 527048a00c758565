#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/font.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t Ink = 0x00FFFFFF;
constexpr uint32_t Paper = 0x00123456;

// The 8 row bytes of what a glyph drew at (x, y) into an image, read back
// from the pixels (ink = 1).
std::vector<uint8_t> rows_at(const uint32_t* image, int32_t rowLength, int32_t x, int32_t y) {
    std::vector<uint8_t> rows(8, 0);
    for (int32_t j = 0; j < 8; ++j)
        for (int32_t i = 0; i < 8; ++i)
            if (image[(y + j) * rowLength + x + i] == Ink) rows[size_t(j)] |= uint8_t(0x80 >> i);
    return rows;
}

std::vector<uint8_t> glyph_as_drawn(uint8_t character) {
    std::vector<uint32_t> image(24 * 12, Paper);
    draw_glyph_on_image(image.data(), 24, character, 5, 2);
    return rows_at(image.data(), 24, 5, 2);
}

void clear_frame_buffer() {
    static bool allocated = false;
    if (!allocated) {
        std::string error;
        ASSERT_TRUE(platform_allocate_frame_buffer(&error)) << error;
        allocated = true;
    }
    std::fill(FrameBuffer, FrameBuffer + size_t(ScreenWidth) * ScreenHeight, 0u);
}

size_t count_ink() {
    size_t n = 0;
    for (size_t i = 0; i < size_t(ScreenWidth) * ScreenHeight; ++i) n += FrameBuffer[i] == Ink;
    return n;
}

} // namespace

// Glyphs from every band and from both ends of a band row, with the leftmost
// and rightmost bits in use, so a wrong layout index or bit order shows.
TEST(Font, GlyphsDrawAsTabled) {
    const std::vector<std::pair<uint8_t, std::vector<uint8_t>>> expected = {
        {'!', {0x00, 0x18, 0x18, 0x18, 0x18, 0x18, 0x00, 0x18}},
        {'/', {0x00, 0x02, 0x06, 0x0C, 0x18, 0x30, 0x60, 0x00}},
        {'&', {0x00, 0x3C, 0x66, 0x3C, 0x19, 0x3E, 0x66, 0x3D}},
        {'4', {0x00, 0x0E, 0x1E, 0x36, 0x66, 0x67, 0x7F, 0x06}},
        {'A', {0x00, 0x18, 0x3C, 0x66, 0x7E, 0x66, 0x66, 0xE7}},
        {'R', {0x00, 0xFC, 0x66, 0x66, 0x7C, 0x66, 0x66, 0xE7}},
        {'_', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7E}},
        {'g', {0x00, 0x00, 0x00, 0x7E, 0xCC, 0x7C, 0x0C, 0x78}},
        {'m', {0x00, 0x00, 0x00, 0x54, 0x6A, 0x6A, 0x6A, 0xEB}},
        {'~', {0x00, 0x00, 0x32, 0x7E, 0x4C, 0x00, 0x00, 0x00}},
    };
    for (const auto& [character, rows] : expected) EXPECT_EQ(glyph_as_drawn(character), rows) << character;
    for (int c = 32; c < 128; ++c) EXPECT_EQ(glyph_as_drawn(uint8_t(c))[0], 0) << "row 0 of " << c;
}

TEST(Font, ControlBytesShowUnderscoreAndHighBytesNothing) {
    const std::vector<uint8_t> underscore = glyph_as_drawn('_');
    const std::vector<uint8_t> empty(8, 0);
    for (uint8_t c : {1, 9, 10, 31}) EXPECT_EQ(glyph_as_drawn(c), underscore) << int(c);
    for (uint8_t c : {127, 128, 200, 255}) EXPECT_EQ(glyph_as_drawn(c), empty) << int(c);

    // Every byte takes one cell, whether it draws or not; only ink is written.
    std::vector<uint32_t> image(40 * 10, Paper);
    draw_text_on_image(image.data(), 40, "A\x80\nB", 0, 1);
    EXPECT_EQ(rows_at(image.data(), 40, 0, 1), glyph_as_drawn('A'));
    EXPECT_EQ(rows_at(image.data(), 40, 8, 1), empty);
    EXPECT_EQ(rows_at(image.data(), 40, 16, 1), underscore);
    EXPECT_EQ(rows_at(image.data(), 40, 24, 1), glyph_as_drawn('B'));
    for (int32_t x = 0; x < 40; ++x) EXPECT_EQ(image[size_t(x)], Paper);

    std::vector<uint32_t> untouched(40 * 10, Paper);
    draw_text_on_image(untouched.data(), 40, "", 0, 0);
    EXPECT_EQ(untouched, std::vector<uint32_t>(40 * 10, Paper));
}

TEST(Font, FrameBufferScales) {
    clear_frame_buffer();
    // 'A' row 7 is E7: columns 0-2 and 5-7 set. At scale 2 each is a 2 x 2 block.
    draw_glyph('A', 100, 200, 2);
    const uint32_t* row14 = FrameBuffer + (200 + 14) * ScreenWidth + 100;
    const uint32_t* row15 = row14 + ScreenWidth;
    for (int32_t i = 0; i < 16; ++i) {
        const bool set = (0xE7 & (0x80 >> (i / 2))) != 0;
        EXPECT_EQ(row14[i] == Ink, set) << i;
        EXPECT_EQ(row15[i] == Ink, set) << i;
    }
    EXPECT_EQ(count_ink(), size_t(4 * (2 + 4 + 4 + 6 + 4 + 4 + 6)));

    // Scale 3 draws 16 x 16 cells like scale 2 but the pen moves 24 a byte.
    clear_frame_buffer();
    draw_text("__", 0, 0, 3);
    const uint32_t* base = FrameBuffer + 14 * ScreenWidth;
    for (int32_t x = 0; x < 48; ++x) {
        const bool first = x >= 2 && x < 14, second = x >= 26 && x < 38;
        EXPECT_EQ(base[x] == Ink, first || second) << x;
    }
    EXPECT_EQ(count_ink(), size_t(2 * 12 * 2));

    clear_frame_buffer();
    draw_text("_", 0, 0, 1);
    EXPECT_EQ(count_ink(), size_t(6));
}

// Cells that stick out of the target are cut at its edges instead of wrapping
// into the next row or writing outside the buffer.
TEST(Font, CellsOverTheEdgeAreClipped) {
    clear_frame_buffer();
    draw_text("MMMM", ScreenWidth - 4, ScreenHeight - 3, 2);
    draw_text("M", -10, -10, 2);
    for (int32_t y = 0; y < ScreenHeight; ++y)
        for (int32_t x = 0; x < ScreenWidth; ++x) {
            if (FrameBuffer[size_t(y) * ScreenWidth + x] != Ink) continue;
            ASSERT_TRUE((x >= ScreenWidth - 4 && y >= ScreenHeight - 3) || (x < 6 && y < 6)) << x << "," << y;
        }

    std::vector<uint32_t> image(16 * 9, Paper);
    draw_text_on_image(image.data(), 16, "MM", 12, 0);
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 12; ++x) EXPECT_EQ(image[size_t(y * 16 + x)], Paper) << x << "," << y;
}

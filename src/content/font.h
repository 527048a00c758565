// The built-in 8 x 8 bitmap font, drawn in white over what is already there.
#pragma once

#include <cstdint>

// 96 glyphs for codes 32..127 as a one-bit image 128 pixels wide and 48 high:
// the byte of row r of code c is at ((c - 32) / 16) * 128 + r * 16 + (c - 32) % 16.
extern const uint8_t Font8x8[768];

// Into frame, a ScreenWidth x ScreenHeight picture (the FrameBuffer's size and
// row length). Scale 1 draws 8 x 8 cells; any other scale 16 x 16.
void draw_glyph(uint32_t* frame, uint8_t character, int32_t x, int32_t y, int32_t scale);
// Advances x by 8 x scale after each byte.
void draw_text(uint32_t* frame, const char* text, int32_t x, int32_t y, int32_t scale);

// Into any 32-bit image with the given row length, at scale 1.
void draw_glyph_on_image(uint32_t* image, int32_t rowLength, uint8_t character, int32_t x, int32_t y);
void draw_text_on_image(uint32_t* image, int32_t rowLength, const char* text, int32_t x, int32_t y);

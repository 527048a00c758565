// Placeholder until the font lands.
#include "content/font.h"

const uint8_t Font8x8[768] = {};
void draw_glyph(uint8_t, int32_t, int32_t, int32_t) {}
void draw_text(const char*, int32_t, int32_t, int32_t) {}
void draw_glyph_on_image(uint32_t*, int32_t, uint8_t, int32_t, int32_t) {}
void draw_text_on_image(uint32_t*, int32_t, const char*, int32_t, int32_t) {}

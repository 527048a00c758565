// Procedural image operations that paint the base textures: value noise,
// relief, colour mapping, seamless edges and brick joints. All work in place
// on row-major 0x00RRGGBB images whose row length is their width.
#pragma once

#include <cstdint>

#include "content/content.h"

// Per channel a * weight / 255 + b * (255 - weight) / 255, each quotient
// truncated on its own, so no channel exceeds 255.
uint32_t mix_colors(uint32_t a, uint32_t b, uint8_t weight);

// Sets each texel of the run to mix_colors(color, texel, alpha).
void blend_hline(uint32_t* pixels, int32_t w, int32_t x0, int32_t x1, int32_t y, uint32_t color, uint8_t alpha);
void blend_vline(uint32_t* pixels, int32_t w, int32_t x, int32_t y0, int32_t y1, uint32_t color, uint8_t alpha);

// Grey smooth value noise from w x h draws of the random source, the octaves
// averaged with equal weight; greys stay at or below 127. The octaves are
// sampled at size, then at size divided by max(divisor, 1.1) again and again
// while above 1 (only the first when octaves is unset).
void fill_turbulence(uint32_t* pixels, int32_t w, int32_t h, double size, bool octaves, double divisor,
                     RandomSource& random);

// Grey relief from the blue bytes; the outer ring of texels is kept.
void emboss(uint32_t* pixels, int32_t w, int32_t h, uint8_t strength);

// Maps the blue byte g of each texel to mix_colors(high, low, g).
void colorize(uint32_t* pixels, int32_t w, int32_t h, uint32_t high, uint32_t low);

// Blends the columns (rows) near opposite edges into each other so the image
// repeats without a seam; k below 2 counts as 2.
void blend_seam_x(uint32_t* pixels, int32_t w, int32_t h, uint8_t k);
void blend_seam_y(uint32_t* pixels, int32_t w, int32_t h, uint8_t k);

// Brick joints: a lit line with a shadow line above it every rowStep rows, and
// in each course lit and shadow columns every colStep, shifted half a brick
// per course. Row -1 and column -1 wrap to the last row and column.
void draw_bricks(uint32_t* pixels, int32_t w, int32_t h, uint32_t rowStep, uint32_t colStep, uint32_t dark,
                 uint32_t light, uint8_t alpha);

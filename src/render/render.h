// The column renderer: one ray per screen column through the grid, drawn
// nearest first into the FrameBuffer with no depth buffer. Reads TheCamera,
// TheWorld, HorizonOffset and the TextureTable; sets visited flags.
#pragma once

#include <cstdint>

// Clears and draws one screen column.
void render_column(int32_t x);

// Draws the 64 columns of one tile, left to right; what a render worker runs.
void render_tile(int32_t tile);

// The column renderer: one ray per screen column through the grid, drawn
// nearest first into the FrameBuffer with no depth buffer. Reads TheCamera,
// TheWorld, HorizonOffset and the TextureTable; sets visited flags.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The columns of one tile: what a render worker draws at a time.
constexpr int32_t TileWidth = 64;

// A render worker's drawing area for one tile: TileWidth columns of
// ScreenHeight rows each, column-major, so that drawing a column walks memory
// linearly. Each worker owns one, made when the worker is made: at 276 KB it
// belongs neither on a thread's stack nor in thread-local storage, which the
// loader reserves inside every thread's stack, small ones included.
struct TileScratch {
    alignas(64) uint32_t pixels[TileWidth * ScreenHeight];
};

// Clears and draws one screen column.
void render_column(int32_t x);

// Draws the 64 columns of one tile, left to right, through scratch; what a
// render worker runs.
void render_tile(int32_t tile, TileScratch& scratch);

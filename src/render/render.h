// The column renderer: one ray per screen column through the grid, drawn
// nearest first with no depth buffer. A frame is drawn from a View, taken
// once from the camera and the horizon, into a picture of ScreenWidth x
// ScreenHeight pixels; the rays also set the visited flags of the cells they
// enter, so the world is written as well as read.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "render/spans.h"

struct Camera;
struct WorldGrid;

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

// The camera's values and the horizon offset, with the sky panorama of the
// TextureTable behind them.
View make_view(const Camera& camera, int32_t horizon);

// Casts the ray of screen column x through the grid and draws into target
// (which must already be cleared) the hits of each cell it crosses, nearest
// first, then the sky where the column is still empty.
void render_column(int32_t x, ColumnTarget target, WorldGrid& world, const View& view, ColumnCaches& caches);

// Draws the TileWidth columns of one tile, left to right, through scratch
// into the same columns of frame (ScreenWidth x ScreenHeight, row-major);
// what a render worker runs for each tile it takes.
void render_tile(int32_t tile, WorldGrid& world, const View& view, TileScratch& scratch, uint32_t* frame);

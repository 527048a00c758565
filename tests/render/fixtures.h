// Hand-made worlds and textures for the renderer tests.
#pragma once

#include <cstdint>
#include <string>

#include "world/world.h"

struct Texture;

// Texel of a fixture texture: level, row and column are readable from it
// and it is never 0.
inline uint32_t fixture_texel(int32_t level, int32_t row, int32_t col) {
    return (uint32_t(level + 1) << 20) | (uint32_t(row & 1023) << 10) | uint32_t(col & 1023);
}
inline int32_t texel_row(uint32_t t) { return int32_t((t >> 10) & 1023); }

// TextureTable entry index, w x h with a mip chain of readable texels
// (levels 1..ilog2(w)); texels where transparent(col, row) holds at level 0 are 0.
Texture* make_fixture_texture(int32_t index, int32_t w, int32_t h, bool (*transparent)(int32_t, int32_t) = nullptr);

// A level polygon over the local corners xy[0..m) of cell (a, b), from zBottom to zTop.
PolygonGeometry polygon_geometry(int32_t a, int32_t b, const double (*xy)[2], int32_t m, double zBottom, double zTop,
                                 Texture* side, Texture* top, Texture* bottom);
// A box over the local rectangle [x0, x1] x [y0, y1], corners counter-clockwise from (x0, y0).
PolygonGeometry box_geometry(int32_t a, int32_t b, double x0, double y0, double x1, double y1, double zBottom,
                             double zTop, Texture* side, Texture* top, Texture* bottom);

// Appends a shape to cell (a, b) of TheWorld (owned by the world).
void add_shape(int32_t a, int32_t b, int32_t kind, const PolygonGeometry& g, double zTop, double zBottom);

// Empty world with the inner 30 x 30 cells in the world, a camera at (x, y,
// eye) with the given heading, HorizonOffset, a sky texture and a frame buffer.
void reset_scene(double x, double y, double eye, double heading, int32_t horizon);

// FNV-1a over the frame buffer, as 16 hex digits.
std::string frame_hash();

// Writes the frame buffer as a PNG (for looking at a failing frame); returns the path.
std::string write_frame_png(const std::string& name);

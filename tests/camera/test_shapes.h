// Small hand-built worlds for the camera tests.
#pragma once

#include "world/builder.h"
#include "world/shapes.h"

// A box (or sheet) over the local rectangle [x0, x1] x [y0, y1] of cell (a, b).
inline void add_box(WorldGrid& grid, int32_t a, int32_t b, double x0, double y0, double x1, double y1, double zBottom,
                    double zTop, int32_t kind = QuadPrism) {
    PolygonGeometry g{};
    g.vertices[0] = ShapeVertex{x0, y0, zBottom, zTop};
    g.vertices[1] = ShapeVertex{x0, y1, zBottom, zTop};
    g.vertices[2] = ShapeVertex{x1, y1, zBottom, zTop};
    g.vertices[3] = ShapeVertex{x1, y0, zBottom, zTop};
    add_polygon_shape(grid, a, b, kind, g);
}

// Level terrain at height h over the cells a0..a1 x b0..b1: two sheets a cell.
inline void add_level_ground(WorldGrid& grid, int32_t a0, int32_t a1, int32_t b0, int32_t b1, double h) {
    for (int32_t a = a0; a <= a1; ++a)
        for (int32_t b = b0; b <= b1; ++b) add_terrain_cell(grid, a, b, h, h, h, h, nullptr);
}

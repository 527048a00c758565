// The world: a 32 x 32 grid of one-unit cells, each with a short list of
// shapes in cell-local coordinates. Built once at start, then read-only except
// for the per-frame visited flags.
#pragma once

#include <cstdint>

struct Texture;

constexpr int32_t GridSize = 32;
constexpr int32_t MaxShapesPerCell = 16;

enum ShapeKind : int32_t {
    TrianglePrism = 3,
    QuadPrism = 4,
    QuadSheet = 5,
    TriangleSheet = 6,
    Cylinder = 7,
};

struct ShapeVertex {
    double x, y;           // cell-local
    double zBottom, zTop;  // world heights of the bottom and top face at this corner
};

// The line through a polygon edge in world coordinates: X = slope * Y + intercept.
// With constY set (both ends share y) slope and intercept are not set.
struct EdgeLine {
    double slope;
    double intercept;
    uint8_t constY;
    uint8_t constX;
};

// Height over the cell-local point (x, y): z0 + dzdx * x + dzdy * y.
struct HeightPlane {
    double z0, dzdx, dzdy;
};

struct PolygonGeometry {
    ShapeVertex vertices[4];   // triangles use 0..2
    EdgeLine edges[4];         // edge i joins vertex i to vertex i + 1 (wrapping)
    HeightPlane topPlane;
    HeightPlane bottomPlane;
    Texture* sideTextures[4];  // null: that side face is not drawn
    uint8_t edgeShade[4];
    int32_t uMode[4];          // 0: u from x, 1: from y, 2: stretched along the edge, 3: as 2 mirrored
    int32_t fitHeight[4];      // 1: texture stretched once over the face's height
    uint8_t surfaceShade;
    Texture* topTexture;
    Texture* bottomTexture;
};

struct CylinderGeometry {
    double cx, cy;  // centre, cell-local
    double zBottom, zTop;
    double radius;
    HeightPlane topPlane;
    HeightPlane bottomPlane;
    Texture* sideTexture;
    Texture* topTexture;
    ShapeVertex boundingSquare[4];
};

struct Shape {
    union {
        PolygonGeometry* polygon;   // kinds 3..6
        CylinderGeometry* cylinder; // kind 7
    } geometry;
    double zTop;
    double zBottom;
    int32_t kind;
};

// How many of a polygon's vertices are in use: four for a quad, three for a triangle.
inline int32_t polygon_corners(const Shape& shape) {
    return shape.kind == QuadPrism || shape.kind == QuadSheet ? 4 : 3;
}

struct GridCell {
    Shape* shapes;        // in insertion order, null while empty
    uint32_t shapeCount;
    uint8_t inWorld;      // 1 for the inner 30 x 30 cells
    uint8_t visited;      // set to 1 by rays that enter a cell with shapes; cleared each frame
    // 1: every shape's footprint lies within the cell, and its planes (or a
    // cylinder's heights) stay within [zLow, zHigh] over the footprint's
    // bounding rectangle. Kept by the shape constructors; 0 (unknown) for a
    // cell filled otherwise, which the renderer then never passes over.
    uint8_t extentKnown;
    // 1: every polygon vertex lies on one of the cell's four corners, so the
    // corners stand for the vertices wherever a question needs them all.
    uint8_t verticesAtCorners;
    double zLow, zHigh;
};

// Indexed [a][b]: a with world X, b with world Y.
struct WorldGrid {
    GridCell cells[GridSize][GridSize];
};

extern WorldGrid TheWorld;

inline GridCell& cell_at(WorldGrid& grid, int32_t a, int32_t b) { return grid.cells[a][b]; }
inline const GridCell& cell_at(const WorldGrid& grid, int32_t a, int32_t b) { return grid.cells[a][b]; }

// Frees every shape and returns the grid to the empty state (tests and tools).
void clear_world(WorldGrid& grid);

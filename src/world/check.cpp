// The built world's invariants, which the renderer and the camera queries
// rely on without testing: a broken one is reported before the first frame
// rather than read past a buffer.
#include <string>

#include "world/builder.h"

namespace {

bool fail(std::string* error, int32_t a, int32_t b, const std::string& what) {
    if (error != nullptr) *error = "world cell (" + std::to_string(a) + ", " + std::to_string(b) + "): " + what;
    return false;
}

bool inside_cell(const ShapeVertex& v) { return v.x >= 0 && v.x <= 1 && v.y >= 0 && v.y <= 1; }

bool check_shape(const Shape& shape, int32_t index, int32_t a, int32_t b, std::string* error) {
    const std::string n = "shape " + std::to_string(index);
    if (shape.kind < TrianglePrism || shape.kind > Cylinder) return fail(error, a, b, n + " has an unknown kind");
    if (shape.geometry.polygon == nullptr) return fail(error, a, b, n + " has no geometry");
    if (!(shape.zBottom <= shape.zTop)) return fail(error, a, b, n + " has zBottom above zTop");
    if (shape.kind == Cylinder) {
        if (shape.geometry.cylinder->sideTexture == nullptr)
            return fail(error, a, b, n + " (a cylinder) has no side texture");
        return true;
    }
    const ShapeVertex* const v = shape.geometry.polygon->vertices;
    for (int32_t i = 0; i < polygon_corners(shape); ++i) {
        if (!inside_cell(v[i])) return fail(error, a, b, n + " has a vertex outside the cell");
    }
    // The height planes divide by this; zero means vertices 0..2 are collinear.
    const double nz = (v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[1].y - v[0].y) * (v[2].x - v[0].x);
    if (nz == 0) return fail(error, a, b, n + " has collinear vertices 0, 1 and 2");
    return true;
}

bool check_cell(const GridCell& cell, int32_t a, int32_t b, std::string* error) {
    const bool outer = a == 0 || b == 0 || a == GridSize - 1 || b == GridSize - 1;
    if ((cell.shapes == nullptr) != (cell.shapeCount == 0))
        return fail(error, a, b, "shape array and shape count disagree");
    if (cell.shapeCount > uint32_t(MaxShapesPerCell))
        return fail(error, a, b, "holds " + std::to_string(cell.shapeCount) + " shapes, more than " + std::to_string(MaxShapesPerCell));
    if (outer) {
        if (cell.shapeCount != 0 || cell.inWorld != 0) return fail(error, a, b, "outer ring cell is not empty");
        return true;
    }
    if (cell.inWorld != 1) return fail(error, a, b, "inner cell is not marked in the world");
    if (cell.shapeCount < 2) return fail(error, a, b, "inner cell holds " + std::to_string(cell.shapeCount) + " shapes, fewer than 2");
    for (uint32_t i = 0; i < cell.shapeCount; ++i) {
        if (!check_shape(cell.shapes[i], int32_t(i), a, b, error)) return false;
    }
    return true;
}

}  // namespace

bool check_world(const WorldGrid& grid, std::string* error) {
    for (int32_t a = 0; a < GridSize; ++a) {
        for (int32_t b = 0; b < GridSize; ++b) {
            if (!check_cell(cell_at(grid, a, b), a, b, error)) return false;
        }
    }
    return true;
}

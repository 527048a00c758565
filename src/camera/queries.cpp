// The floor under a point and the head-box collision test. Both read the
// corner data of the shapes in the cells around the viewer; a cylinder stands
// in as its bounding square with level top and bottom.
#include "camera/queries.h"

#include <cmath>

#include "camera/camera.h"

namespace {

// The head box around the eye: 0.01 inside the body's square, from 0.3 above
// the feet to 0.19 above the eye.
constexpr double HeadHalfWidth = BodyRadius - 0.01;
constexpr double HeadBelowEye = EyeHeight - 0.3;
constexpr double HeadAboveEye = HeadBelowEye - 0.01;

// The corners and top plane a query sees, or null corners for kinds it skips.
struct Outline {
    const ShapeVertex* corners;
    const HeightPlane* top;
    int32_t cornerCount;
};

Outline outline_of(const Shape& shape) {
    switch (shape.kind) {
    case TrianglePrism:
    case TriangleSheet:
        return {shape.geometry.polygon->vertices, &shape.geometry.polygon->topPlane, 3};
    case QuadPrism:
    case QuadSheet:
        return {shape.geometry.polygon->vertices, &shape.geometry.polygon->topPlane, 4};
    case Cylinder:
        return {shape.geometry.cylinder->boundingSquare, &shape.geometry.cylinder->topPlane, 4};
    default:
        return {nullptr, nullptr, 0};
    }
}

// The cell with the given grid indices, or null outside the grid (also for
// NaN): a point off the grid has no floor and nothing to bump into.
const GridCell* grid_cell(const WorldGrid& world, double a, double b) {
    if (!(a >= 0 && a < GridSize && b >= 0 && b < GridSize)) return nullptr;
    return &cell_at(world, int32_t(a), int32_t(b));
}

Point2 local_xy(const ShapeVertex& v) { return Point2{v.x, v.y}; }

bool covers(const Outline& o, Point2 p) {
    const Point2 v0 = local_xy(o.corners[0]), v1 = local_xy(o.corners[1]), v2 = local_xy(o.corners[2]);
    if (o.cornerCount == 3) return point_in_triangle(p, v0, v1, v2);
    const Point2 v3 = local_xy(o.corners[3]);
    return point_in_triangle(p, v0, v1, v2) || point_in_triangle(p, v0, v2, v3) || point_in_triangle(p, v1, v2, v3);
}

// Whether one shape's top, bottom or a side face meets the head box, tested
// face by face on its three projections (XY, XZ and ZY).
bool shape_blocks_head(const Shape& shape, int32_t a, int32_t b, const Rect& xy, const Rect& xz, const Rect& zy) {
    const ShapeVertex* const v = outline_of(shape).corners;
    Point2 p[4];
    double bottom[4], top[4];
    for (int32_t i = 0; i < 4; ++i) {
        p[i] = Point2{a + v[i].x, b + v[i].y};
        bottom[i] = v[i].zBottom;
        top[i] = v[i].zTop;
    }
    const bool solid = shape.kind == QuadPrism || shape.kind == Cylinder;
    const auto face_blocks = [&](const double* h) {
        return quad_overlaps_rect(xz, {p[0].x, h[0]}, {p[1].x, h[1]}, {p[2].x, h[2]}, {p[3].x, h[3]}) &&
               quad_overlaps_rect(zy, {h[0], p[0].y}, {h[1], p[1].y}, {h[2], p[2].y}, {h[3], p[3].y});
    };
    if (quad_overlaps_rect(xy, p[0], p[1], p[2], p[3])) {
        if (face_blocks(top)) return true;
        if (solid && face_blocks(bottom)) return true;
    }
    if (!solid) return false;
    for (int32_t j = 0; j < 4; ++j) {
        const int32_t k = (j + 1) % 4;
        if (quad_overlaps_rect(xy, p[j], p[j], p[k], p[k]) &&
            quad_overlaps_rect(xz, {p[j].x, bottom[j]}, {p[j].x, top[j]}, {p[k].x, top[k]}, {p[k].x, bottom[k]}) &&
            quad_overlaps_rect(zy, {bottom[j], p[j].y}, {top[j], p[j].y}, {top[k], p[k].y}, {bottom[k], p[k].y}))
            return true;
    }
    return false;
}

bool cell_blocks_head(const WorldGrid& world, double cellA, double cellB, double px, double py, double pz) {
    const GridCell* const cell = grid_cell(world, cellA, cellB);
    if (cell == nullptr) return false;
    const int32_t a = int32_t(cellA), b = int32_t(cellB);
    const Rect xy{px - HeadHalfWidth, py - HeadHalfWidth, px + HeadHalfWidth, py + HeadHalfWidth};
    const Rect xz{px - HeadHalfWidth, pz - HeadBelowEye, px + HeadHalfWidth, pz + HeadAboveEye};
    const Rect zy{pz - HeadBelowEye, py - HeadHalfWidth, pz + HeadAboveEye, py + HeadHalfWidth};
    for (uint32_t i = 0; i < cell->shapeCount; ++i) {
        const Shape& shape = cell->shapes[i];
        // Triangle prisms and sheets never stop the head.
        if (shape.kind != QuadPrism && shape.kind != QuadSheet && shape.kind != Cylinder) continue;
        if (shape_blocks_head(shape, a, b, xy, xz, zy)) return true;
    }
    return false;
}

}  // namespace

double floor_height_at(const WorldGrid& world, double px, double py, double limit) {
    const double a = std::floor(px), b = std::floor(py);
    const GridCell* const cell = grid_cell(world, a, b);
    if (cell == nullptr) return NoFloor;
    const Point2 local{px - a, py - b};
    double best = NoFloor;
    for (uint32_t i = 0; i < cell->shapeCount; ++i) {
        const Outline o = outline_of(cell->shapes[i]);
        if (o.corners == nullptr || !covers(o, local)) continue;
        const double h = o.top->z0 + o.top->dzdx * local.x + o.top->dzdy * local.y;
        if (h > best && h < limit) best = h;
    }
    return best;
}

double ground_height(const WorldGrid& world, double px, double py, double radius, double limit) {
    const double samples[5][2] = {
        {px - radius, py - radius}, {px + radius, py - radius}, {px - radius, py + radius}, {px + radius, py + radius}, {px, py}};
    double best = NoFloor;
    for (const auto& s : samples) {
        const double h = floor_height_at(world, s[0], s[1], limit);
        if (h > best) best = h;
    }
    return best;
}

bool head_blocked(const WorldGrid& world, double px, double py, double pz) {
    const double r = HeadHalfWidth;
    // Cells by truncation toward zero, which agrees with floor for the positive points of the grid.
    const double a0 = std::trunc(px - r), a1 = std::trunc(px + r);
    const double b0 = std::trunc(py - r), b1 = std::trunc(py + r);
    const bool spansY = std::floor(py - r) != std::floor(py + r);
    const bool spansX = std::floor(px - r) != std::floor(px + r);
    if (cell_blocks_head(world, a0, b0, px, py, pz)) return true;
    if (spansY && cell_blocks_head(world, a0, b1, px, py, pz)) return true;
    if (spansX) {
        if (cell_blocks_head(world, a1, b0, px, py, pz)) return true;
        if (spansY && cell_blocks_head(world, a1, b1, px, py, pz)) return true;
    }
    return false;
}

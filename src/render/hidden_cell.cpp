// The bound behind passing over a cell. Every footprint lies within its cell,
// so the points where the ray meets a shape lie on the ray between tEnter and
// tExit, and the surfaces' heights there within the cell's [zLow, zHigh]:
// every row a hit draws or covers is the projection of such a height at such
// a depth. Rounding moves depths, heights and rows by far less than the slack
// added here. One hit escapes this: a polygon met at a single edge takes a
// point 0.01 in front of the camera as its near end. Away from the camera's
// own cell a ray meets a footprint's boundary an even number of times unless
// rounding decides at a vertex, so such a cell is passed over only when no
// vertex lies near the ray's line.
#include "render/hidden_cell.h"

#include <algorithm>
#include <cmath>

#include "platform/platform.h"
#include "render/numeric.h"
#include "render/ray_hit.h"
#include "render/row_walk.h"
#include "world/world.h"

namespace {

constexpr double H = ScreenHeight;

// No vertex within this distance (in world units) of the ray's line.
constexpr double VertexClearance = 1e-4;

bool vertices_clear_of_ray(const GridCell& cell, int32_t cellX, int32_t cellY, const Ray& ray) {
    const double clearance = VertexClearance * (std::fabs(ray.rdx) + std::fabs(ray.rdy));
    // Twice the area of the triangle camera, camera + direction, vertex, as
    // the cell's part plus the vertex's own: rounding moves it by far less
    // than the clearance.
    const double cellCross = (cellX - ray.camX) * ray.rdy - (cellY - ray.camY) * ray.rdx;
    const auto clear = [&](double x, double y) {
        return std::fabs(cellCross + (x * ray.rdy - y * ray.rdx)) > clearance;
    };
    // The four corners include every vertex, without a visit to a shape.
    if (cell.verticesAtCorners) return clear(0, 0) && clear(1, 0) && clear(0, 1) && clear(1, 1);
    for (uint32_t i = 0; i < cell.shapeCount; ++i) {
        const Shape& shape = cell.shapes[i];
        if (shape.kind == Cylinder) continue;
        const ShapeVertex* const v = shape.geometry.polygon->vertices;
        for (int32_t k = 0; k < polygon_corners(shape); ++k)
            if (!clear(v[k].x, v[k].y)) return false;
    }
    return true;
}

// Moves emptyTop down past drawn pixels, up to row `until`.
void advance_empty_top(ColumnTarget column, ColumnRows& rows, int32_t until) {
    const uint32_t* const p = column.pixels;
    const int32_t end = std::min(until, rows.emptyBottom);
    int32_t top = rows.emptyTop;
    if (column.stride == 1) {
        while (top + 7 <= end && empty_of_eight(p + top) == 0) top += 8;
        while (top + 3 <= end && empty_of_four(p + top) == 0) top += 4;
    }
    while (top <= end && p[ptrdiff_t(top) * column.stride] != 0) ++top;
    rows.emptyTop = top;
}

// Moves emptyBottom up past drawn pixels, down to row `until`.
void advance_empty_bottom(ColumnTarget column, ColumnRows& rows, int32_t until) {
    const uint32_t* const p = column.pixels;
    const int32_t end = std::max(until, rows.emptyTop);
    int32_t bottom = rows.emptyBottom;
    if (column.stride == 1) {
        while (bottom - 7 >= end && empty_of_eight(p + bottom - 7) == 0) bottom -= 8;
        while (bottom - 3 >= end && empty_of_four(p + bottom - 3) == 0) bottom -= 4;
    }
    while (bottom >= end && p[ptrdiff_t(bottom) * column.stride] != 0) --bottom;
    rows.emptyBottom = bottom;
}

// Whether every pixel of rows [top, bottom] (clipped to the screen) is drawn,
// as far as the drawn runs at the column's two ends tell.
bool rows_drawn(ColumnTarget column, ColumnRows& rows, double top, double bottom) {
    if (!(top <= H - 1 && bottom >= 0)) return top == top && bottom == bottom;  // off the screen, unless NaN
    const int32_t first = top > 0 ? int32_t(top) : 0;
    const int32_t last = bottom < H - 1 ? int32_t(bottom) + 1 : ScreenHeight - 1;
    if (last < rows.emptyTop || first > rows.emptyBottom) return true;
    advance_empty_bottom(column, rows, first);
    if (first > rows.emptyBottom) return true;
    advance_empty_top(column, rows, last);
    return last < rows.emptyTop || rows.emptyTop > rows.emptyBottom;
}

}  // namespace

bool cell_cannot_show(const GridCell& cell, int32_t cellX, int32_t cellY, const Ray& ray, double tEnter,
                      double tExit, int32_t horizon, ColumnTarget column, ColumnRows& rows) {
    if (!cell.extentKnown) return false;
    double near = tEnter * (1 - 1e-9) - 1e-3;
    const double far = tExit * (1 + 1e-9) + 1e-3;
    if (!(far < INFINITY)) return false;
    // Close to the camera the rows grow without bound: a depth of 0 stands for
    // every depth down to the camera, and its rows lie at infinity on the side
    // of the surface's height. A cell whose surfaces all lie below the eye can
    // still reach no higher than its far end's rows (and likewise above).
    if (!(near > 0.02)) near = 0;

    // Row H + horizon - (z - eye + EyeLift) * H / d falls with z and moves
    // monotonically with d, so the extremes lie at the corners.
    const double slack = 1e-6 + 1e-9 * std::fabs(ray.eye);
    const double high = cell.zHigh - ray.eye + EyeLift + slack, low = cell.zLow - ray.eye + EyeLift - slack;
    // H / near and H / far in one division of two; a near depth of 0 gives
    // infinity.
    const Quotients rowsPerUnit = divide_pair(H, near, H, far);
    const double base = H + horizon, rowsNear = rowsPerUnit.first, rowsFar = rowsPerUnit.second;
    // 0 * infinity (a surface at the eye's height) is NaN: no bound then.
    double top = base - std::max(high * rowsNear, high * rowsFar);
    double bottom = base - std::min(low * rowsNear, low * rowsFar);
    if (top != top || bottom != bottom) return false;
    // Truncating a row and rounding a span's end each move it by less than
    // one row.
    top -= 2 + 1e-6 * std::fabs(top);
    bottom += 2 + 1e-6 * std::fabs(bottom);

    // cover_rows moves openTop only for a span that holds it and reaches past
    // it, and likewise openBottom; spans write only empty pixels.
    const bool keepsOpenTop = rows.openTop < top || rows.openTop >= bottom;
    const bool keepsOpenBottom = rows.openBottom <= top || rows.openBottom > bottom;
    return keepsOpenTop && keepsOpenBottom && rows_drawn(column, rows, top, bottom) &&
           vertices_clear_of_ray(cell, cellX, cellY, ray);
}

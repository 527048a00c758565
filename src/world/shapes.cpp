// Shape construction: appends a shape to a cell, copies the builder's template
// and derives once what the ray caster and the camera need per ray: edge
// lines, height planes, shade levels and the vertical extent.
#include "world/shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "content/pi.h"

namespace {

// The fixed horizontal direction every polygon edge is shaded against.
constexpr double LightX = 0.1;
constexpr double LightY = 0.5;
constexpr double ShadePerRadian = 32 / Pi;
constexpr int32_t DarkestShade = 31;

// Relief across a top face, in shade levels (16 per world unit of height).
uint8_t relief_shade(double zTop, double lowestTop) {
    const double relief = (zTop - lowestTop) * 32 * 0.5;
    return relief < DarkestShade ? uint8_t(int32_t(relief)) : uint8_t(DarkestShade);
}

// The plane through heights h0..h2 over vertices 0..2, sampled at the cell's
// corners. Vertices 0..2 must not be collinear in (x, y).
HeightPlane plane_through(const ShapeVertex* v, double h0, double h1, double h2) {
    const double x0 = v[0].x, y0 = v[0].y, x1 = v[1].x, y1 = v[1].y, x2 = v[2].x, y2 = v[2].y;
    const double nx = (y1 - y0) * (h2 - h0) - (h1 - h0) * (y2 - y0);
    const double ny = (h1 - h0) * (x2 - x0) - (h2 - h0) * (x1 - x0);
    const double nz = (x1 - x0) * (y2 - y0) - (y1 - y0) * (x2 - x0);
    const double d = -nx * x0 - ny * y0 - nz * h0;
    const auto z = [&](double x, double y) { return -(nx * x + ny * y + d) / nz; };
    const double z0 = z(0, 0);
    return HeightPlane{z0, z(1, 0) - z0, z(0, 1) - z0};
}

// A footprint's bounding rectangle in cell-local coordinates.
struct Rectangle {
    double x0, y0, x1, y1;
};

bool within_cell(const Rectangle& r) { return r.x0 >= 0 && r.y0 >= 0 && r.x1 <= 1 && r.y1 <= 1; }

Rectangle polygon_rectangle(const Shape& shape) {
    const PolygonGeometry& g = *shape.geometry.polygon;
    const int32_t corners = polygon_corners(shape);
    Rectangle r{g.vertices[0].x, g.vertices[0].y, g.vertices[0].x, g.vertices[0].y};
    for (int32_t i = 1; i < corners; ++i) {
        r.x0 = std::min(r.x0, g.vertices[i].x);
        r.y0 = std::min(r.y0, g.vertices[i].y);
        r.x1 = std::max(r.x1, g.vertices[i].x);
        r.y1 = std::max(r.y1, g.vertices[i].y);
    }
    return r;
}

// Widens [low, high] by the heights z, false when one is not finite.
bool widen(std::initializer_list<double> z, double& low, double& high) {
    bool finite = true;
    for (const double v : z) {
        finite = finite && std::isfinite(v);
        low = std::min(low, v);
        high = std::max(high, v);
    }
    return finite;
}

// The plane's heights at the rectangle's corners, where a plane over a
// rectangle has its extremes, each widened by far more than the rounding of
// z0 + dzdx * x + dzdy * y at any point of the rectangle.
bool widen_by_plane(const HeightPlane& p, const Rectangle& r, double& low, double& high) {
    const double slack = 1e-9 * (std::fabs(p.z0) + std::fabs(p.dzdx) + std::fabs(p.dzdy));
    const double z00 = p.z0 + p.dzdx * r.x0 + p.dzdy * r.y0, z10 = p.z0 + p.dzdx * r.x1 + p.dzdy * r.y0;
    const double z01 = p.z0 + p.dzdx * r.x0 + p.dzdy * r.y1, z11 = p.z0 + p.dzdx * r.x1 + p.dzdy * r.y1;
    return widen({z00 - slack, z10 - slack, z01 - slack, z11 - slack, z00 + slack, z10 + slack, z01 + slack,
                  z11 + slack},
                 low, high);
}

}  // namespace

void measure_cell_extent(GridCell& cell) {
    bool known = true, atCorners = true;
    double low = INFINITY, high = -INFINITY;
    for (uint32_t i = 0; i < cell.shapeCount; ++i) {
        const Shape& shape = cell.shapes[i];
        if (shape.kind == Cylinder) {
            const CylinderGeometry& g = *shape.geometry.cylinder;
            const double r = std::fabs(g.radius);
            known = known && within_cell({g.cx - r, g.cy - r, g.cx + r, g.cy + r});
            known = widen({g.zBottom, g.zTop}, low, high) && known;
        } else if (shape.kind >= TrianglePrism && shape.kind <= TriangleSheet) {
            const PolygonGeometry& g = *shape.geometry.polygon;
            const Rectangle r = polygon_rectangle(shape);
            known = known && within_cell(r);
            for (int32_t k = 0; k < polygon_corners(shape); ++k) {
                const double x = g.vertices[k].x, y = g.vertices[k].y;
                atCorners = atCorners && (x == 0 || x == 1) && (y == 0 || y == 1);
            }
            known = widen_by_plane(g.topPlane, r, low, high) && known;
            known = widen_by_plane(g.bottomPlane, r, low, high) && known;
        } else {
            known = false;
        }
    }
    cell.extentKnown = known && cell.shapeCount > 0 ? 1 : 0;
    cell.verticesAtCorners = atCorners ? 1 : 0;
    cell.zLow = low;
    cell.zHigh = high;
}

Shape& append_shape_slot(WorldGrid& grid, int32_t a, int32_t b) {
    GridCell& cell = cell_at(grid, a, b);
    // Shape is a plain record, so growing by realloc keeps the entries and their order.
    Shape* const grown = static_cast<Shape*>(std::realloc(cell.shapes, sizeof(Shape) * (cell.shapeCount + 1)));
    if (grown == nullptr) {
        std::fprintf(stderr, "quorvalite: out of memory while building cell (%d, %d)\n", a, b);
        std::abort();
    }
    cell.shapes = grown;
    cell.shapes[cell.shapeCount] = Shape{};
    return cell.shapes[cell.shapeCount++];
}

EdgeLine make_edge_line(int32_t a, int32_t b, double x0, double y0, double x1, double y1) {
    EdgeLine line{};
    if (y0 == y1) {
        line.constY = 1;  // slope and intercept stay unset (zero)
        return line;
    }
    line.slope = (x0 - x1) / (y0 - y1);
    line.constX = x0 == x1 ? 1 : 0;
    line.intercept = (double(a) + x0) - (double(b) + y0) * line.slope;
    return line;
}

double angle_between(double ux, double uy, double vx, double vy) {
    const double cosine = (ux * vx + uy * vy) / (std::sqrt(ux * ux + uy * uy) * std::sqrt(vx * vx + vy * vy));
    // Rounding can push the cosine of (anti)parallel vectors just past +-1,
    // where acos has no value; such vectors are at angle 0 or pi.
    return std::acos(std::clamp(cosine, -1.0, 1.0));
}

uint8_t edge_shade_of(double dx, double dy) {
    // An edge of zero length has no direction and so no angle to the light.
    if (dx == 0 && dy == 0) return 0;
    const int32_t level = int32_t(std::fabs(angle_between(dx, dy, LightX, LightY)) * ShadePerRadian);
    return uint8_t(level > DarkestShade - 1 ? DarkestShade : level);
}

void add_polygon_shape(WorldGrid& grid, int32_t a, int32_t b, int32_t kind, const PolygonGeometry& shapeTemplate) {
    const bool quad = kind == QuadPrism || kind == QuadSheet;
    const bool triangle = kind == TrianglePrism || kind == TriangleSheet;
    // Any other kind would leave a polygon record behind a code that readers
    // (and clear_world) take for a cylinder; it is not added.
    if (!quad && !triangle) return;

    Shape& entry = append_shape_slot(grid, a, b);
    entry.kind = kind;
    PolygonGeometry* const g = new PolygonGeometry(shapeTemplate);
    entry.geometry.polygon = g;
    const ShapeVertex* const v = g->vertices;

    // The direction of edge i runs from its end vertex to its start vertex.
    g->edges[0] = make_edge_line(a, b, v[0].x, v[0].y, v[1].x, v[1].y);
    g->edges[1] = make_edge_line(a, b, v[1].x, v[1].y, v[2].x, v[2].y);
    g->edgeShade[0] = edge_shade_of(v[0].x - v[1].x, v[0].y - v[1].y);
    g->edgeShade[1] = edge_shade_of(v[1].x - v[2].x, v[1].y - v[2].y);
    g->edgeShade[2] = 0;
    g->edgeShade[3] = 0;

    const bool sheet = kind == QuadSheet || kind == TriangleSheet;
    if (quad) {
        g->edges[2] = make_edge_line(a, b, v[2].x, v[2].y, v[3].x, v[3].y);
        g->edges[3] = make_edge_line(a, b, v[3].x, v[3].y, v[0].x, v[0].y);
        g->edgeShade[2] = edge_shade_of(v[2].x - v[3].x, v[2].y - v[3].y);
        g->edgeShade[3] = edge_shade_of(v[3].x - v[0].x, v[3].y - v[0].y);
        entry.zTop = std::max({v[0].zTop, v[1].zTop, v[2].zTop, v[3].zTop});
        entry.zBottom = sheet ? entry.zTop : std::min({v[0].zBottom, v[1].zBottom, v[2].zBottom, v[3].zBottom});
        g->surfaceShade = relief_shade(entry.zTop, std::min({v[0].zTop, v[1].zTop, v[2].zTop, v[3].zTop}));
    } else {
        entry.zTop = std::max({v[0].zTop, v[1].zTop, v[2].zTop});
        entry.zBottom = sheet ? entry.zTop : std::min({v[0].zBottom, v[1].zBottom, v[2].zBottom});
        g->edges[2] = make_edge_line(a, b, v[2].x, v[2].y, v[0].x, v[0].y);
        g->edgeShade[2] = edge_shade_of(v[2].x - v[0].x, v[2].y - v[0].y);
        g->surfaceShade = relief_shade(entry.zTop, std::min({v[0].zTop, v[1].zTop, v[2].zTop}));
    }

    // Both planes come from vertices 0..2; a quad's vertex 3 is taken to lie in them.
    g->topPlane = plane_through(v, v[0].zTop, v[1].zTop, v[2].zTop);
    g->bottomPlane = plane_through(v, v[0].zBottom, v[1].zBottom, v[2].zBottom);
    measure_cell_extent(cell_at(grid, a, b));
}

void add_cylinder_shape(WorldGrid& grid, int32_t a, int32_t b, const CylinderGeometry& shapeTemplate) {
    Shape& entry = append_shape_slot(grid, a, b);
    entry.kind = Cylinder;
    CylinderGeometry* const g = new CylinderGeometry(shapeTemplate);
    const double r = g->radius, zb = g->zBottom, zt = g->zTop;
    g->boundingSquare[0] = ShapeVertex{g->cx - r, g->cy - r, zb, zt};
    g->boundingSquare[1] = ShapeVertex{g->cx - r, g->cy + r, zb, zt};
    g->boundingSquare[2] = ShapeVertex{g->cx + r, g->cy + r, zb, zt};
    g->boundingSquare[3] = ShapeVertex{g->cx + r, g->cy - r, zb, zt};
    g->topPlane = HeightPlane{zt, 0, 0};
    g->bottomPlane = HeightPlane{zb, 0, 0};
    entry.geometry.cylinder = g;
    entry.zTop = zt;
    entry.zBottom = zb;
    measure_cell_extent(cell_at(grid, a, b));
}

// Ray-shape intersection: polygon prisms and sheets by their edge lines,
// cylinders by the circle, both clipped to the cell they are entered in.
#include "render/intersect.h"

#include <algorithm>
#include <cmath>

#include "content/pi.h"
#include "content/texture.h"
#include "platform/platform.h"
#include "render/numeric.h"
#include "world/world.h"

namespace {

constexpr double H = ScreenHeight;

// Screen row of height z at depth d, before the horizon offset.
inline double project_row(double z, double eye, double d) { return H - (z - eye + EyeLift) * H / d; }

// Depth of a point on the ray. An axis-parallel ray measures along the axis
// it runs on, so rdx = 0 does not divide by zero.
inline double ray_depth(const Ray& ray, double X, double Y) {
    if (ray.rdx != 0) return (X - ray.camX) / ray.rdx;
    return (Y - ray.camY) / ray.rdy;
}

inline bool in_front(const Ray& ray, double X, double Y) {
    return (X > ray.camX) == (ray.rdx > 0) && (Y > ray.camY) == (ray.rdy > 0);
}

inline bool between(double v, double a, double b) { return v >= std::min(a, b) && v <= std::max(a, b); }

struct EdgeCrossing {
    double X, Y;
    double lx, ly;
    double d;
};

// Texture column of a polygon wall at local point (lx, ly) on edge i -> j.
int64_t wall_column(int32_t mode, int32_t w, double lx, double ly, const ShapeVertex& vi, const ShapeVertex& vj) {
    if (mode == 1) return trunc_wide(w * ly);
    if (mode == 2 || mode == 3) {
        const double dx = std::fabs(vi.x - vj.x);
        const double dy = std::fabs(vi.y - vj.y);
        const int64_t u = dx > dy ? trunc_wide(w * (lx - std::min(vi.x, vj.x)) / dx)
                                  : trunc_wide(w * (ly - std::min(vi.y, vj.y)) / dy);
        return mode == 3 ? w - 1 - u : u;
    }
    return trunc_wide(w * lx);
}

inline uint32_t reduce_column(int64_t u, int32_t w) { return w > 0 ? uint32_t(u) % uint32_t(w) : 0; }

// The rows of a top or bottom face between the near and the far crossing:
// flat from the plane's z0, and with the plane's slope at each end.
struct FaceRows {
    double farFlat, far, near;
};

inline FaceRows face_rows(const HeightPlane& plane, double nearFlat, double scale, const EdgeCrossing& nearP,
                          const EdgeCrossing& farP, double eye) {
    const double farFlat = project_row(plane.z0, eye, farP.d);
    return {farFlat, farFlat - (plane.dzdx * farP.lx + plane.dzdy * farP.ly) * H / farP.d,
            nearFlat - (plane.dzdx * nearP.lx + plane.dzdy * nearP.ly) * scale};
}

void intersect_polygon(int32_t cellX, int32_t cellY, const Ray& ray, const Shape& shape, RayHit& h) {
    const PolygonGeometry& g = *shape.geometry.polygon;
    const int32_t m = polygon_corners(shape);

    EdgeCrossing cross[4];
    bool accepted[4] = {false, false, false, false};
    int32_t k = 0, first = -1, last = -1;
    for (int32_t i = 0; i < m; ++i) {
        const ShapeVertex& vi = g.vertices[i];
        const ShapeVertex& vj = g.vertices[i + 1 == m ? 0 : i + 1];
        const EdgeLine& edge = g.edges[i];
        EdgeCrossing& p = cross[i];
        if (edge.constY) {
            if (ray.rdy == 0) continue;  // parallel to the edge
            p.ly = vi.y;
            p.Y = cellY + p.ly;
            p.X = ray.rdx == 0 ? ray.camX : ray.s * p.Y + ray.c;
            p.lx = p.X - cellX;
        } else {
            // A ray along X (rdy = 0) has no usable line form: it runs at Y = camY.
            p.Y = ray.rdy == 0 ? ray.camY : (edge.intercept - ray.c) / (ray.s - edge.slope);
            // A ray along Y runs at X = camX exactly; the edge line only gives it up to rounding.
            p.X = ray.rdx == 0 ? ray.camX : edge.slope * p.Y + edge.intercept;
            p.ly = p.Y - cellY;
            p.lx = edge.constX ? vi.x : p.X - cellX;
        }
        if (!between(p.lx, vi.x, vj.x) || !between(p.ly, vi.y, vj.y) || !in_front(ray, p.X, p.Y)) continue;
        p.d = ray_depth(ray, p.X, p.Y);
        accepted[i] = true;
        if (first < 0) first = i;
        last = i;
        ++k;
    }

    int32_t a = first, b = last;  // a was found first
    if (k >= 3) {
        // A ray through a vertex is accepted by both edges that meet there.
        // The footprint is convex, so its entry and exit are the nearest and
        // the farthest crossing (the first found of equal depths).
        for (int32_t i = first; i <= last; ++i) {
            if (!accepted[i]) continue;
            if (cross[i].d < cross[a].d) a = i;
            if (cross[i].d > cross[b].d) b = i;
        }
        if (a == b) return;
        if (b < a) std::swap(a, b);
    } else if (k == 1) {
        // The camera stands inside the footprint: the second point lies just in front of it.
        b = first + 1 == m ? 0 : first + 1;
        EdgeCrossing& p = cross[b];
        p.X = ray.camX + 0.01 * ray.rdx;
        p.Y = ray.camY + 0.01 * ray.rdy;
        p.lx = p.X - cellX;
        p.ly = p.Y - cellY;
        p.d = 0.01;
    } else if (k == 0) {
        return;
    }
    const int32_t nearEdge = cross[b].d < cross[a].d ? b : a;
    const EdgeCrossing& nearP = cross[nearEdge];
    const EdgeCrossing& farP = cross[nearEdge == a ? b : a];

    const double eye = ray.eye;
    h.hit = true;
    h.dist = nearP.d;
    h.nearX = nearP.X;
    h.nearY = nearP.Y;
    h.scale = H / h.dist;
    h.wallTopRow = project_row(g.topPlane.z0, eye, h.dist);
    h.wallBottomRow = project_row(g.bottomPlane.z0, eye, h.dist);

    const HeightPlane& top = g.topPlane;
    const HeightPlane& bottom = g.bottomPlane;
    if (k >= 2 && g.sideTextures[nearEdge] != nullptr) {
        Texture* const texture = g.sideTextures[nearEdge];
        h.topSlant = top.dzdx * nearP.lx + top.dzdy * nearP.ly;
        h.bottomSlant = bottom.dzdx * nearP.lx + bottom.dzdy * nearP.ly;
        h.fitHeight = g.fitHeight[nearEdge];
        const int64_t u = wall_column(g.uMode[nearEdge], texture->width, nearP.lx, nearP.ly, g.vertices[nearEdge],
                                      g.vertices[nearEdge + 1 == m ? 0 : nearEdge + 1]);
        h.texU = reduce_column(u, texture->width);
        h.wallTexture = texture;
        h.wallShade = g.edgeShade[nearEdge];
    }

    if (g.topTexture != nullptr) {
        const FaceRows rows = face_rows(top, h.wallTopRow, h.scale, nearP, farP, eye);
        h.topFarRowFlat = rows.farFlat;
        h.topFarRow = rows.far;
        h.topNearRow = rows.near;
        if (h.topNearRow > h.topFarRow) {
            h.faceShade = g.surfaceShade;
            h.topTexture = g.topTexture;
            h.topZ = top.z0;
            h.topNearRowFlat = h.wallTopRow;
        }
    }
    if (g.bottomTexture != nullptr) {
        const FaceRows rows = face_rows(bottom, h.wallBottomRow, h.scale, nearP, farP, eye);
        h.bottomFarRowFlat = rows.farFlat;
        h.bottomFarRow = rows.far;
        h.bottomNearRow = rows.near;
        if (h.bottomFarRow > h.bottomNearRow) {
            h.faceShade = g.surfaceShade;
            h.bottomTexture = g.bottomTexture;
            h.bottomZ = bottom.z0;
            h.bottomNearRowFlat = h.wallBottomRow;
        }
    }
}

struct Point {
    double X, Y;
};

inline bool same_cell(Point p, int32_t cellX, int32_t cellY) {
    return trunc_wide(p.X) == cellX && trunc_wide(p.Y) == cellY;
}

// Points on the ray at a given X or Y. The clips that use them fire only
// for a point outside the cell along that axis, which a ray with a zero
// component never produces, so the divisions there see non-zero values.
inline double ray_y_at(const Ray& ray, double X) { return ray.camY + (X - ray.camX) * ray.rdy / ray.rdx; }
inline double ray_x_at(const Ray& ray, double Y) { return ray.camX + (Y - ray.camY) * ray.rdx / ray.rdy; }

// Moves p along the ray into the cell; returns true when the last clip was
// against an X boundary. The far point's upper clips fire only strictly
// beyond the cell.
bool clip_to_cell(const Ray& ray, int32_t cellX, int32_t cellY, bool isFar, Point& p) {
    bool sideX = false;
    const double x1 = cellX + 1, y1 = cellY + 1;
    if (p.X < cellX) {
        p.X = cellX;
        p.Y = ray_y_at(ray, p.X);
        sideX = true;
    }
    if (isFar ? p.X > x1 : p.X >= x1) {
        p.X = cellX + 0.999;
        p.Y = ray_y_at(ray, p.X);
        sideX = true;
    }
    if (p.Y < cellY) {
        p.Y = cellY;
        p.X = ray_x_at(ray, p.Y);
        sideX = false;
    }
    if (isFar ? p.Y > y1 : p.Y >= y1) {
        p.Y = cellY + 0.999;
        p.X = ray_x_at(ray, p.Y);
        sideX = false;
    }
    return sideX;
}

// Roots of the line v = mu * u + bv with the circle about (cu, cv): u1 with
// +sqrt, u2 with -sqrt. False when the line misses the circle.
bool line_circle(double mu, double bv, double cu, double cv, double r, double& u1, double& u2) {
    const double qa = mu * mu + 1;
    const double qb = 2 * (mu * bv - mu * cv - cu);
    const double qc = cu * cu + cv * cv - 2 * bv * cv + bv * bv - r * r;
    const double D = qb * qb - 4 * qa * qc;
    if (!(D >= 0)) return false;
    const double root = std::sqrt(D);
    u1 = (root - qb) / (2 * qa);
    u2 = (-qb - root) / (2 * qa);
    return true;
}

void intersect_cylinder(int32_t cellX, int32_t cellY, const Ray& ray, const Shape& shape, RayHit& h) {
    const CylinderGeometry& g = *shape.geometry.cylinder;
    const double Cx = cellX + g.cx, Cy = cellY + g.cy, r = g.radius;
    const double camX = ray.camX, camY = ray.camY;

    Point p1, p2;
    if (ray.rdx != 0) {
        const double mY = ray.rdy / ray.rdx;
        const double bY = camY - mY * camX;
        if (!line_circle(mY, bY, Cx, Cy, r, p1.X, p2.X)) return;
        p1.Y = mY * p1.X + bY;
        p2.Y = mY * p2.X + bY;
    } else {
        // A ray along Y: the same construction with the axes swapped (X = camX).
        const double mX = ray.rdx / ray.rdy;
        const double bX = camX - mX * camY;
        if (!line_circle(mX, bX, Cy, Cx, r, p1.Y, p2.Y)) return;
        p1.X = mX * p1.Y + bX;
        p2.X = mX * p2.Y + bX;
    }
    const bool front1 = in_front(ray, p1.X, p1.Y);

    Point nearP, farP;
    bool inFront;
    if (r * r > (Cx - camX) * (Cx - camX) + (Cy - camY) * (Cy - camY)) {
        nearP = {camX + 0.01 * ray.rdx, camY + 0.01 * ray.rdy};
        farP = front1 ? p1 : p2;
        inFront = true;
    } else {
        const double d1 = (p1.X - camX) * (p1.X - camX) + (p1.Y - camY) * (p1.Y - camY);
        const double d2 = (p2.X - camX) * (p2.X - camX) + (p2.Y - camY) * (p2.Y - camY);
        nearP = d1 < d2 ? p1 : p2;
        farP = d1 < d2 ? p2 : p1;
        inFront = front1;
    }
    if (!inFront) return;

    const bool nearIn = same_cell(nearP, cellX, cellY);
    const bool farIn = same_cell(farP, cellX, cellY);
    if (!nearIn && !farIn && trunc_wide(nearP.X) == trunc_wide(farP.X) && trunc_wide(nearP.Y) == trunc_wide(farP.Y))
        return;
    const bool sideX = nearIn ? false : clip_to_cell(ray, cellX, cellY, false, nearP);
    if (!farIn) clip_to_cell(ray, cellX, cellY, true, farP);
    // A chord cut down to one boundary point has no extent. Only the axes the
    // ray moves along can tell: an axis-parallel ray keeps one coordinate fixed.
    if ((ray.rdx != 0 && nearP.X == farP.X) || (ray.rdy != 0 && nearP.Y == farP.Y)) return;

    const double eye = ray.eye;
    h.hit = true;
    h.nearX = nearP.X;
    h.nearY = nearP.Y;
    h.dist = ray_depth(ray, nearP.X, nearP.Y);
    h.scale = H / h.dist;
    h.wallTopRow = project_row(g.zTop, eye, h.dist);
    h.wallBottomRow = project_row(g.zBottom, eye, h.dist);
    h.wallTexture = g.sideTexture;
    h.topSlant = 0;
    h.bottomSlant = 0;
    h.fitHeight = 0;

    // The angle around the axis picks the texture column and the shade; the
    // ratio is capped at 1 so rounding on the rim cannot make acos/asin NaN.
    const double t = sideX ? std::asin(std::min(std::fabs(nearP.Y - Cy) / r, 1.0))
                           : std::acos(std::min(std::fabs(nearP.X - Cx) / r, 1.0));
    const double f = 2 * t / Pi;
    const int32_t w = g.sideTexture->width;
    int64_t u = trunc_wide(w * f);
    if (Cy > nearP.Y) u = w - 1 - u;
    h.texU = reduce_column(u, w);
    h.wallShade = uint8_t(std::clamp(trunc_row(31 - std::floor(31 * f)), 0, 31));

    if (g.topTexture != nullptr) {
        const double dF = ray_depth(ray, farP.X, farP.Y);
        h.topFarRow = project_row(g.zTop, eye, dF);
        h.topNearRow = h.wallTopRow;
        if (h.topNearRow > h.topFarRow) {
            h.faceShade = 0;
            h.topTexture = g.topTexture;
            h.topZ = g.zTop;
            h.topFarRowFlat = h.topFarRow;
            h.topNearRowFlat = h.topNearRow;
        }
    }
}

}  // namespace

void intersect_shape(int32_t cellX, int32_t cellY, const Ray& ray, const Shape& shape, RayHit& h) {
    h.hit = false;
    h.wallTexture = nullptr;
    h.topTexture = nullptr;
    h.bottomTexture = nullptr;
    switch (shape.kind) {
        case TrianglePrism:
        case QuadPrism:
        case QuadSheet:
        case TriangleSheet: intersect_polygon(cellX, cellY, ray, shape, h); break;
        case Cylinder: intersect_cylinder(cellX, cellY, ray, shape, h); break;
        default: break;
    }
}

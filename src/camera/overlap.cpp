// Two-dimensional overlap tests of triangles, quadrilaterals and segments
// against axis-aligned rectangles. Every boundary is closed: touching counts.
#include "camera/queries.h"

namespace {

bool in_rect(const Rect& r, Point2 p) { return r.x0 <= p.x && p.x <= r.x1 && r.y0 <= p.y && p.y <= r.y1; }

bool between(double value, double end0, double end1) {
    return (end0 <= value && value <= end1) || (end1 <= value && value <= end0);
}

}  // namespace

bool point_in_triangle(Point2 p, Point2 a, Point2 b, Point2 c) {
    const double d1 = (p.x - b.x) * (a.y - b.y) - (a.x - b.x) * (p.y - b.y);
    const double d2 = (p.x - c.x) * (b.y - c.y) - (b.x - c.x) * (p.y - c.y);
    const double d3 = (p.x - a.x) * (c.y - a.y) - (c.x - a.x) * (p.y - a.y);
    // Outside only when the point is strictly on both sides of some edges.
    const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
    const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
}

bool segment_overlaps_rect(const Rect& r, Point2 p, Point2 q) {
    if (p.x == q.x) {
        if (p.x < r.x0 || p.x > r.x1) return false;
        return (r.y0 <= p.y && p.y <= r.y1) || (r.y0 <= q.y && q.y <= r.y1) || (p.y <= r.y0 && q.y >= r.y1) ||
               (q.y <= r.y0 && p.y >= r.y1);
    }
    if (p.y == q.y) {
        if (p.y < r.y0 || p.y > r.y1) return false;
        return (r.x0 <= p.x && p.x <= r.x1) || (r.x0 <= q.x && q.x <= r.x1) || (p.x <= r.x0 && q.x >= r.x1) ||
               (q.x <= r.x0 && p.x >= r.x1);
    }
    // The line as X = k Y + m, crossed with the rectangle's four sides.
    const double k = (p.x - q.x) / (p.y - q.y);
    const double m = p.x - p.y * k;
    const double xAtY0 = k * r.y0 + m;
    if (r.x0 <= xAtY0 && xAtY0 <= r.x1 && between(xAtY0, p.x, q.x)) return true;
    const double xAtY1 = k * r.y1 + m;
    if (r.x0 <= xAtY1 && xAtY1 <= r.x1 && between(xAtY1, p.x, q.x)) return true;
    const double yAtX0 = (r.x0 - m) / k;
    if (r.y0 <= yAtX0 && yAtX0 <= r.y1 && between(yAtX0, p.y, q.y)) return true;
    const double yAtX1 = (r.x1 - m) / k;
    return r.y0 <= yAtX1 && yAtX1 <= r.y1 && between(yAtX1, p.y, q.y);
}

bool triangle_overlaps_rect(const Rect& r, Point2 a, Point2 b, Point2 c) {
    const Point2 rectCorners[4] = {{r.x0, r.y0}, {r.x0, r.y1}, {r.x1, r.y0}, {r.x1, r.y1}};
    for (const Point2& corner : rectCorners) {
        if (point_in_triangle(corner, a, b, c)) return true;
    }
    if (in_rect(r, a) || in_rect(r, b) || in_rect(r, c)) return true;
    return segment_overlaps_rect(r, a, b) || segment_overlaps_rect(r, b, c) || segment_overlaps_rect(r, c, a);
}

bool quad_overlaps_rect(const Rect& r, Point2 a, Point2 b, Point2 c, Point2 d) {
    return triangle_overlaps_rect(r, a, b, c) || triangle_overlaps_rect(r, b, c, d) || triangle_overlaps_rect(r, c, d, a);
}

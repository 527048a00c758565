// The camera's questions to the world: the floor under a point, and whether
// the head box overlaps a solid shape. Closed (inclusive) boundaries throughout.
#pragma once

#include "world/world.h"

constexpr double NoFloor = -9999;

struct Point2 {
    double x, y;
};

// The closed rectangle [x0, x1] x [y0, y1].
struct Rect {
    double x0, y0, x1, y1;
};

bool point_in_triangle(Point2 p, Point2 a, Point2 b, Point2 c);
bool segment_overlaps_rect(const Rect& rect, Point2 p, Point2 q);
bool triangle_overlaps_rect(const Rect& rect, Point2 a, Point2 b, Point2 c);
bool quad_overlaps_rect(const Rect& rect, Point2 a, Point2 b, Point2 c, Point2 d);

double floor_height_at(const WorldGrid& world, double px, double py, double limit);
double ground_height(const WorldGrid& world, double px, double py, double radius, double limit);
bool head_blocked(const WorldGrid& world, double px, double py, double pz);

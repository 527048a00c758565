// Placeholder until the queries land.
#include "camera/queries.h"

bool point_in_triangle(Point2, Point2, Point2, Point2) { return false; }
bool segment_overlaps_rect(const Rect&, Point2, Point2) { return false; }
bool triangle_overlaps_rect(const Rect&, Point2, Point2, Point2) { return false; }
bool quad_overlaps_rect(const Rect&, Point2, Point2, Point2, Point2) { return false; }
double floor_height_at(const WorldGrid&, double, double, double) { return NoFloor; }
double ground_height(const WorldGrid&, double, double, double, double) { return NoFloor; }
bool head_blocked(const WorldGrid&, double, double, double) { return false; }

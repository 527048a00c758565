// Shape construction: the only way shapes enter the world. The constructors
// copy a template and derive edge lines, planes, shade levels and extents.
#pragma once

#include <cstdint>

#include "world/world.h"

Shape& append_shape_slot(WorldGrid& grid, int32_t a, int32_t b);
void add_polygon_shape(WorldGrid& grid, int32_t a, int32_t b, int32_t kind, const PolygonGeometry& shapeTemplate);
void add_cylinder_shape(WorldGrid& grid, int32_t a, int32_t b, const CylinderGeometry& shapeTemplate);

// Recomputes the cell's extent (extentKnown, zLow, zHigh) and verticesAtCorners
// from its shapes.
void measure_cell_extent(GridCell& cell);

EdgeLine make_edge_line(int32_t a, int32_t b, double x0, double y0, double x1, double y1);
double angle_between(double ux, double uy, double vx, double vy);
uint8_t edge_shade_of(double dx, double dy);

// Placeholder until shape construction lands.
#include "world/shapes.h"

#include <cstdlib>

Shape& append_shape_slot(WorldGrid& grid, int32_t a, int32_t b) {
    GridCell& cell = cell_at(grid, a, b);
    cell.shapes = static_cast<Shape*>(std::realloc(cell.shapes, sizeof(Shape) * (cell.shapeCount + 1)));
    cell.shapes[cell.shapeCount] = Shape{};
    return cell.shapes[cell.shapeCount++];
}
void add_polygon_shape(WorldGrid&, int32_t, int32_t, int32_t, const PolygonGeometry&) {}
void add_cylinder_shape(WorldGrid&, int32_t, int32_t, const CylinderGeometry&) {}
EdgeLine make_edge_line(int32_t, int32_t, double, double, double, double) { return EdgeLine{}; }
double angle_between(double, double, double, double) { return 0; }
uint8_t edge_shade_of(double, double) { return 0; }

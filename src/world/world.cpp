// The process-wide grid and its teardown for tests and tools.
#include "world/world.h"

#include <cstdlib>

WorldGrid TheWorld;

void clear_world(WorldGrid& grid) {
    for (auto& column : grid.cells) {
        for (GridCell& cell : column) {
            for (uint32_t i = 0; i < cell.shapeCount; ++i) {
                if (cell.shapes[i].kind == Cylinder) delete cell.shapes[i].geometry.cylinder;
                else delete cell.shapes[i].geometry.polygon;
            }
            std::free(cell.shapes);
            cell = GridCell{};
        }
    }
}

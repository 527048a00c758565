// Where the ray of one screen column meets one shape inside one grid cell.
#pragma once

#include <cstdint>

#include "render/ray_hit.h"

struct Shape;

// One column's ray: camera position, direction and its line X = s * Y + c.
// rdy = 0 leaves s and c meaningless; the intersection then works from the
// direction alone, and likewise for rdx = 0.
struct Ray {
    double camX, camY;
    double rdx, rdy;
    double s, c;
    double eye;  // the camera's renderZ
};

// Clears hit and the three texture pointers, then fills h when the ray meets
// the shape (kinds 3..7) within cell (cellX, cellY).
void intersect_shape(int32_t cellX, int32_t cellY, const Ray& ray, const Shape& shape, RayHit& h);

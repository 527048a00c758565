// Hand-made worlds and textures for the renderer tests.
#pragma once

#include <cstdint>

#include "../support/test_world.h"
#include "camera/camera.h"
#include "render/ray_hit.h"
#include "render/render.h"
#include "world/world.h"

struct Texture;

// TextureTable entry index, w x h with a mip chain (levels 1..ilog2(w)) of
// texels that are never 0 and tell their level, row and column apart.
Texture* make_fixture_texture(int32_t index, int32_t w, int32_t h);

// Adds a box of the given kind over the local rectangle [x0, x1] x [y0, y1]
// of cell (a, b), corners counter-clockwise from (x0, y0), with the side
// texture on its walls and the top one on its top and bottom; returns a copy
// of it (its geometry stays the world's).
Shape add_box(WorldGrid& world, int32_t a, int32_t b, int32_t kind, double x0, double y0, double x1, double y1,
              double zBottom, double zTop, Texture* side, Texture* top);

// A hit of a wall over rows [top, bottom] at 100 rows a unit.
RayHit wall_rows(double top, double bottom, Texture* texture);

// A camera at (x, y, eye) with the given heading.
Camera camera_at(double x, double y, double eye, double heading);

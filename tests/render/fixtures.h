// Hand-made worlds and textures for the renderer tests.
#pragma once

#include <cstdint>

#include "../support/test_world.h"
#include "camera/camera.h"
#include "render/render.h"
#include "world/world.h"

struct Texture;

// TextureTable entry index, w x h with a mip chain (levels 1..ilog2(w)) of
// texels that are never 0 and tell their level, row and column apart.
Texture* make_fixture_texture(int32_t index, int32_t w, int32_t h);

// A box over the local rectangle [x0, x1] x [y0, y1], corners counter-clockwise from (x0, y0).
PolygonGeometry box_geometry(int32_t a, int32_t b, double x0, double y0, double x1, double y1, double zBottom,
                             double zTop, Texture* side, Texture* top, Texture* bottom);

// Appends a shape to cell (a, b) of world (owned by the world) and measures
// the cell's extent again.
void add_shape(WorldGrid& world, int32_t a, int32_t b, int32_t kind, const PolygonGeometry& g, double zTop,
               double zBottom);

// A camera at (x, y, eye) with the given heading.
Camera camera_at(double x, double y, double eye, double heading);

// A test's own scene: an empty world with the inner 30 x 30 cells in the
// world, a camera at (x, y, eye) with the given heading, and the horizon
// offset. Making one also puts a fixture sky into the TextureTable and makes
// sure the FrameBuffer exists.
struct FixtureScene {
    OwnedWorld world = empty_world();
    Camera camera;
    int32_t horizon;

    FixtureScene(double x, double y, double eye, double heading, int32_t horizonOffset);
};

// Draws the scene's view into the FrameBuffer, tile by tile.
void draw_scene(FixtureScene& scene);

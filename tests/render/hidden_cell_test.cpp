// Cells the renderer passes over as hidden must not have shown: every frame
// drawn with the cells' extents known equals the same frame drawn with them
// unknown, where every cell a ray enters is intersected and drawn.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../support/frame_check.h"
#include "../support/render_tiles.h"
#include "../support/test_world.h"
#include "content/pi.h"
#include "content/texture.h"
#include "fixtures.h"
#include "platform/platform.h"
#include "render/render.h"

namespace {

void draw(WorldGrid& world, const Camera& camera, int32_t horizon) {
    render_all_tiles(world, make_view(camera, horizon), FrameBuffer);
}

// Sets every cell's extentKnown to known (0 or 1); returns how many were known.
int32_t set_extents_known(WorldGrid& world, std::vector<uint8_t>& known) {
    int32_t count = 0;
    size_t i = 0;
    for (auto& column : world.cells)
        for (GridCell& cell : column) {
            count += cell.extentKnown;
            std::swap(cell.extentKnown, known[i++]);
        }
    return count;
}

// The frame with the extents as they are, then with every extent unknown.
void expect_same_without_extents(WorldGrid& world, const Camera& camera, int32_t horizon, const std::string& name) {
    draw(world, camera, horizon);
    const KeptFrame passing = keep_frame(name);
    std::vector<uint8_t> known(size_t(GridSize) * GridSize, 0);
    EXPECT_GT(set_extents_known(world, known), 0);
    draw(world, camera, horizon);
    set_extents_known(world, known);
    EXPECT_TRUE(frame_matches(name + "_all_drawn", passing));
}

Camera camera_at(double x, double y, double eye, double heading) {
    Camera camera{};
    camera.x = x;
    camera.y = y;
    camera.z = camera.renderZ = eye;
    set_camera_heading(camera, heading);
    return camera;
}

struct Pose {
    const char* name;
    double x, y, eye, heading;
    int32_t horizon;
};

// Over the terrain and into the house; on grid lines and along diagonals, so
// that rays run through cell corners; looking far up and far down.
const Pose Poses[] = {
    {"field", 3.5, 2.5, -1.5, 0.0, -400},          {"north", 3.5, 12.0, -1.5, Pi / 2, -400},
    {"down", 3.5, 12.0, -1.5, Pi, -1000},          {"up", 3.5, 12.0, -1.5, 0.3, 200},
    {"corner", 4.0, 4.0, -1.5, Pi / 4, -540},      {"grid_line", 6.0, 3.5, -1.5, 0.0, -540},
    {"house", 7.6, 3.4, -1.5, 0.65 * Pi, -540},    {"desk", 8.9, 2.9, -1.0, 1.05 * Pi, -750},
    {"low_eye", 12.5, 14.5, -2.05, 1.3, -540},     {"far_corner", 28.9, 28.9, -1.2, 1.25 * Pi, -500},
};

TEST(HiddenCells, PassingOverThemChangesNoPixelOfTheScene) {
    reset_texture_table();
    const OwnedWorld world = built_world();
    std::string error;
    ASSERT_TRUE(FrameBuffer || platform_allocate_frame_buffer(&error)) << error;
    for (const Pose& pose : Poses) {
        SCOPED_TRACE(pose.name);
        const Camera camera = camera_at(pose.x, pose.y, pose.eye, pose.heading);
        expect_same_without_extents(*world, camera, pose.horizon, std::string("hidden_cells_") + pose.name);
    }
}

// A low wall whose texture has transparent rows stands in front of boxes on a
// floor: the boxes show through the holes, below the open range, so the cells
// behind the wall are drawn.
TEST(HiddenCells, CellsSeenThroughTransparentTexelsAreDrawn) {
    FixtureScene scene(8.5, 8.5, 0.5, Pi, -540);  // looking along +X
    Texture* const solid = make_fixture_texture(0, 64, 64);
    Texture* const holed = make_fixture_texture(1, 64, 64);
    for (int32_t level = 0; level <= 6; ++level) {
        const int32_t n = 64 >> level;
        uint32_t* const texels = level == 0 ? holed->pixels : holed->mips[level - 1];
        for (int32_t i = 0; i < n * n; ++i)
            if ((i / n) % 4 < 2) texels[i] = 0;
    }
    WorldGrid& world = *scene.world;
    for (int32_t b = 4; b <= 13; ++b) {
        for (int32_t a = 9; a <= 16; ++a)
            add_shape(world, a, b, QuadSheet, box_geometry(a, b, 0, 0, 1, 1, -0.5, -0.5, nullptr, solid, nullptr),
                      -0.5, -0.5);
        add_shape(world, 10, b, QuadPrism, box_geometry(10, b, 0.4, 0, 0.6, 1, -0.5, 0.3, holed, holed, holed), 0.3,
                  -0.5);
        add_shape(world, 13, b, QuadPrism, box_geometry(13, b, 0.2, 0.2, 0.8, 0.8, -0.5, 0.2, solid, solid, solid),
                  0.2, -0.5);
    }
    expect_same_without_extents(world, scene.camera, scene.horizon, "hidden_cells_holed_wall");
}

}  // namespace

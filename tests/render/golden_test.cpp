// Frames of the real scene at fixed poses. Frames with a name in
// golden_frames.txt must keep the hash kept there after they were looked at
// (a frame that differs is written into test_frames in the build folder as a
// PNG). Every frame must also come out the same column by column as tile by
// tile, and the same with every cell's extent unknown, where every cell a ray
// enters is intersected and drawn: cells passed over as hidden never show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "../support/frame_check.h"
#include "../support/render_tiles.h"
#include "content/pi.h"
#include "content/texture.h"
#include "fixtures.h"
#include "platform/platform.h"
#include "world/shapes.h"

namespace {

struct Pose {
    const char* name;
    double x, y, eye, heading;
    int32_t horizon;
};

// Poses through the show's places, then poses on grid lines and along
// diagonals, so that rays run through cell corners, looking far up, and with
// an eye below the ground.
const Pose Poses[] = {
    {"start", 3.5, 2.5, -1.5, 0.0, -400},           {"north_field", 3.5, 12.0, -1.5, Pi / 2, -400},
    {"looking_down", 3.5, 12.0, -1.5, Pi, -1000},   {"towards_house", 5.2, 6.0, -1.5, 3 * Pi / 2, -540},
    {"at_the_door", 6.6, 3.4, -1.5, Pi, -540},      {"stairs", 7.6, 3.4, -1.5, 0.65 * Pi, -540},
    {"at_the_desk", 8.9, 2.9, -1.0, 1.05 * Pi, -750}, {"corner_view", 10.5, 5.5, -1.0, 3 * Pi / 2, -600},
    {"up", 3.5, 12.0, -1.5, 0.3, 200},              {"corner", 4.0, 4.0, -1.5, Pi / 4, -540},
    {"grid_line", 6.0, 3.5, -1.5, 0.0, -540},       {"low_eye", 12.5, 14.5, -2.05, 1.3, -540},
    {"far_corner", 28.9, 28.9, -1.2, 1.25 * Pi, -500},
};

TEST(Golden, FramesOfTheSceneKeepTheirPixels) {
    reset_texture_table();
    const OwnedWorld world = built_world();
    ASSERT_GT(cell_at(*world, 3, 2).shapeCount, 0u);
    std::string error;
    ASSERT_TRUE(FrameBuffer || platform_allocate_frame_buffer(&error)) << error;
    const auto golden = golden_frame_hashes();
    const bool update = std::getenv("QUORVALITE_UPDATE_GOLDEN") != nullptr;
    for (const Pose& pose : Poses) {
        SCOPED_TRACE(pose.name);
        const View view = make_view(camera_at(pose.x, pose.y, pose.eye, pose.heading), pose.horizon);
        const std::string name = std::string("golden_") + pose.name;
        render_all_tiles(*world, view, FrameBuffer);
        const auto expected = golden.find(pose.name);
        if (expected != golden.end() && update) {
            // A line for golden_frames.txt, and the frame to look at first.
            std::printf("%s %s\n", pose.name, frame_hash().c_str());
            write_test_frame(name, FrameBuffer);
        } else if (expected != golden.end()) {
            EXPECT_TRUE(frame_has_hash(name, expected->second));
        }
        // The plain path, column by column straight into the cleared frame buffer.
        const KeptFrame tiles = keep_frame(name + "_tiles");
        std::fill(FrameBuffer, FrameBuffer + size_t(ScreenWidth) * ScreenHeight, 0u);
        ColumnCaches caches;
        for (int32_t x = 0; x < ScreenWidth; ++x)
            render_column(x, ColumnTarget{FrameBuffer + x, ScreenWidth}, *world, view, caches);
        EXPECT_TRUE(frame_matches(name + "_columns", tiles));
        // Again with every extent unknown, so that no cell is passed over;
        // then the extents are measured again, as the builder measured them.
        int32_t known = 0;
        for (auto& column : world->cells)
            for (GridCell& cell : column) known += std::exchange(cell.extentKnown, uint8_t(0));
        EXPECT_GT(known, 0);
        render_all_tiles(*world, view, FrameBuffer);
        EXPECT_TRUE(frame_matches(name + "_all_drawn", tiles));
        for (auto& column : world->cells)
            for (GridCell& cell : column) measure_cell_extent(cell);
    }
}

}  // namespace

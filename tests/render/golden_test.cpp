// Frames of the real scene at fixed poses, kept as hashes in
// golden_frames.txt after they were looked at. A frame that differs is
// written into test_frames in the build folder as a PNG to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../support/frame_check.h"
#include "../support/render_tiles.h"
#include "../support/test_world.h"
#include "camera/camera.h"
#include "content/pi.h"
#include "platform/platform.h"
#include "render/render.h"

namespace {

struct GoldenPose {
    const char* name;
    double x, y, z, heading;
    int32_t horizon;
};

const GoldenPose Poses[] = {
    {"start", 3.5, 2.5, -1.5, 0.0, -400},
    {"north_field", 3.5, 12.0, -1.5, Pi / 2, -400},
    {"looking_down", 3.5, 12.0, -1.5, Pi, -1000},
    {"towards_house", 5.2, 6.0, -1.5, 3 * Pi / 2, -540},
    {"at_the_door", 6.6, 3.4, -1.5, Pi, -540},
    {"stairs", 7.6, 3.4, -1.5, 0.65 * Pi, -540},
    {"at_the_desk", 8.9, 2.9, -1.0, 1.05 * Pi, -750},
    {"corner_view", 10.5, 5.5, -1.0, 3 * Pi / 2, -600},
};

TEST(Golden, FramesOfTheSceneKeepTheirPixels) {
    reset_texture_table();
    const OwnedWorld world = built_world();
    ASSERT_GT(cell_at(*world, 3, 2).shapeCount, 0u);
    std::string error;
    ASSERT_TRUE(FrameBuffer || platform_allocate_frame_buffer(&error)) << error;
    const auto golden = golden_frame_hashes();
    const bool update = std::getenv("QUORVALITE_UPDATE_GOLDEN") != nullptr;
    for (const GoldenPose& pose : Poses) {
        SCOPED_TRACE(pose.name);
        Camera camera{};
        camera.x = pose.x;
        camera.y = pose.y;
        camera.z = camera.renderZ = pose.z;
        set_camera_heading(camera, pose.heading);
        const View view = make_view(camera, pose.horizon);
        const std::string name = std::string("golden_") + pose.name;
        render_all_tiles(*world, view, FrameBuffer);
        const auto expected = golden.find(pose.name);
        if (update) {
            // A line for golden_frames.txt, and the frame to look at first.
            std::printf("%s %s\n", pose.name, frame_hash().c_str());
            write_test_frame(name, FrameBuffer);
        } else {
            EXPECT_TRUE(frame_has_hash(name, expected == golden.end() ? "" : expected->second));
        }
        // The plain path, column by column straight into the cleared frame
        // buffer, gives the same pixels as the tiles.
        const KeptFrame tiles = keep_frame(name + "_tiles");
        std::fill(FrameBuffer, FrameBuffer + size_t(ScreenWidth) * ScreenHeight, 0u);
        ShadeCache cache;
        for (int32_t x = 0; x < ScreenWidth; ++x)
            render_column(x, ColumnTarget{FrameBuffer + x, ScreenWidth}, *world, view, cache);
        EXPECT_TRUE(frame_matches(name + "_columns", tiles));
    }
}

}  // namespace

// The real renderer through the real worker pool: eight workers drawing the
// scene, making shaded variants on first request and setting visited flags
// at the same time, must give the frame one thread gives. Under
// ThreadSanitizer this is the check that the render phase is race-free.
#include <gtest/gtest.h>

#include <string>

#include "../support/render_tiles.h"
#include "../support/frame_check.h"
#include "camera/camera.h"
#include "content/texture.h"
#include "frame/frame_loop.h"
#include "frame/worker_pool.h"
#include "platform/platform.h"
#include "render/render.h"
#include "world/world.h"

namespace {

void place_camera_at_the_desk() {
    TheCamera = Camera{};
    TheCamera.x = 8.9;
    TheCamera.y = 2.9;
    TheCamera.z = TheCamera.renderZ = -1.0;
    set_camera_heading(TheCamera, 3.2986722862692828);
    HorizonOffset = -750;
}

TEST(RenderPool, EightWorkersDrawWhatOneThreadDraws) {
    std::string error;
    ASSERT_TRUE(platform_allocate_frame_buffer(&error)) << error;
    ASSERT_TRUE(platform_open_headless(60, &error)) << error;
    FrameState state;
    ASSERT_TRUE(start_frames(state, WorkerCount, &error)) << error;
    place_camera_at_the_desk();

    // First frames with a fresh table: the workers create the variants.
    render_phase(state);
    const KeptFrame pooled = keep_frame("pool_first_frame");
    const int32_t variants = texture_count;
    render_phase(state);
    EXPECT_TRUE(frame_matches("pool_second_frame", pooled));
    EXPECT_EQ(texture_count, variants) << "a second frame made new variants";

    int32_t visitedCells = 0;
    for (const auto& column : TheWorld.cells)
        for (const GridCell& cell : column) visitedCells += cell.visited;
    EXPECT_GT(visitedCells, 0);

    render_all_tiles(TheWorld, make_view(TheCamera, HorizonOffset), FrameBuffer);
    EXPECT_TRUE(frame_matches("one_thread_frame", pooled));
    end_frames(state);
    platform_close();
}

}  // namespace

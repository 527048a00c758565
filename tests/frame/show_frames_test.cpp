// Golden frames of the show itself: the script is played without rendering
// up to the frame before, then that frame's view is drawn and compared with
// the hash kept in tests/render/golden_frames.txt (checked by eye first).
// These catch changes to the show, the camera and the renderer together:
// the typed listing, the tunnel and the credits on the desk's screen.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "../support/render_tiles.h"
#include "../support/frame_check.h"
#include "camera/camera.h"
#include "frame/headless_play.h"
#include "frame/worker_pool.h"
#include "platform/platform.h"
#include "render/render.h"
#include "world/world.h"

namespace {

// Draws the 3-D view of show frame `frame` at 60 frames a second.
void draw_show_view(int64_t frame) {
    std::string error;
    EXPECT_TRUE(platform_allocate_frame_buffer(&error)) << error;
    EXPECT_TRUE(platform_open_headless(60, &error)) << error;
    FrameState state;
    EXPECT_TRUE(start_frames(state, 0, &error)) << error;
    while (state.frame < frame - 1) run_headless_frame(state);
    render_all_tiles(*state.world, make_view(*state.camera, *state.horizon), FrameBuffer);
    end_frames(state);
    platform_close();
}

TEST(ShowFrames, TheDeskScreenShowsTheScriptsPictures) {
    auto golden = golden_frame_hashes();
    for (const auto& [name, frame] : {std::pair{"show_3200_dir_listing", 3200}, {"show_3700_tunnel", 3700},
                                      {"show_4090_credits", 4090}}) {
        draw_show_view(frame);
        EXPECT_TRUE(frame_has_hash(name, golden[name]));
    }
}

}  // namespace

// The frame loop on the headless backend: a play and its rendered replay
// give the same cues, the worker pool draws what one thread draws, and the
// show's own frames keep their hashes.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "../support/frame_check.h"
#include "../support/render_tiles.h"
#include "camera/camera.h"
#include "content/texture.h"
#include "frame/headless_play.h"
#include "frame/worker_pool.h"
#include "platform/platform.h"
#include "render/render.h"
#include "world/world.h"

namespace {

// The FrameBuffer, the headless backend at 60 frames a second, and the frame
// loop started on them with `workers` render workers.
testing::AssertionResult start_headless(FrameState& state, int32_t workers) {
    std::string error;
    if (platform_allocate_frame_buffer(&error) && platform_open_headless(60, &error) &&
        start_frames(state, workers, &error))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << error;
}

void stop_headless(FrameState& state) {
    end_frames(state);
    platform_close();
}

} // namespace

// A play without rendering ends a given number of frames after the one in
// which the finale begins, and a rendered replay from the start issues the
// very same cues in the same frames.
TEST(HeadlessPlay, EndsAfterTheFinaleAndARenderedReplayIssuesTheSameCues) {
    std::string error;
    ASSERT_TRUE(platform_allocate_frame_buffer(&error)) << error;
    int64_t toFinale = 0;
    ASSERT_TRUE(measure_play(60, PlayLength{0, 0}, &toFinale, nullptr, &error)) << error;
    ASSERT_GT(toFinale, 1000) << "a show of some length";
    int64_t frames = 0;
    std::vector<SoundCue> cues;
    ASSERT_TRUE(measure_play(60, PlayLength{0, 5}, &frames, &cues, &error)) << error;
    EXPECT_EQ(frames, toFinale + 5);
    ASSERT_GT(cues.size(), 20u);

    // The rendered replay of the first cues' frames.
    const PlayLength replay{cues[3].frame, 0};
    FrameState state;
    ASSERT_TRUE(start_headless(state, 2));
    std::vector<SoundCue> replayed;
    int64_t finaleFrame = 0;
    for (bool ended = false; !ended;) {
        const FrameReport report = run_headless_frame(state);
        for (const SoundImage* sound : report.cues) replayed.push_back(SoundCue{report.frame, sound});
        ended = play_ends(replay, state, &finaleFrame);
    }
    EXPECT_EQ(state.frame, replay.frames);
    EXPECT_EQ(finaleFrame, 0);
    stop_headless(state);
    ASSERT_GE(replayed.size(), 4u);
    for (size_t i = 0; i < replayed.size(); ++i) {
        EXPECT_EQ(replayed[i].frame, cues[i].frame) << i;
        EXPECT_EQ(replayed[i].sound, cues[i].sound) << i;
    }
}

// The real renderer through the real worker pool: eight workers drawing the
// scene, making shaded variants on first request and setting visited flags
// at the same time, must give the frame one thread gives. Under
// ThreadSanitizer this is the check that the render phase is race-free.
TEST(RenderPool, EightWorkersDrawWhatOneThreadDraws) {
    FrameState state;
    ASSERT_TRUE(start_headless(state, WorkerCount));
    TheCamera = Camera{};
    TheCamera.x = 8.9;
    TheCamera.y = 2.9;
    TheCamera.z = TheCamera.renderZ = -1.0;
    set_camera_heading(TheCamera, 3.2986722862692828);
    HorizonOffset = -750;

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
    stop_headless(state);
}

// Golden frames of the show itself: the script is played without rendering
// up to the frame before, then that frame's view is drawn and compared with
// the hash kept in tests/render/golden_frames.txt (checked by eye first).
// These catch changes to the show, the camera and the renderer together:
// the typed listing, the tunnel and the credits on the desk's screen. One
// play serves all three: drawing a view only sets visited flags and makes
// shaded variants of fixed textures, which the show never reads.
TEST(ShowFrames, TheDeskScreenShowsTheScriptsPictures) {
    auto golden = golden_frame_hashes();
    FrameState state;
    ASSERT_TRUE(start_headless(state, 0));
    for (const auto& [name, frame] : {std::pair{"show_3200_dir_listing", 3200}, {"show_3700_tunnel", 3700},
                                      {"show_4090_credits", 4090}}) {
        while (state.frame < frame - 1) run_headless_frame(state);
        render_all_tiles(*state.world, make_view(*state.camera, *state.horizon), FrameBuffer);
        EXPECT_TRUE(frame_has_hash(name, golden[name]));
    }
    stop_headless(state);
}

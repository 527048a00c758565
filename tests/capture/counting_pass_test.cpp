#include <gtest/gtest.h>

#include "frame/frame_loop.h"
#include "platform/platform.h"
#include "show/show.h"

namespace {

struct Gathered {
    std::vector<SoundCue> cues;
    int64_t pixelFrames = 0; // frames handed over with pixels
};

void gather_cue(void* context, int64_t frame, const SoundImage* sound) {
    static_cast<Gathered*>(context)->cues.push_back({frame, sound});
}

bool gather_frame(void* context, int64_t, const uint32_t* pixels) {
    if (pixels) ++static_cast<Gathered*>(context)->pixelFrames;
    return true;
}

FrameLoopReport play(FrameLoopOptions options, Gathered* gathered) {
    reset_scene();
    HeadlessOptions headless;
    headless.fps = 60;
    std::string error;
    EXPECT_TRUE(platform_allocate_frame_buffer(&error)) << error;
    EXPECT_TRUE(platform_open_headless(headless, &error)) << error;
    FrameLoopReport report;
    options.report = &report;
    options.hooks = FrameHooks{gathered, gather_frame, gather_cue};
    EXPECT_EQ(run_frames(options), 0);
    platform_close();
    return report;
}

} // namespace

// A pass without rendering stops a given number of frames into the finale,
// and a rendered replay after reset_scene issues the very same cues.
TEST(CountingPass, StopsAfterTheFinaleAndReplaysTheSameCues) {
    FrameLoopOptions counting;
    counting.render = false;
    counting.framesAfterFinale = 5;
    counting.maxFrames = 100000;
    Gathered first;
    const FrameLoopReport report = play(counting, &first);
    ASSERT_GT(report.finaleFrame, 1000); // a show of some length, which no frame limit cut short
    EXPECT_EQ(report.frames, report.finaleFrame + 5);
    EXPECT_EQ(TheShow.step, FinaleStep);
    EXPECT_EQ(first.pixelFrames, 0);
    ASSERT_GT(first.cues.size(), 20u);

    // The rendered replay of the first cues' frames.
    const int64_t frames = first.cues[3].frame;
    FrameLoopOptions rendered;
    rendered.maxFrames = frames;
    rendered.workers = 2;
    Gathered second;
    const FrameLoopReport replay = play(rendered, &second);
    EXPECT_EQ(replay.frames, frames);
    EXPECT_EQ(replay.finaleFrame, 0);
    EXPECT_EQ(second.pixelFrames, frames);
    ASSERT_GE(second.cues.size(), 4u);
    for (size_t i = 0; i < second.cues.size(); ++i) {
        EXPECT_EQ(second.cues[i].frame, first.cues[i].frame) << i;
        EXPECT_EQ(second.cues[i].sound, first.cues[i].sound) << i;
    }
}

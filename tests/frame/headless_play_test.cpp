#include <gtest/gtest.h>

#include "frame/headless_play.h"
#include "frame/worker_pool.h"
#include "platform/platform.h"

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
    ASSERT_TRUE(platform_open_headless(60, &error)) << error;
    FrameState state;
    ASSERT_TRUE(start_frames(state, 2, &error)) << error;
    std::vector<SoundCue> replayed;
    int64_t finaleFrame = 0;
    for (bool ended = false; !ended;) {
        const FrameReport report = run_headless_frame(state);
        for (const SoundImage* sound : report.cues) replayed.push_back(SoundCue{report.frame, sound});
        ended = play_ends(replay, state, &finaleFrame);
    }
    EXPECT_EQ(state.frame, replay.frames);
    EXPECT_EQ(finaleFrame, 0);
    end_frames(state);
    platform_close();
    ASSERT_GE(replayed.size(), 4u);
    for (size_t i = 0; i < replayed.size(); ++i) {
        EXPECT_EQ(replayed[i].frame, cues[i].frame) << i;
        EXPECT_EQ(replayed[i].sound, cues[i].sound) << i;
    }
}

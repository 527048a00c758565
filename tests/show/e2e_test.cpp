#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "content/pi.h"
#include "show_fixture.h"

namespace {

constexpr int64_t FinaleSeconds = 20;

struct StepRecord {
    int64_t firstFrame = 0;
    int32_t clicks = 0;
    int32_t footsteps = 0;
};

struct ShowRun {
    int32_t finalStep = 0;
    std::map<int32_t, StepRecord> steps;
    std::vector<int64_t> thumpFrames;   // cues of the finale
    std::vector<int64_t> bounceFrames;  // frames after which the eye turned from falling to rising
};

// The whole show in virtual time, driven as the frame loop drives it: the
// show, then renderZ = z, the fall step and the heading wrap. Stops 20 s
// into the finale or at the first frame outside the inner cells.
ShowRun run_whole_show(const WorldGrid& world, int64_t fps) {
    ShowRun run;
    ShowState show{};
    Camera camera{};
    int32_t horizon = 0;
    int32_t lastStep = -1;
    double previous = 1000;
    double zBefore = camera.z, zDrop = 0;
    for (int64_t frame = 1; frame <= 300 * fps; ++frame) {
        const double now = double(1000 + frame * 1000 / fps);
        const int32_t before = show.step;
        SoundCues cues;
        run_show(show, camera, horizon, world, now, cues);
        EXPECT_EQ(cues.dropped, 0) << "frame " << frame;

        for (int32_t s = lastStep + 1; s <= show.step; ++s) run.steps[s].firstFrame = frame;
        lastStep = std::max(lastStep, show.step);
        for (int32_t i = 0; i < cues.count; ++i) {
            StepRecord& record = run.steps[before];  // hand-over clicks belong to the step they end
            if (cues.sounds[i] == &KeyClick) ++record.clicks;
            else ++record.footsteps;
            if (show.step == 37) run.thumpFrames.push_back(frame);  // step 36 is silent
        }

        const double dt = (now - previous) / 1000;
        camera.renderZ = camera.z;
        fall_step(camera, world, 2 * dt);
        camera.heading = std::fmod(camera.heading + 2 * Pi, 2 * Pi);
        previous = now;

        if (show.step == 37) {
            const double rise = camera.z - zBefore;
            if (rise > 0 && zDrop <= 0) run.bounceFrames.push_back(frame);
            if (rise != 0) zDrop = rise;
        }
        zBefore = camera.z;
        run.finalStep = show.step;
        const bool inside = camera.x >= 1 && camera.x < GridSize - 1 && camera.y >= 1 && camera.y < GridSize - 1;
        EXPECT_TRUE(inside) << "frame " << frame << " step " << show.step << " at " << camera.x << ", " << camera.y;
        if (!inside || (show.step == 37 && frame - run.steps[37].firstFrame >= FinaleSeconds * fps)) break;
    }
    return run;
}

struct WholeShow : ::testing::TestWithParam<int64_t> {};

}  // namespace

TEST_P(WholeShow, RunsEveryStepInOrderWithItsCues) {
    const OwnedWorld world = built_world();
    ASSERT_GT(cell_at(*world, 3, 2).shapeCount, 0u);
    const int64_t fps = GetParam();
    const ShowRun run = run_whole_show(*world, fps);

    ASSERT_EQ(run.finalStep, 37);
    EXPECT_EQ(run.steps.at(1).firstFrame, 1);  // the first call starts the show
    for (int32_t s = 1; s <= 37; ++s) EXPECT_GE(run.steps.at(s).firstFrame, run.steps.at(s - 1).firstFrame) << s;

    EXPECT_EQ(run.steps.at(25).clicks, 11);
    EXPECT_EQ(run.steps.at(26).clicks, 1);
    EXPECT_EQ(run.steps.at(27).clicks, 6);
    int32_t clicks = 0;
    for (const auto& [step, record] : run.steps) clicks += record.clicks;
    EXPECT_EQ(clicks, 18);
    // Every walk of at least 1 / 1.3 units (step 24 is shorter).
    for (const int32_t walk : {2, 7, 9, 13, 15, 17, 19, 21, 29, 31, 33, 35})
        EXPECT_GT(run.steps.at(walk).footsteps, 0) << "step " << walk;

    // The last picture stays on the screen: the credits page.
    EXPECT_TRUE(row_reads(screen(), "C:\\DEMOS\\ABOUT", 2, 2, 0x010101));
    EXPECT_TRUE(row_reads(screen(), "Made for Marvolia 2022", 2, 170, 0x010101));

    // One thump per hop, in the call after which the eye turns upwards again.
    EXPECT_GE(run.thumpFrames.size(), size_t(FinaleSeconds));
    EXPECT_EQ(run.thumpFrames, run.bounceFrames);
}

INSTANTIATE_TEST_SUITE_P(FrameRates, WholeShow, ::testing::Values(60, 24));

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>

#include "content/content.h"
#include "world/builder.h"
#include "show_fixture.h"

namespace {

constexpr int64_t Fps = 60;
constexpr double TwoPi = 6.283185307179586;

bool world_has_shapes(const WorldGrid& world) {
    for (const auto& column : world.cells)
        for (const GridCell& cell : column)
            if (cell.shapeCount > 0) return true;
    return false;
}

struct StepRecord {
    int64_t firstFrame = 0;
    int32_t clicks = 0;
    int32_t footsteps = 0;
};

}  // namespace

// The whole show in virtual time, driven like the frame loop drives it: the
// show, then renderZ = z, the fall step and the heading wrap.
TEST(ShowEndToEnd, RunsEveryStepInOrderInsideTheWorld) {
    open_headless();
    reset_texture_table();
    clear_world(TheWorld);
    generate_content();
    build_world(TheWorld);
    if (!world_has_shapes(TheWorld)) GTEST_SKIP() << "the world builder is not there yet";
    Camera probe{};
    turn_camera(probe, 0.5);
    if (probe.heading == 0) GTEST_SKIP() << "the camera operations are not there yet";

    ShowState show{};
    Camera camera{};
    HorizonOffset = 0;
    std::map<int32_t, StepRecord> steps;
    int32_t lastStep = -1;
    int32_t landings = 0, thumps = 0;
    int64_t finaleFrames = 0;
    double previous = 1000;

    for (int64_t frame = 1; frame <= 300 * Fps && finaleFrames < 20 * Fps; ++frame) {
        const double now = double(1000 + frame * 1000 / Fps);
        const int32_t before = show.step;
        const bool landed = before == 37 && camera.renderZ == -1.5;
        run_show(show, camera, TheWorld, now);

        ASSERT_GE(show.step, before) << "frame " << frame;
        for (int32_t s = std::max(lastStep + 1, 0); s <= show.step; ++s) steps[s].firstFrame = frame;
        lastStep = std::max(lastStep, show.step);
        for (const SoundCue& cue : headless_take_cues()) {
            // A cue belongs to the step that issued it: the one current at
            // the start of the call, except the hand-over clicks.
            StepRecord& record = steps[before];
            if (cue.sound == &KeyClick) ++record.clicks;
            else ++record.footsteps;
            if (before == 37) ++thumps;
        }
        if (landed) ++landings;
        if (show.step == 37) ++finaleFrames;

        const double dt = (now - previous) / 1000;
        camera.renderZ = camera.z;
        fall_step(camera, TheWorld, 2 * dt);
        camera.heading = std::fmod(camera.heading + TwoPi, TwoPi);
        previous = now;

        ASSERT_TRUE(camera.x >= 1 && camera.x < GridSize - 1 && camera.y >= 1 && camera.y < GridSize - 1)
            << "frame " << frame << " step " << show.step << " at " << camera.x << ", " << camera.y;
    }

    ASSERT_EQ(show.step, 37);
    for (int32_t s = 0; s <= 37; ++s) std::printf("step %2d begins at frame %lld\n", s, (long long)steps[s].firstFrame);
    EXPECT_EQ(steps[25].clicks, 11);
    EXPECT_EQ(steps[26].clicks, 1);
    EXPECT_EQ(steps[27].clicks, 6);
    for (const int32_t walk : {2, 7, 9, 13, 15, 17, 19, 21, 24, 29, 31, 33, 35}) EXPECT_GT(steps[walk].footsteps, 0) << walk;
    EXPECT_GT(landings, 3);
    EXPECT_EQ(thumps, landings);
}

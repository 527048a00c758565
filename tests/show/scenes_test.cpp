#include <gtest/gtest.h>

#include <cmath>

#include "content/pi.h"
#include "show/tunnel.h"
#include "show_fixture.h"

namespace {

struct SceneTest : ShowFixture {
    double now = 5000;
    void SetUp() override {
        make_screen_texture();
        fill_tunnel_tables();
    }
    void TearDown() override { reset_texture_table(); }
    // Enters the step with its clock started at `now`.
    void enter(int32_t step) {
        show.step = step;
        show.substep = 0;
        show.stepStartMs = now;
    }
    void at(double seconds) { run_show(show, camera, horizon, *world, now + seconds * 1000, cues); }
    void run_at_60(double from, double to) {
        for (double t = from; t <= to; t += 1 / 60.0) at(t);
    }
    uint32_t background() { return screen()[255 * 256 + 255]; }
};

}  // namespace

// A slow frame jumping the step clock from 0.4 to 1.5 s types D, I and R in
// one call with three clicks, each letter in the next cell after the prompt.
TEST_F(SceneTest, SlowFrameTypesThreeLettersInOneCall) {
    enter(25);
    at(0.4);
    EXPECT_TRUE(take_cue_names(cues).empty());
    at(1.5);
    EXPECT_EQ(take_cue_names(cues), (std::vector<std::string>{"KeyClick", "KeyClick", "KeyClick"}));
    EXPECT_EQ(show.substep, 3);
    const uint32_t bg = background();
    EXPECT_TRUE(row_reads(screen(), "         DIR", 2, 2, bg));
    EXPECT_TRUE(cell_shows(screen(), ' ', 2 + 8 * 12, 2, bg));  // nothing beyond R yet
    EXPECT_TRUE(cell_shows(screen(), ' ', 2, 12, bg));         // listing not yet shown
}

// The turns start only after 2 and 3 seconds; with the first one needing
// nearly a full circle the tunnel runs past 8 seconds and ends once the
// second turn is done, blanking the screen to the prompt with one click.
TEST_F(SceneTest, TunnelEndsAfterBothTurnsAndEightSeconds) {
    set_camera_heading(camera, Pi / 2 - 0.07);
    enter(26);
    run_at_60(0, 1.99);
    EXPECT_NEAR(camera.heading, Pi / 2 - 0.07, 1e-12);
    EXPECT_EQ(screen()[100 * 256 + 100] & 0xFFFF00FFu, 0u);  // the green tunnel over the background
    run_at_60(2.0, 9.0);
    EXPECT_EQ(show.step, 26);
    EXPECT_TRUE(take_cue_names(cues).empty());
    double t = 9.0;
    while (show.step == 26 && t < 30) at(t += 1 / 60.0);
    ASSERT_EQ(show.step, 27);
    EXPECT_GT(t, 9.5);  // a turn of 2 pi - 0.12 and one of 1.69 radians at 1 radian a second
    EXPECT_NEAR(std::fmod(camera.heading + 2000 * Pi, 2 * Pi), 1.07 * Pi, 0.05);
    EXPECT_EQ(take_cue_names(cues), std::vector<std::string>{"KeyClick"});
    EXPECT_TRUE(cell_shows(screen(), 'C', 2, 2, 0x010101));
    EXPECT_EQ(screen()[100 * 256 + 100], 0x010101u);
}

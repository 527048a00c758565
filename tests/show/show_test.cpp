#include <gtest/gtest.h>

#include "content/pi.h"
#include "show_fixture.h"

using ShowTest = ShowFixture;

// A footstep every 1 / 1.3 units: A on even whole units, B on odd ones, so
// now and then one foot repeats; walks that cross no boundary are silent.
TEST_F(ShowTest, FootstepsEveryThirteenTenthsOfAUnit) {
    std::vector<std::string> heard;
    for (const double d : {0.7, 0.1, 0.8, 0.8, 0.7, 0.8, 0.0}) {
        show_walk(show, camera, d, cues);
        const auto names = take_cue_names(cues);
        EXPECT_LE(names.size(), 1u);
        heard.push_back(names.empty() ? "-" : names[0]);
    }
    // distance 0.7, 0.8, 1.6, 2.4, 3.1, 3.9, 3.9 -> floor(1.3 d) 0, 1, 2, 3, 4, 5, 5
    EXPECT_EQ(heard, (std::vector<std::string>{"-", "FootstepA", "FootstepB", "FootstepA", "FootstepB", "FootstepB", "-"}));
}

// Step 11's pause lets the clock run; when it ends, step 12 is not tested
// again in that call, so its turn begins on the next call with one frame's time.
TEST_F(ShowTest, TurnAfterThePauseBeginsOnTheNextCall) {
    set_camera_heading(camera, 3 * Pi / 4);
    show.step = 11;
    show.stepStartMs = 1000;
    run_show(show, camera, horizon, *world, 3990, cues);
    EXPECT_EQ(show.step, 11);
    run_show(show, camera, horizon, *world, 4010, cues);
    EXPECT_EQ(show.step, 12);
    EXPECT_DOUBLE_EQ(camera.heading, 3 * Pi / 4);
    run_show(show, camera, horizon, *world, 4030, cues);
    EXPECT_NEAR(camera.heading, 3 * Pi / 4 + 2 * 0.5 * 0.02, 1e-12);
}

// More cues than the record holds (the script never issues so many in one
// call): the first ones are kept in order, the rest are counted, none is
// written past the record.
TEST(SoundCues, KeepTheFirstCuesAndCountTheRest) {
    SoundCues cues;
    for (int32_t i = 0; i < SoundCues::Capacity + 3; ++i) add_cue(cues, i % 2 == 0 ? KeyClick : FootstepA);
    ASSERT_EQ(cues.count, SoundCues::Capacity);
    EXPECT_EQ(cues.dropped, 3);
    for (int32_t i = 0; i < cues.count; ++i) EXPECT_EQ(cues.sounds[i], i % 2 == 0 ? &KeyClick : &FootstepA) << i;
}

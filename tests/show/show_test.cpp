// The show's script in virtual time: footsteps, key clicks and turns, the
// scenes on the desk's screen, and the whole show from start to finale at
// two frame rates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "../support/test_world.h"
#include "camera/camera.h"
#include "content/font.h"
#include "content/pi.h"
#include "content/texture.h"
#include "platform/platform.h"
#include "show/show.h"
#include "show/sounds.h"
#include "show/tunnel.h"
#include "world/world.h"

namespace {

uint32_t* screen() { return get_shaded_texture(&TextureTable[TerminalScreen], 2)->pixels; }

// The names of the cues, in order, and the cues emptied.
std::vector<std::string> take_cue_names(SoundCues& cues) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < cues.count; ++i) names.push_back(cues.sounds[i]->name);
    cues = SoundCues{};
    return names;
}

// True when the 8 x 8 cell at (x, y) holds exactly the glyph's ink in white
// over `background`.
bool cell_shows(const uint32_t* image, char character, int32_t x, int32_t y, uint32_t background) {
    const int32_t c = uint8_t(character) - 32;
    for (int32_t r = 0; r < 8; ++r) {
        const uint8_t bits = Font8x8[(c / 16) * 128 + r * 16 + c % 16];
        for (int32_t i = 0; i < 8; ++i) {
            const bool ink = bits & (0x80 >> i);
            if (image[(y + r) * 256 + x + i] != (ink ? 0x00FFFFFFu : background)) return false;
        }
    }
    return true;
}

// True when every non-space character of text shows in its cell of a row.
bool row_reads(const uint32_t* image, const char* text, int32_t x, int32_t y, uint32_t background) {
    for (int32_t k = 0; text[k]; ++k)
        if (text[k] != ' ' && !cell_shows(image, text[k], x + 8 * k, y, background)) return false;
    return true;
}

// A fresh show and camera, the horizon offset at its load value, an empty
// world and no cues.
struct ShowTest : ::testing::Test {
    ShowState show{};
    Camera camera{};
    int32_t horizon = 0;
    OwnedWorld world = empty_world();
    SoundCues cues;
};

// The terminal screen texture alone, a plain 256 x 256 picture, with the 15
// base entries counted so that its variants are appended after them.
struct SceneTest : ShowTest {
    double now = 5000;
    void SetUp() override {
        reset_texture_table();
        texture_count = BaseTextureCount;
        Texture& t = TextureTable[TerminalScreen];
        t.width = t.height = 256;
        t.pixels = static_cast<uint32_t*>(std::malloc(256 * 256 * sizeof(uint32_t)));
        std::fill(t.pixels, t.pixels + 256 * 256, 0x102030u);
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

} // namespace

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

TEST_P(WholeShow, RunsEveryStepInOrderWithItsCues) {
    const OwnedWorld world = built_world();
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

// The tunnel's pixels at a show time are in the show_3700_tunnel frame hash;
// these are the values no frame of the show reaches.
TEST(Tunnel, CentreAndTruncationEdges) {
    fill_tunnel_tables();
    EXPECT_EQ(TunnelDepth[128][128], 0);  // distance 0: no division
    EXPECT_EQ(TunnelAngle[0][128], -63);  // truncated towards zero, not down
    EXPECT_EQ(low_byte_of_trunc(-1.5), 255);  // trunc -1
    EXPECT_EQ(low_byte_of_trunc(-256.5), 0);  // trunc -256
    EXPECT_EQ(low_byte_of_trunc(1e300), 0);   // a multiple of 256, no overflow
}

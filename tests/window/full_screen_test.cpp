// The full-screen window on virtual screens without a window manager: what a
// screenshot shows, and how the show ends.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/platform.h"
#include "system/system.h"
#include "screen_picture.h"
#include "virtual_screen.h"

namespace {

// Frames to wait for before the screenshot, so that the window is mapped
// and has been drawn more than once.
constexpr int FramesBeforeScreenshot = 3;
constexpr int StartTimeoutMs = 60000;

// Takes a screenshot of the running show, then ends it with ESC.
Screenshot screenshot_then_escape(const VirtualScreen& screen, ShowOnScreen& show, ProgramResult* result) {
    Screenshot shot;
    std::string error;
    EXPECT_TRUE(show.wait_for_frames(FramesBeforeScreenshot, StartTimeoutMs)) << "no frames presented";
    EXPECT_TRUE(take_screenshot(screen, show.dir(), &shot, &error)) << error;
    EXPECT_TRUE(show.send_keys("Escape", &error)) << error;
    *result = show.finish(30000);
    return shot;
}

// Whether the HUD text shows with the picture placed there, or a pixel off
// either way, as a scaler may round.
bool hud_text_shows(const Screenshot& shot, const ScreenRect& picture, HudCorner corner) {
    for (int32_t dy = -1; dy <= 1; ++dy) {
        for (int32_t dx = -1; dx <= 1; ++dx) {
            const ScreenRect moved{picture.left + dx, picture.top + dy, picture.right + dx, picture.bottom + dy};
            const HudTextFound found = hud_text_found(shot, moved, corner);
            if (found.white > 0.9 && found.stray < 0.1) return true;
        }
    }
    return false;
}

// A failed test keeps its screenshot, in the folder it runs in, to look at.
void keep_screenshot_of_failure(const Screenshot& shot) {
    if (!testing::Test::HasFailure() || shot.pixels.empty()) return;
    const std::string path = std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png";
    std::string error;
    if (write_png(path, shot.pixels.data(), shot.width, shot.height, shot.width, false, &error))
        ADD_FAILURE() << "the screenshot is kept as " << path;
}

// The whole picture, scaled to fit with its aspect kept and centred: the
// screen is black outside it, and its four corners are where they belong.
void expect_whole_picture(const Screenshot& shot) {
    ASSERT_FALSE(shot.pixels.empty());
    const ScreenRect picture = letterboxed_picture(shot.width, shot.height);
    const ScreenRect lit = lit_area(shot);
    EXPECT_NEAR(lit.left, picture.left, 1) << "lit " << describe(lit) << ", picture " << describe(picture);
    EXPECT_NEAR(lit.top, picture.top, 1) << "lit " << describe(lit) << ", picture " << describe(picture);
    EXPECT_NEAR(lit.right, picture.right, 1) << "lit " << describe(lit) << ", picture " << describe(picture);
    EXPECT_NEAR(lit.bottom, picture.bottom, 1) << "lit " << describe(lit) << ", picture " << describe(picture);
    EXPECT_TRUE(hud_text_shows(shot, picture, HudCorner::TopLeft)) << "the FPS lines at the top left";
    EXPECT_TRUE(hud_text_shows(shot, picture, HudCorner::BottomLeft)) << "the position lines at the bottom left";
    const MinimapShares minimap = minimap_shares(shot, picture);
    EXPECT_GT(minimap.inside, 0.95) << "the minimap at the top right";
    EXPECT_LT(minimap.around, 0.2) << "the minimap at the top right";
}

} // namespace

TEST_F(WindowTest, FullScreenOnA1920x1080ScreenShowsThePictureExactlyAndEscapeEndsIt) {
    const VirtualScreen screen(1920, 1080);
    ASSERT_TRUE(screen.up()) << "no Xvfb could be started";
    ShowOnScreen show(screen, {}, {"SDL_AUDIODRIVER=dummy"});
    ProgramResult result;
    const Screenshot shot = screenshot_then_escape(screen, show, &result);
    EXPECT_EQ(result.exitCode, 0) << result.err;

    expect_whole_picture(shot);
    const ScreenRect picture{0, 0, 1920, 1080};
    std::string mismatch;
    EXPECT_TRUE(hud_text_exact(shot, picture, HudCorner::TopLeft, &mismatch)) << mismatch;
    EXPECT_TRUE(hud_text_exact(shot, picture, HudCorner::BottomLeft, &mismatch)) << mismatch;
    keep_screenshot_of_failure(shot);
}

TEST_F(WindowTest, FullScreenOnASmallerScreenShowsTheWholePictureLetterboxed) {
    const VirtualScreen screen(1280, 1024);
    ASSERT_TRUE(screen.up()) << "no Xvfb could be started";
    ShowOnScreen show(screen, {}, {"SDL_AUDIODRIVER=dummy"});
    ProgramResult result;
    const Screenshot shot = screenshot_then_escape(screen, show, &result);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(letterboxed_picture(1280, 1024).top, 152);
    expect_whole_picture(shot);
    keep_screenshot_of_failure(shot);
}

// A display without a 1920 x 1080 mode cannot be switched to it: the program
// says so and scales instead. Its sound driver cannot start either, and the
// show still goes on.
TEST_F(WindowTest, SwitchModeWithoutThatModeSaysSoAndScalesTheWholePicture) {
    const VirtualScreen screen(1280, 1024);
    ASSERT_TRUE(screen.up()) << "no Xvfb could be started";
    ShowOnScreen show(screen, {"--switch-mode"}, {"SDL_AUDIODRIVER=none_such"});
    ProgramResult result;
    const Screenshot shot = screenshot_then_escape(screen, show, &result);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("no 1920 x 1080 mode"), std::string::npos) << result.err;
    expect_whole_picture(shot);
    keep_screenshot_of_failure(shot);
}

// The close button of a window manager (here its message, WM_DELETE_WINDOW,
// sent as a window manager sends it) ends the show like ESC, with exit code 0.
TEST_F(WindowTest, ClosingTheWindowEndsTheShowWithExitCode0) {
    const VirtualScreen screen(1280, 1024);
    ASSERT_TRUE(screen.up()) << "no Xvfb could be started";
    ShowOnScreen show(screen, {"--window"}, {"SDL_AUDIODRIVER=dummy"});
    ASSERT_TRUE(show.wait_for_frames(FramesBeforeScreenshot, StartTimeoutMs)) << "no frames presented";
    std::string error;
    ASSERT_TRUE(show.close_window(&error)) << error;
    const ProgramResult result = show.finish(30000);
    EXPECT_EQ(result.exitCode, 0) << result.err;
}

// The full-screen window on virtual screens without a window manager: what a
// screenshot shows, and how the show ends. The 1920 x 1080 picture must show
// whole, scaled with its aspect kept and centred: the screen is black around
// it, and the parts at its corners (HUD text top left and bottom left, the
// minimap top right) are where they belong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "camera/camera.h"
#include "frame/overlay.h"
#include "system/system.h"
#include "virtual_screen.h"

namespace {

// A rectangle of screen pixels, right and bottom exclusive.
struct ScreenRect {
    int32_t left, top, right, bottom;
};

uint32_t channel(uint32_t pixel, int shift) { return (pixel >> shift) & 0xFF; }
uint32_t lowest_channel(uint32_t p) { return std::min({channel(p, 16), channel(p, 8), channel(p, 0)}); }

ScreenRect letterboxed_picture(int32_t screenWidth, int32_t screenHeight) {
    const double scale = std::min(double(screenWidth) / ScreenWidth, double(screenHeight) / ScreenHeight);
    const int32_t width = int32_t(std::lround(ScreenWidth * scale));
    const int32_t height = int32_t(std::lround(ScreenHeight * scale));
    return {(screenWidth - width) / 2, (screenHeight - height) / 2, (screenWidth + width) / 2,
            (screenHeight + height) / 2};
}

// The smallest rectangle holding every pixel brighter than near-black; the
// letterbox bars are black, the picture has no black rows or columns.
ScreenRect lit_area(const Screenshot& shot) {
    ScreenRect lit{shot.width, shot.height, 0, 0};
    for (int32_t y = 0; y < shot.height; ++y)
        for (int32_t x = 0; x < shot.width; ++x)
            if (std::max({channel(shot.at(x, y), 16), channel(shot.at(x, y), 8), channel(shot.at(x, y), 0)}) > 8)
                lit = {std::min(lit.left, x), std::min(lit.top, y), std::max(lit.right, x + 1),
                       std::max(lit.bottom, y + 1)};
    return lit;
}

// A rectangle of the picture as picture puts it on the screen, clipped to the screen.
ScreenRect on_screen(const Screenshot& shot, const ScreenRect& picture, const ScreenRect& inPicture) {
    const double scale = double(picture.right - picture.left) / ScreenWidth;
    return {std::max(0, picture.left + int32_t(std::floor(inPicture.left * scale))),
            std::max(0, picture.top + int32_t(std::floor(inPicture.top * scale))),
            std::min(shot.width, picture.left + int32_t(std::ceil(inPicture.right * scale))),
            std::min(shot.height, picture.top + int32_t(std::ceil(inPicture.bottom * scale)))};
}

// The labels of the HUD, which stay the same from frame to frame: "FPS: "
// and the starts of the next two lines at the top left, and "Position X: "
// with the two lines below it at the bottom left. The numbers after them
// change, so they lie outside these boxes.
const ScreenRect TopLeftLabels{0, 0, 10 + 5 * 16, 72};
const ScreenRect BottomLeftLabels{0, ScreenHeight - 94, 10 + 12 * 16, ScreenHeight - 10};

// The HUD drawn over black: white pixels are text.
bool hud_ink(int32_t x, int32_t y) {
    static const std::vector<uint32_t> hud = [] {
        std::vector<uint32_t> frame(size_t(ScreenWidth) * ScreenHeight, 0);
        draw_hud(frame.data(), 60, Camera{});
        return frame;
    }();
    return hud[size_t(std::clamp(y, 0, ScreenHeight - 1)) * ScreenWidth + size_t(std::clamp(x, 0, ScreenWidth - 1))] ==
           0xFFFFFF;
}

// Whether the HUD labels in the box show with the picture placed there:
// scaled, a screen pixel read (bilinearly, as a scaler reads) only from text
// must be white, and one read only from elsewhere not. Text over anything is
// at least 90 % white there; the sky and the walls are darker.
bool labels_show_at(const Screenshot& shot, const ScreenRect& picture, const ScreenRect& labels) {
    const double scale = double(picture.right - picture.left) / ScreenWidth;
    const ScreenRect area = on_screen(shot, picture, labels);
    int64_t text = 0, textWhite = 0, elsewhere = 0, elsewhereWhite = 0;
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            // The picture position whose colour lands at the centre of this screen pixel.
            const double px = (x - picture.left + 0.5) / scale - 0.5, py = (y - picture.top + 0.5) / scale - 0.5;
            const int32_t left = int32_t(std::floor(px)), top = int32_t(std::floor(py));
            const double fx = px - left, fy = py - top;
            const double ink = (1 - fy) * ((1 - fx) * hud_ink(left, top) + fx * hud_ink(left + 1, top)) +
                               fy * ((1 - fx) * hud_ink(left, top + 1) + fx * hud_ink(left + 1, top + 1));
            const bool white = lowest_channel(shot.at(x, y)) >= 0.9 * 255;
            if (ink >= 0.95) ++text, textWhite += white;
            else if (ink == 0) ++elsewhere, elsewhereWhite += white;
        }
    }
    return text > 0 && textWhite > 0.9 * double(text) && elsewhereWhite < 0.1 * double(elsewhere);
}

// The same with the picture placed there or a pixel off either way, as a
// scaler may round.
bool labels_show(const Screenshot& shot, const ScreenRect& picture, const ScreenRect& labels) {
    for (int32_t dy = -1; dy <= 1; ++dy)
        for (int32_t dx = -1; dx <= 1; ++dx)
            if (labels_show_at(shot, {picture.left + dx, picture.top + dy, picture.right + dx, picture.bottom + dy},
                               labels))
                return true;
    return false;
}

// Whether the minimap's half-blended red or green fills its place as
// picture puts it, and a thin frame just around it mostly does not. Its
// edge pixels blend with their neighbours when scaled: two screen pixels
// inside and around it are left out.
bool minimap_shows(const Screenshot& shot, const ScreenRect& picture) {
    const ScreenRect box =
        on_screen(shot, picture, {MinimapLeft, MinimapTop, MinimapLeft + MinimapSize, MinimapTop + MinimapSize});
    const ScreenRect outer{std::max({0, picture.left, box.left - 5}), std::max({0, picture.top, box.top - 5}),
                           std::min({shot.width, picture.right, box.right + 5}),
                           std::min({shot.height, picture.bottom, box.bottom + 5})};
    int64_t inside = 0, insideColored = 0, around = 0, aroundColored = 0;
    for (int32_t y = outer.top; y < outer.bottom; ++y) {
        for (int32_t x = outer.left; x < outer.right; ++x) {
            const uint32_t red = channel(shot.at(x, y), 16), green = channel(shot.at(x, y), 8);
            const bool colored = channel(shot.at(x, y), 0) <= 129 &&
                                 ((green >= 126 && red <= 129) || (red >= 126 && green <= 129));
            const bool in = x >= box.left + 2 && x < box.right - 2 && y >= box.top + 2 && y < box.bottom - 2;
            const bool out = x < box.left - 2 || x >= box.right + 2 || y < box.top - 2 || y >= box.bottom + 2;
            if (in) ++inside, insideColored += colored;
            else if (out) ++around, aroundColored += colored;
        }
    }
    return insideColored > 0.95 * double(inside) && aroundColored < 0.2 * double(around);
}

// The whole picture: the lit area is where the picture belongs and the parts
// at its corners show there; shown 1:1, its HUD labels pixel for pixel.
void expect_whole_picture(const Screenshot& shot) {
    ASSERT_FALSE(shot.pixels.empty()) << "no screenshot";
    const ScreenRect picture = letterboxed_picture(shot.width, shot.height);
    const ScreenRect lit = lit_area(shot);
    for (const auto& [litEdge, pictureEdge] : {std::pair{lit.left, picture.left}, {lit.top, picture.top},
                                               {lit.right, picture.right}, {lit.bottom, picture.bottom}})
        EXPECT_NEAR(litEdge, pictureEdge, 1) << "lit area against the letterboxed picture";
    EXPECT_TRUE(minimap_shows(shot, picture)) << "the minimap at the top right";
    for (const auto& [labels, where] : {std::pair{TopLeftLabels, "FPS lines, top left"},
                                        {BottomLeftLabels, "position lines, bottom left"}}) {
        EXPECT_TRUE(labels_show(shot, picture, labels)) << where;
        if (shot.width != ScreenWidth || shot.height != ScreenHeight) continue;
        for (int32_t y = labels.top; y < labels.bottom; ++y)
            for (int32_t x = labels.left; x < labels.right; ++x)
                ASSERT_TRUE(!hud_ink(x, y) || shot.at(x, y) == 0xFFFFFF) << where << " not white at " << x << "," << y;
    }
}

// Runs the program full screen on a screen of that size, takes a screenshot
// after a few frames and ends it with ESC: the screenshot must show the whole
// picture, and the program end with 0. A failed test keeps the screenshot in
// the folder it runs in. Returns what the program said on stderr.
std::string full_screen_shows_the_whole_picture(int32_t width, int32_t height, const std::vector<std::string>& args,
                                                const std::string& soundDriver) {
    const VirtualScreen screen(width, height);
    if (screen.display.empty()) return ADD_FAILURE() << "no Xvfb could be started", "";
    ShowOnScreen show(screen, args, {"SDL_AUDIODRIVER=" + soundDriver});
    EXPECT_TRUE(show.wait_for_frames(3)) << "no frames presented";
    const Screenshot shot = take_screenshot(screen);
    EXPECT_TRUE(show.press_escape()) << "no window to send ESC to";
    const ProgramResult result = show.finish();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    expect_whole_picture(shot);
    const std::string path = std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png";
    if (testing::Test::HasFailure() && !shot.pixels.empty() &&
        write_png(path, shot.pixels.data(), shot.width, shot.height, shot.width, false, nullptr))
        ADD_FAILURE() << "the screenshot is kept as " << path;
    return result.err;
}

} // namespace

TEST_F(WindowTest, FullScreenOnA1920x1080ScreenShowsThePictureExactlyAndEscapeEndsIt) {
    full_screen_shows_the_whole_picture(1920, 1080, {}, "dummy");
}

TEST_F(WindowTest, FullScreenOnASmallerScreenShowsTheWholePictureLetterboxed) {
    full_screen_shows_the_whole_picture(1280, 1024, {}, "dummy");
}

// A display without a 1920 x 1080 mode cannot be switched to it: the program
// says so and scales instead. Its sound driver cannot start either, and the
// show still goes on.
TEST_F(WindowTest, SwitchModeWithoutThatModeSaysSoAndScalesTheWholePicture) {
    const std::string said = full_screen_shows_the_whole_picture(1280, 1024, {"--switch-mode"}, "none_such");
    EXPECT_NE(said.find("no 1920 x 1080 mode"), std::string::npos) << said;
}

// The close button of a window manager (here its message, WM_DELETE_WINDOW,
// sent as a window manager sends it) ends the show like ESC, with exit code 0.
TEST_F(WindowTest, ClosingTheWindowEndsTheShowWithExitCode0) {
    const VirtualScreen screen(1280, 1024);
    ASSERT_FALSE(screen.display.empty()) << "no Xvfb could be started";
    ShowOnScreen show(screen, {"--window"}, {"SDL_AUDIODRIVER=dummy"});
    ASSERT_TRUE(show.wait_for_frames(3)) << "no frames presented";
    ASSERT_TRUE(show.close_window()) << "no window to close";
    const ProgramResult result = show.finish();
    EXPECT_EQ(result.exitCode, 0) << result.err;
}

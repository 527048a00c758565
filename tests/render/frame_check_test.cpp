// Frame checks made to fail on purpose: the pictures they write must be in
// the folder the failure message names, readable as PNGs, with the pixels
// that were compared.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../support/frame_check.h"
#include "../support/read_png.h"
#include "fixtures.h"
#include "platform/platform.h"

namespace {

void draw_box_scene(double heading) {
    FixtureScene scene(8.5, 8.5, 0.5, heading, -540);
    Texture* const t = make_fixture_texture(0, 128, 128);
    add_shape(*scene.world, 9, 9, QuadPrism, box_geometry(9, 9, 0.2, 0.2, 0.8, 0.8, 0, 0.7, t, t, t), 0.7, 0);
    draw_scene(scene);
}

// The message names path, and the PNG there holds exactly pixels.
void expect_written(const testing::AssertionResult& check, const std::string& name,
                    const std::vector<uint32_t>& pixels) {
    const std::string path = (test_frames_folder() / (name + ".png")).string();
    EXPECT_NE(std::string(check.message()).find(path), std::string::npos) << check.message();
    std::vector<uint32_t> read;
    int32_t width = 0, height = 0;
    std::string error;
    ASSERT_TRUE(read_png(path, &read, &width, &height, &error)) << error;
    EXPECT_EQ(width, ScreenWidth);
    EXPECT_EQ(height, ScreenHeight);
    EXPECT_TRUE(read == pixels) << path << " does not hold the frame compared";
    std::remove(path.c_str());
}

TEST(FrameCheck, AFailingFrameLeavesItsPicturesWhereTheMessageSays) {
    draw_box_scene(0.3);
    const KeptFrame first = keep_frame("frame_check_first");

    const testing::AssertionResult byHash = frame_has_hash("frame_check_wrong_hash", "0123456789abcdef");
    ASSERT_FALSE(byHash);
    EXPECT_NE(std::string(byHash.message()).find("expected 0123456789abcdef"), std::string::npos)
        << byHash.message();
    expect_written(byHash, "frame_check_wrong_hash", first.pixels);

    // The same box seen from a slightly different heading.
    draw_box_scene(0.35);
    const KeptFrame second = keep_frame("frame_check_second");
    const testing::AssertionResult byPixels = frame_matches("frame_check_second", first);
    ASSERT_FALSE(byPixels);
    expect_written(byPixels, "frame_check_second", second.pixels);
    expect_written(byPixels, "frame_check_first", first.pixels);
}

}  // namespace

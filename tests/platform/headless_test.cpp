#include <gtest/gtest.h>

#include <filesystem>

#include "../support/run_program.h"
#include "platform/platform.h"

namespace {

const SoundImage Click{"Click", nullptr, 0};

class HeadlessTest : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(platform_allocate_frame_buffer(&error)) << error;
    }
    void TearDown() override { platform_close(); }

    void open(int32_t fps, std::vector<FrameRange> dump = {}, std::string outDir = {}) {
        HeadlessOptions options;
        options.fps = fps;
        options.dump = std::move(dump);
        options.outDir = std::move(outDir);
        std::string error;
        ASSERT_TRUE(platform_open_headless(options, &error)) << error;
    }
};

} // namespace

// The virtual clock starts at 1000 and truncates 1000 x frame / fps in 64
// bits; reopening starts it again. The real clock counts from the program's start.
TEST_F(HeadlessTest, VirtualAndRealClocks) {
    open(60);
    for (const int64_t value : {1000, 1016, 1033, 1050}) EXPECT_EQ(now_ms(), value);
    open(7);
    for (const int64_t value : {1000, 1142, 1285, 1428, 1571, 1714, 1857, 2000}) EXPECT_EQ(now_ms(), value);

    platform_close();
    const int64_t first = now_ms();
    EXPECT_GE(first, 1000);
    EXPECT_LT(first, 1000 + 600000);
    EXPECT_GE(now_ms(), first);
}

TEST_F(HeadlessTest, CuesBelongToTheFrameBeingPrepared) {
    open(60);
    play_sound(Click);
    service_messages();
    service_messages();
    play_sound(Click);
    play_sound(Click);
    const std::vector<SoundCue> cues = headless_take_cues();
    ASSERT_EQ(cues.size(), 3u);
    EXPECT_EQ((std::vector<int64_t>{cues[0].frame, cues[1].frame, cues[2].frame}), (std::vector<int64_t>{1, 3, 3}));
    EXPECT_EQ(cues[2].sound, &Click);
    EXPECT_TRUE(headless_take_cues().empty());
    EXPECT_EQ(presented_frame_count(), 2);
}

TEST_F(HeadlessTest, DumpsTheListedFramesAsFullSizePngs) {
    TempDir dir;
    open(60, {{2, 2}, {4, 5}}, dir.path.string());
    for (int frame = 1; frame <= 6; ++frame) {
        FrameBuffer[0] = 0x00010203u * uint32_t(frame);
        FrameBuffer[size_t(ScreenWidth) * ScreenHeight - 1] = 0x00ABCDEFu;
        EXPECT_FALSE(service_messages());
    }
    std::string error;
    EXPECT_FALSE(platform_failed(&error)) << error;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"frame_000002.png", "frame_000004.png", "frame_000005.png"}));

    std::vector<uint32_t> pixels;
    int32_t width = 0, height = 0;
    ASSERT_TRUE(read_png(dir / "frame_000004.png", &pixels, &width, &height, &error)) << error;
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(1920, 1080));
    EXPECT_EQ(pixels.front(), 0x0004080Cu) << "row 0 first, as presented in frame 4";
    EXPECT_EQ(pixels.back(), 0x00ABCDEFu);
}

TEST_F(HeadlessTest, AFailedDumpIsReportedNotSwallowed) {
    TempDir dir;
    open(60, {{1, 1}}, dir / "missing");
    service_messages();
    std::string error;
    EXPECT_TRUE(platform_failed(&error));
    EXPECT_NE(error.find("frame_000001.png"), std::string::npos) << error;
}

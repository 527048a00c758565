#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "../support/run_program.h"
#include "platform/platform.h"

namespace {

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// A minimap pixel is red or green blended half and half over the view.
bool minimap_colour(uint32_t p) {
    const uint32_t r = p >> 16 & 0xFF;
    const uint32_t g = p >> 8 & 0xFF;
    const uint32_t b = p & 0xFF;
    return b <= 127 && ((g >= 127 && r <= 127) || (r >= 127 && g <= 127));
}

} // namespace

TEST(HeadlessRun, DumpsTraceAndExitCode) {
    TempDir dir;
    const std::string trace = dir / "trace.txt";
    const ProgramResult result = run_program(
        QUORVALITE_BINARY, {"--headless", "--frames", "3", "--dump", "1-3", "--out", dir / "frames", "--trace", trace});
    ASSERT_EQ(result.exitCode, 0) << result.err;

    for (int frame = 1; frame <= 3; ++frame) {
        char name[32];
        std::snprintf(name, sizeof name, "frames/frame_%06d.png", frame);
        std::vector<uint32_t> pixels;
        int32_t width = 0;
        int32_t height = 0;
        std::string error;
        ASSERT_TRUE(read_png(dir / name, &pixels, &width, &height, &error)) << error;
        ASSERT_EQ(width, 1920);
        ASSERT_EQ(height, 1080);
        for (int32_t j = 0; j < 128; j += 5)
            for (int32_t i = 0; i < 128; i += 5)
                ASSERT_TRUE(minimap_colour(pixels[size_t(10 + j) * 1920 + size_t(1782 + i)])) << i << "," << j;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "frames"), {}), 3);

    const std::regex frameLine(
        "frame (\\d+) time (\\S+) step -?\\d+ substep -?\\d+ x \\S+ y \\S+ z \\S+ renderZ \\S+ heading \\S+"
        " fallSpeed \\S+ onGround -?\\d+ horizon -?\\d+");
    const std::regex soundLine("sound (\\d+) (KeyClick|FootstepA|FootstepB)");
    const double times[] = {1016, 1033, 1050};
    int64_t frames = 0;
    for (const std::string& line : lines_of(read_text_file(trace))) {
        std::smatch match;
        if (std::regex_match(line, match, soundLine)) {
            EXPECT_EQ(std::stoll(match[1]), frames + 1) << "a cue precedes its frame's line";
            continue;
        }
        ASSERT_TRUE(std::regex_match(line, match, frameLine)) << line;
        EXPECT_EQ(std::stoll(match[1]), frames + 1);
        EXPECT_EQ(std::stod(match[2]), times[frames]);
        ++frames;
    }
    EXPECT_EQ(frames, 3);
}

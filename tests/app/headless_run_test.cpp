#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "../support/read_png.h"
#include "frame/frame_loop.h"
#include "platform/platform.h"
#include "terminal.h"

namespace {

// A minimap pixel (R, G, B) is red or green blended half and half over the view.
bool minimap_colour(const uint8_t* p) {
    return p[2] <= 127 && ((p[1] >= 127 && p[0] <= 127) || (p[0] >= 127 && p[1] <= 127));
}

} // namespace

// A dump list ends the run after its last frame, off a terminal without a
// word: the frames listed as PNGs of the whole picture (the minimap drawn),
// and a line for every frame in the trace at its time on the virtual clock,
// each cue before its frame's line. The rate is given with a leading zero,
// which is decimal: 60 frames a second, not 48.
TEST(HeadlessRun, DumpsTheListedFramesTracesEachAndEndsAfterTheLast) {
    TempDir dir;
    const std::string trace = dir / "trace.txt";
    const ProgramResult result =
        run_program(QUORVALITE_BINARY,
                    {"--headless", "--fps", "060", "--dump", "4-5,2", "--out", dir / "frames", "--trace", trace});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    for (const int frame : {2, 4, 5}) {
        char name[32];
        std::snprintf(name, sizeof name, "frames/frame_%06d.png", frame);
        std::vector<uint8_t> rgba;
        int32_t width = 0, height = 0;
        std::string error;
        ASSERT_TRUE(read_png_rgba(dir / name, &rgba, &width, &height, &error)) << error;
        ASSERT_EQ(std::to_string(width) + "x" + std::to_string(height), "1920x1080");
        for (int32_t j = 0; j < 128; j += 5)
            for (int32_t i = 0; i < 128; i += 5)
                ASSERT_TRUE(minimap_colour(&rgba[(size_t(10 + j) * 1920 + size_t(1782 + i)) * 4])) << i << "," << j;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "frames"), {}), 3);

    const std::regex frameLine(
        "frame (\\d+) time (\\S+) step -?\\d+ substep -?\\d+ x \\S+ y \\S+ z \\S+ renderZ \\S+ heading \\S+"
        " fallSpeed \\S+ onGround -?\\d+ horizon -?\\d+");
    const std::regex soundLine("sound (\\d+) (KeyClick|FootstepA|FootstepB)");
    const double times[] = {1016, 1033, 1050, 1066, 1083};
    int64_t frames = 0;
    for (const std::string& line : lines_of(read_text_file(trace))) {
        std::smatch match;
        if (std::regex_match(line, match, soundLine)) {
            EXPECT_EQ(std::stoll(match[1]), frames + 1) << "a cue precedes its frame's line";
            continue;
        }
        ASSERT_TRUE(std::regex_match(line, match, frameLine)) << line;
        ASSERT_LT(frames, 5) << line;
        EXPECT_EQ(std::stoll(match[1]), frames + 1);
        EXPECT_EQ(std::stod(match[2]), times[frames]);
        ++frames;
    }
    EXPECT_EQ(frames, 5);
}

// At one frame a second the show is at its shortest in frames (about 630).
TEST(HeadlessRun, WithoutFramesOrDumpsEndsTenSecondsIntoTheFinaleWithProgressOnATerminal) {
    TempDir dir;
    const std::string trace = dir / "trace.txt";
    TerminalRun run = start_on_terminal(QUORVALITE_BINARY, {"--headless", "--fps", "1", "--trace", trace}, dir);
    const ProgramResult result = finish_on_terminal(run, 300000);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");

    // The frame number and show step of each frame line.
    std::vector<std::pair<int64_t, int32_t>> steps;
    int64_t finale = 0;
    for (const std::string& line : lines_of(read_text_file(trace))) {
        std::smatch match;
        if (std::regex_match(line, match, std::regex("frame (\\d+) time \\S+ step (-?\\d+) .*")))
            steps.emplace_back(std::stoll(match[1]), std::stoi(match[2]));
        if (finale == 0 && !steps.empty() && steps.back().second == FinaleStep) finale = steps.back().first;
    }
    ASSERT_FALSE(steps.empty());
    ASSERT_GT(finale, 0) << "the run ended before the finale";
    EXPECT_EQ(steps.back().first, finale + 10) << "10 s at one frame a second";
    EXPECT_EQ(int64_t(steps.size()), steps.back().first);

    // The line is rewritten in place and ends with the whole run done.
    const std::string total = std::to_string(steps.back().first);
    EXPECT_NE(result.err.find("\rframe " + total + " of " + total + " (100%)"), std::string::npos) << result.err;
    const std::regex partLine("\rframe (\\d+) of " + total + " \\(\\d+%\\)");
    EXPECT_TRUE(std::regex_search(result.err, partLine)) << result.err;
}

// The timedemo as a user runs it: one JSON object of figures on stdout, and
// a trace of every frame it timed.
#include <gtest/gtest.h>

#include <regex>

#include "../support/run_program.h"

TEST(Bench, JsonHasEveryFieldAndAgreesWithTheTrace) {
    TempDir dir;
    const ProgramResult r = run_program(
        QUORVALITE_BINARY, {"--bench", "--frames", "30", "--workers", "2", "--json", "--trace", dir / "trace.txt"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* key : {"cores", "wall_seconds", "frames_per_second", "median_ms", "p95_ms", "p99_ms", "render",
                            "frame_thread"})
        EXPECT_TRUE(std::regex_search(r.out, std::regex(std::string("\"") + key + "\": -?[0-9.]+"))) << key << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex("^\\{\"cpu\": \"[^\"]+\", .*\\}\n$"))) << r.out;
    EXPECT_NE(r.out.find("\"workers\": 2,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"frames\": 30,"), std::string::npos) << r.out;
    int traced = 0;
    for (const std::string& line : lines_of(read_text_file(dir / "trace.txt"))) traced += line.rfind("frame ", 0) == 0;
    EXPECT_EQ(traced, 30);
}

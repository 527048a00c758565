// The command line as the program takes it: refusals, decimal numbers, help.
#include <gtest/gtest.h>

#include <filesystem>

#include "../support/run_program.h"

TEST(CommandLine, BadInputGetsOneLineTheUsageAndExitCode2WithNothingWritten) {
    TempDir dir;
    { std::ofstream(dir / "file") << "x"; }
    const std::string out = dir / "out";
    const std::string trace = dir / "trace.txt";
    // Each bad command line and a word its message must name.
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--bogus"}, "--bogus"},
        {{"--headless", "--frames", "0", "--trace", trace}, "--frames"},
        {{"--headless", "--fps", "0", "--frames", "3"}, "--fps"},
        {{"--headless", "--frames", "3", "--dump", "1-4", "--out", out}, "frame 4"},
        {{"--headless", "--frames", "3", "--dump", "1", "--out", dir / "file/sub"}, "file/sub"},
        {{"--headless", "--frames", "3", "--trace", dir / "file/trace.txt", "--dump", "1", "--out", out}, "trace"},
        {{"--headless", "--dump", "1"}, "--out"},
        {{"--fps", "30"}, "--headless"},
        {{"--window", "--headless"}, "--window"},
        {{"--pose", "0.5,2,0,0,0", "--out", out}, "X"},
        {{"--pose", "3,3,0.5,0,0"}, "--out"},
        {{"--dump-textures", out, "--frames", "3"}, "--frames"},
        {{"--bench", "--workers", "9"}, "--workers"},
        {{"--capture", "x.mp4", "--fps", "1000"}, "240"},
        {{"--bench", "--capture", "x.mp4"}, "--capture"},
        // Numbers are decimal digits only and at most 10^12; the message names the value.
        {{"--headless", "--frames", "99999999999999999999", "--trace", trace}, "99999999999999999999"},
        {{"--headless", "--frames", "0x10", "--trace", trace}, "\"0x10\""},
        {{"--headless", "--frames", " 5", "--trace", trace}, "\" 5\""},
        {{"--headless", "--frames", "3", "--fps", "1e3", "--trace", trace}, "\"1e3\""},
        {{"--bench", "--frames", "2", "--workers", "+5", "--trace", trace}, "\"+5\""},
        {{"--capture", dir / "video.mp4", "--frames", "2", "--seconds", "0x5", "--trace", trace}, "\"0x5\""},
        // Two modes at once: the message names them, not an option one of them refuses.
        {{"--pose", "3,3,0.5,0,0", "--out", out, "--bench"}, "--pose and --bench"},
        {{"--dump-textures", out, "--pose", "3,3,0.5,0,0", "--out", out}, "--pose and --dump-textures"},
    };
    for (const auto& [args, named] : cases) {
        const ProgramResult result = run_program(QUORVALITE_BINARY, args);
        std::string shown;
        for (const std::string& a : args) shown += a + " ";
        EXPECT_EQ(result.exitCode, 2) << shown << result.err;
        const std::string firstLine = result.err.substr(0, result.err.find('\n'));
        EXPECT_EQ(firstLine.rfind("quorvalite: ", 0), 0u) << shown << result.err;
        EXPECT_NE(firstLine.find(named), std::string::npos) << shown << result.err;
        EXPECT_NE(result.err.find("\nusage: quorvalite"), std::string::npos) << shown << result.err;
        EXPECT_FALSE(std::filesystem::exists(out) && !std::filesystem::is_empty(out)) << shown;
        EXPECT_FALSE(std::filesystem::exists(trace)) << shown;
    }
}

TEST(CommandLine, HelpAndVersion) {
    const ProgramResult help = run_program(QUORVALITE_BINARY, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    // Every option, how a headless run ends, where progress goes, how numbers are written.
    for (const char* words : {"--window", "--switch-mode", "--headless", "--frames", "--fps", "--dump", "--out",
                              "--trace", "--pose", "--dump-textures", "--version", "10 s into the show's finale",
                              "progress line on stderr", "decimal digits only"})
        EXPECT_NE(help.out.find(words), std::string::npos) << words;
    const ProgramResult version = run_program(QUORVALITE_BINARY, {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("quorvalite ", 0), 0u) << version.out;
}

#include <gtest/gtest.h>

#include <regex>

#include "terminal.h"

// Progress goes to the terminal; stdout holds the figures alone, one JSON
// object on one line, and the trace every frame timed. Numbers with leading
// zeros are decimal: "012" frames are twelve, "08" workers eight.
TEST(BenchRun, JsonOnStdoutIsOneObjectWhileTheTerminalShowsProgress) {
    TempDir dir;
    const std::vector<std::string> args{"--bench", "--frames", "012", "--workers", "08", "--json", "--trace",
                                        dir / "trace.txt"};
    TerminalRun run = start_on_terminal(QUORVALITE_BINARY, args, dir);
    const ProgramResult result = finish_on_terminal(run, 120000);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(std::regex_match(result.out, std::regex("\\{\"cpu\": \"[^\"]+\", .*\\}\n"))) << result.out;
    for (const char* key : {"cores", "wall_seconds", "frames_per_second", "median_ms", "p95_ms", "p99_ms", "render",
                            "frame_thread"})
        EXPECT_TRUE(std::regex_search(result.out, std::regex(std::string("\"") + key + "\": -?[0-9.]+"))) << key;
    EXPECT_EQ(result.out.find('{', 1), result.out.find("{\"render\"")) << result.out;
    EXPECT_NE(result.out.find("\"workers\": 8, \"frames\": 12,"), std::string::npos) << result.out;
    EXPECT_EQ(frame_lines_in(read_text_file(dir / "trace.txt")), 12);
    EXPECT_NE(result.err.find("\rframe 12 of 12 (100%)"), std::string::npos) << result.err;
}

// A frame count far beyond any real run is no reason to fail: the timedemo
// keeps its statistics in a fixed space and simply runs.
TEST(BenchRun, AHugeFrameCountRunsInAFixedSpace) {
    TempDir dir;
    const std::string trace = dir / "trace.txt";
    TerminalRun run = start_on_terminal(
        QUORVALITE_BINARY, {"--bench", "--frames", "1000000000000", "--workers", "1", "--trace", trace}, dir);
    const std::string progress = " of 1000000000000 (0%)";
    const auto start = std::chrono::steady_clock::now();
    while (watch_terminal(run, 50) && std::chrono::steady_clock::now() - start < std::chrono::seconds(60) &&
           (frame_lines_in(read_text_file(trace)) < 3 || run.shown.find(progress) == std::string::npos))
        continue;
    const bool running = watch_terminal(run, 0);
    const std::string status = running ? read_text_file("/proc/" + std::to_string(run.pid) + "/status") : "";
    kill(run.pid, SIGKILL);
    const ProgramResult result = finish_on_terminal(run, 10000);
    ASSERT_TRUE(running) << "exit code " << result.exitCode << ": " << result.err;
    EXPECT_GE(frame_lines_in(read_text_file(trace)), 3);
    EXPECT_NE(result.err.find(progress), std::string::npos) << result.err;
#if !defined(__SANITIZE_ADDRESS__)
    // Far less than a slot per frame (8 TB): the program's whole address
    // space stays modest (the sanitizer's shadow memory would not).
    const size_t size = status.find("VmSize:");
    ASSERT_NE(size, std::string::npos) << status;
    EXPECT_LT(std::stoll(status.substr(size + 7)), 1024 * 1024) << "kB";
#endif
}

// With memory or threads short, what fails ends the program with one line
// and exit code 1, not an abort. Address space limits break the sanitizers'
// shadow memory, so sanitized builds leave this out.
TEST(BenchRun, FailuresThatArriveAsExceptionsEndWithOneLineAndExitCode1) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "address space limits do not work with the sanitizers";
#endif
    int caught = 0;
    for (int megabytes = 30; megabytes <= 150; megabytes += 10) {
        const ProgramResult result =
            run_program("prlimit", {"--as=" + std::to_string(megabytes * 1024 * 1024), QUORVALITE_BINARY,
                                    "--headless", "--frames", "1"});
        ASSERT_TRUE(result.exitCode == 0 || result.exitCode == 1) << megabytes << " MB: " << result.err;
        if (result.exitCode == 0) continue;
        EXPECT_EQ(result.err.rfind("quorvalite: ", 0), 0u) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
        if (result.err.find("out of memory") != std::string::npos ||
            result.err.find("unexpected failure") != std::string::npos)
            ++caught;
    }
    EXPECT_GT(caught, 0) << "no limit made an exception arrive";
}

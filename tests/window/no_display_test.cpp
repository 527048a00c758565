// Without a display that can be opened there is no window to show: the
// program must fail and say how to render headless, not run unseen. SDL is
// left to choose its video driver as it would for a user.
#include <gtest/gtest.h>

#include "../support/run_program.h"

TEST(NoDisplay, FailsSayingWhatFailedAndHowToRunHeadlessWithoutRunningAFrame) {
    const std::vector<std::vector<std::string>> displays{{"-u", "DISPLAY"}, {"DISPLAY=:9999"}};
    for (const std::vector<std::string>& display : displays) {
        TempDir dir;
        std::vector<std::string> args{"-u", "WAYLAND_DISPLAY", "-u", "SDL_VIDEODRIVER"};
        args.insert(args.end(), display.begin(), display.end());
        args.insert(args.end(),
                    {"ASAN_OPTIONS=detect_leaks=0", QUORVALITE_BINARY, "--frames", "2", "--trace", dir / "trace.txt"});
        const ProgramResult result = run_program("env", args);
        SCOPED_TRACE(display.back());
        EXPECT_EQ(result.exitCode, 1) << result.err;
        EXPECT_NE(result.err.find("cannot open the window"), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("quorvalite --headless"), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "trace.txt")) << "a refused window left a trace behind";
    }
}

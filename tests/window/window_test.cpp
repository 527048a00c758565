#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <thread>

#include "../support/run_program.h"

namespace {

bool on_path(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');)
        if (access((folder + "/" + program).c_str(), X_OK) == 0) return true;
    return false;
}

int count_frame_lines(const std::string& path) {
    std::stringstream text(read_text_file(path));
    int frames = 0;
    for (std::string line; std::getline(text, line);) frames += line.rfind("frame ", 0) == 0;
    return frames;
}

template <typename Condition>
bool wait_until(Condition condition, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

// One virtual X server for the suite, on the first free display number.
class WindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!on_path("Xvfb") || !on_path("xdotool")) return;
        logs = new TempDir;
        for (int number = 70 + getpid() % 50; number < 200 && display.empty(); ++number) {
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            if (access(socket.c_str(), F_OK) == 0) continue;
            const std::string name = ":" + std::to_string(number);
            server = spawn_program("Xvfb", {name, "-screen", "0", "1920x1080x24", "-nolisten", "tcp"}, *logs);
            const bool up = wait_until(
                [&] { return access(socket.c_str(), F_OK) == 0 || waitpid(server.pid, nullptr, WNOHANG) != 0; }, 10000);
            // Another server may have taken the number at the same moment: ours
            // then exits at once, so look again a little later.
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            if (up && waitpid(server.pid, nullptr, WNOHANG) == 0) display = name;
        }
    }
    static void TearDownTestSuite() {
        if (server.pid > 0) {
            kill(server.pid, SIGTERM);
            waitpid(server.pid, nullptr, 0);
        }
        delete logs;
    }
    void SetUp() override {
        if (!display.empty()) return;
        if (std::getenv("QUORVALITE_REQUIRE_WINDOW_TEST")) FAIL() << "no Xvfb could be started (needs Xvfb and xdotool)";
        GTEST_SKIP() << "needs Xvfb and xdotool";
    }

    std::vector<std::string> environment() const {
        // SDL and the X libraries keep caches to the end; leaks are checked elsewhere.
        return {"DISPLAY=" + display, "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0"};
    }

    // Starts the program, waits for a presented frame, sends keys, and
    // returns how the program ended.
    ProgramResult run_and_send(const std::vector<std::string>& args, const std::string& keys) {
        TempDir dir;
        std::vector<std::string> all = args;
        all.insert(all.end(), {"--trace", dir / "trace.txt"});
        const Spawned program = spawn_program(QUORVALITE_BINARY, all, dir, environment());
        const bool presented = wait_until([&] { return count_frame_lines(dir / "trace.txt") >= 1; }, 60000);
        EXPECT_TRUE(presented) << "no frame presented";
        const ProgramResult search =
            run_program("xdotool", {"search", "--sync", "--name", "^Quorvalite$"}, environment());
        const std::string window = search.out.substr(0, search.out.find('\n'));
        EXPECT_FALSE(window.empty()) << "no window found: " << search.err;
        if (!window.empty()) run_program("xdotool", {"key", "--window", window, keys}, environment());
        return wait_program(program, 30000);
    }

    static inline TempDir* logs = nullptr;
    static inline Spawned server;
    static inline std::string display;
};

} // namespace

TEST_F(WindowTest, EscapeEndsTheFullScreenShowWithExitCode0) {
    const ProgramResult result = run_and_send({}, "Escape");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("going on silently"), std::string::npos) << "one notice for the missing sound device";
}

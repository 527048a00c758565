// A virtual X server of a given size with no window manager, the program run
// on it, and what a person there would see and do: a screenshot, a key, the
// window manager's close button.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "../support/run_program.h"

// Last: its macros (None, Status, True, ...) would clash with names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

// Skips the test where Xvfb or xdotool is missing, unless
// QUORVALITE_REQUIRE_WINDOW_TEST asks for a failure instead.
struct WindowTest : testing::Test {
    void SetUp() override {
        if (run_program("sh", {"-c", "command -v Xvfb && command -v xdotool"}).exitCode == 0) return;
        if (std::getenv("QUORVALITE_REQUIRE_WINDOW_TEST")) FAIL() << "the window tests need Xvfb and xdotool";
        GTEST_SKIP() << "needs Xvfb and xdotool";
    }
};

// Xvfb on the first free display of its range, QUORVALITE_FIRST_DISPLAY (300
// when unset) and the 49 after it, so that test runs sharing the machine
// keep apart; stopped on destruction. No display when none could be started.
struct VirtualScreen {
    int32_t width, height;
    std::string display;
    TempDir logs;
    Spawned server;

    VirtualScreen(int32_t screenWidth, int32_t screenHeight) : width(screenWidth), height(screenHeight) {
        const char* const first = std::getenv("QUORVALITE_FIRST_DISPLAY");
        const int firstDisplay = first && *first ? std::atoi(first) : 300;
        const std::string size = std::to_string(width) + "x" + std::to_string(height) + "x24";
        for (int tried = 0; tried < 50 && display.empty(); ++tried) {
            const std::string number = std::to_string(firstDisplay + (getpid() + tried) % 50);
            const std::string socket = "/tmp/.X11-unix/X" + number;
            if (access(socket.c_str(), F_OK) == 0 || access(("/tmp/.X" + number + "-lock").c_str(), F_OK) == 0)
                continue;
            server = spawn_program("Xvfb", {":" + number, "-screen", "0", size, "-nolisten", "tcp"}, logs);
            const bool listening =
                wait_until([&] { return access(socket.c_str(), F_OK) == 0 || !alive(server.pid); }, 10000);
            // Another server may have taken the number at the same moment: ours
            // then exits at once, so look again a little later.
            usleep(300000);
            if (listening && alive(server.pid)) display = ":" + number;
            else end_child(server.pid, SIGTERM);
        }
    }
    ~VirtualScreen() { end_child(server.pid, SIGTERM); }
    VirtualScreen(const VirtualScreen&) = delete;
};

// The whole screen as 0x00RRGGBB pixels, row-major; none when it could not be read.
struct Screenshot {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int32_t x, int32_t y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

inline Screenshot take_screenshot(const VirtualScreen& screen) {
    Screenshot shot;
    Display* const display = XOpenDisplay(screen.display.c_str());
    if (!display) return shot;
    if (XImage* const image = XGetImage(display, DefaultRootWindow(display), 0, 0, unsigned(screen.width),
                                        unsigned(screen.height), AllPlanes, ZPixmap)) {
        shot = {screen.width, screen.height, {}};
        for (int32_t y = 0; y < shot.height; ++y)
            for (int32_t x = 0; x < shot.width; ++x) shot.pixels.push_back(uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF);
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return shot;
}

// The program running on a screen with args, the extra environment and a
// trace in its own folder: the program built here, or the command in
// QUORVALITE_WINDOW_PROGRAM (words separated by spaces, for example "wine
// /path/quorvalite.exe"), so that the same tests hold another build of the
// program to the same behaviour. Killed on destruction unless finished.
struct ShowOnScreen {
    const VirtualScreen& screen;
    TempDir dir;
    Spawned program;
    bool finished = false;

    ShowOnScreen(const VirtualScreen& on, const std::vector<std::string>& args,
                 const std::vector<std::string>& environment)
        : screen(on) {
        const char* const command = std::getenv("QUORVALITE_WINDOW_PROGRAM");
        std::istringstream words(command && *command ? command : QUORVALITE_BINARY);
        std::vector<std::string> all;
        for (std::string word; words >> word;) all.push_back(word);
        all.insert(all.end(), args.begin(), args.end());
        all.insert(all.end(), {"--trace", dir / "trace.txt"});
        // SDL and the X libraries keep caches to the end; leaks are checked elsewhere.
        std::vector<std::string> variables{"DISPLAY=" + screen.display, "WAYLAND_DISPLAY=",
                                           "ASAN_OPTIONS=detect_leaks=0"};
        variables.insert(variables.end(), environment.begin(), environment.end());
        program = spawn_program(all.front(), {all.begin() + 1, all.end()}, dir, variables);
    }
    ~ShowOnScreen() {
        if (!finished) end_child(program.pid, SIGKILL);
    }

    bool running() const { return !finished && alive(program.pid); }
    std::string trace() const { return read_text_file(dir / "trace.txt"); }

    // Waits up to a minute until the trace lists count frames; false when it
    // does not or the program has ended.
    bool wait_for_frames(int count) const {
        const auto enough = [&] { return frame_lines_in(trace()) >= count; };
        return wait_until([&] { return enough() || !running(); }, 60000) && enough();
    }

    ProgramResult xdotool(std::vector<std::string> args) const {
        args.insert(args.begin(), {"search", "--name", "^Quorvalite$"});
        return run_program("xdotool", args, {"DISPLAY=" + screen.display});
    }

    // Sends ESC to the program's window; true when it was sent.
    bool press_escape() const { return xdotool({"key", "--window", "%1", "Escape"}).exitCode == 0; }

    // Asks the window to close as a window manager's close button does (a
    // WM_DELETE_WINDOW message); true when it was sent.
    bool close_window() const {
        const std::string id = xdotool({}).out;
        Display* const display = id.empty() ? nullptr : XOpenDisplay(screen.display.c_str());
        if (!display) return false;
        XEvent event{};
        event.xclient = {ClientMessage, 0, False, display, std::stoul(id), XInternAtom(display, "WM_PROTOCOLS", False),
                         32, {}};
        event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
        const bool sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event) != 0;
        XCloseDisplay(display);
        return sent;
    }

    // Waits half a minute for the program to end, then kills it.
    ProgramResult finish() {
        finished = true;
        return wait_program(program, 30000);
    }
};

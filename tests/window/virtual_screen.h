// A virtual X server of a given size with no window manager, the program run
// on it, and what a person would see: screenshots, keys sent to the window.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "../support/run_program.h"

// Xvfb on the first free display number of its range; stopped on destruction.
class VirtualScreen {
public:
    VirtualScreen(int32_t width, int32_t height);
    ~VirtualScreen();
    VirtualScreen(const VirtualScreen&) = delete;
    VirtualScreen& operator=(const VirtualScreen&) = delete;

    bool up() const { return !display_.empty(); }
    const std::string& display() const { return display_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    int32_t width_;
    int32_t height_;
    TempDir logs_;
    Spawned server_;
    std::string display_;
};

// The whole screen as 0x00RRGGBB pixels, row-major.
struct Screenshot {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int32_t x, int32_t y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Grabs the screen with ffmpeg and reads the PNG back; false when either fails.
bool take_screenshot(const VirtualScreen& screen, const TempDir& dir, Screenshot* shot, std::string* error);

// The program running on a screen with its trace in dir: the program built
// here, or the command in QUORVALITE_WINDOW_PROGRAM (words separated by
// spaces, for example "wine /path/quorvalite.exe"), so that the same tests
// hold another build of the program to the same behaviour.
class ShowOnScreen {
public:
    // Starts the program with args and a trace; extraEnvironment adds to the
    // screen's DISPLAY.
    ShowOnScreen(const VirtualScreen& screen, const std::vector<std::string>& args,
                 const std::vector<std::string>& extraEnvironment);
    ~ShowOnScreen();

    // Waits until the trace lists count frames; false after timeoutMs or
    // when the program has ended.
    bool wait_for_frames(int count, int timeoutMs) const;
    bool running() const;
    // Just before the program was started.
    std::chrono::steady_clock::time_point started() const { return started_; }
    // The trace as written so far.
    std::string trace() const;
    // Sends keys (xdotool's names) to the window; false when no window is found.
    bool send_keys(const std::string& keys, std::string* error) const;
    // Asks the window to close as a window manager's close button does (a
    // WM_DELETE_WINDOW message); false when no window is found.
    bool close_window(std::string* error) const;
    // Waits for the program to end (killing it after timeoutMs).
    ProgramResult finish(int timeoutMs);
    const TempDir& dir() const { return dir_; }

private:
    std::string window_id(std::string* error) const;

    const VirtualScreen& screen_;
    TempDir dir_;
    std::chrono::steady_clock::time_point started_;
    Spawned program_;
    bool finished_ = false;
};

// Skips the test where Xvfb, xdotool or ffmpeg is missing, unless
// QUORVALITE_REQUIRE_WINDOW_TEST asks for a failure instead.
class WindowTest : public testing::Test {
protected:
    void SetUp() override;
};

// Polls condition every 50 ms until it holds or timeoutMs has passed.
template <typename Condition> bool wait_until(Condition condition, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (condition()) return true;
        usleep(50000);
    }
    return condition();
}

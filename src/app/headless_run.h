// A headless run of the show: no window and no sound, the virtual clock. It
// ends by itself and, on a terminal, shows how far it has come.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// How far into its finale a headless run without a frame count or dumps
// plays the show: as far as a capture records by default.
constexpr int64_t HeadlessFinaleSeconds = 10;

// Frame numbers as an inclusive range.
struct FrameRange {
    int64_t first;
    int64_t last;
};

struct HeadlessRequest {
    int32_t fps = 60;              // the virtual clock's rate
    std::vector<FrameRange> dump;  // frames to write as outDir/frame_NNNNNN.png
    std::string outDir;
    // More than 0: exactly this many frames. 0: up to the last frame to dump,
    // or without dumps until HeadlessFinaleSeconds into the finale.
    int64_t frames = 0;
    std::FILE* trace = nullptr;
};

// Opens and closes the headless backend and returns the process exit code.
// A progress line is drawn on stderr when that is a terminal; otherwise the
// run prints nothing but its failures.
int run_headless(const HeadlessRequest& request);

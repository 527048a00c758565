// The timedemo: the show played headless with the virtual clock at 60 frames
// a second as fast as the machine goes, timed frame by frame and phase by
// phase, with no output files.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr int32_t TimedemoFps = 60;

struct TimedemoRequest {
    int64_t frames = 0; // 0: up to and with the frame in which the finale begins
    int32_t workers = 8;
    bool json = false;          // one JSON object instead of text lines
    std::FILE* trace = nullptr; // optional trace of the frames run
};

// Opens and closes the headless backend; prints the figures on stdout and
// returns the process exit code. While it runs, a progress line is drawn on
// stderr when that is a terminal; otherwise nothing but the figures is
// printed.
int run_timedemo(const TimedemoRequest& request);

// The main loop: builds content, world and workers, then runs frames.
#pragma once

#include <cstdint>
#include <cstdio>

struct FrameLoopOptions {
    int64_t maxFrames = 0;      // 0: run until ESC or quit
    std::FILE* trace = nullptr; // one line per frame and per sound cue
    int32_t workers = 8;
};

// Returns the process exit code.
int run_frames(const FrameLoopOptions& options);

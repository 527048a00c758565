// The show in a window (or full screen): frames back to back on the real
// clock until ESC, the window's close request or a given number of frames.
#pragma once

#include <cstdint>
#include <cstdio>

// On the window backend, which the caller has opened; returns the exit code.
int run_window(int64_t frames, std::FILE* trace);

// Progress of long work: on a terminal one line rewritten in place (frames
// done of the total, frames a second, time left); otherwise a few plain lines.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

struct Progress {
    std::FILE* out = stdout;
    bool terminal = false;
    int64_t total = 0;
    int64_t nextPlainReport = 0;  // next frame count at which a plain line is due
    std::chrono::steady_clock::time_point start;
    std::chrono::steady_clock::time_point lastDraw;
};

Progress start_progress(std::FILE* out, bool terminal, int64_t total);
void report_progress(Progress& progress, int64_t done);
// Ends the line on a terminal; prints the closing summary.
void finish_progress(Progress& progress, int64_t done);

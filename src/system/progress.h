// Progress of long work: on a terminal one line rewritten in place (frames
// done of the total, frames a second, time left); otherwise a few plain
// lines, or none at all for progress that is shown only on a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

struct Progress {
    std::FILE* out = stdout;
    bool terminal = false;
    bool plainLines = true; // false: nothing at all is printed off a terminal
    int64_t total = 0;
    int64_t nextPlainReport = 0; // next frame count at which a plain line is due
    bool lineOpen = false;       // a line drawn on the terminal is not ended yet
    std::chrono::steady_clock::time_point start;
    std::chrono::steady_clock::time_point lastDraw;
};

Progress start_progress(std::FILE* out, bool terminal, int64_t total);
// Progress that is drawn when out is a terminal and says nothing otherwise.
Progress start_terminal_progress(std::FILE* out, bool terminal, int64_t total);
void report_progress(Progress& progress, int64_t done);
// Ends the line on a terminal; prints the closing summary.
void finish_progress(Progress& progress, int64_t done);
// Ends the line drawn on a terminal, so that a message printed next starts
// on a line of its own.
void end_progress_line(Progress& progress);

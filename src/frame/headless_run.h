// A headless run of the show: no window and no sound, a virtual clock. It
// ends by itself and, on a terminal, shows how far it has come.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/platform.h"

// How far into its finale a headless run without a frame count or dumps
// plays the show: as far as a capture records by default.
constexpr int64_t HeadlessFinaleSeconds = 10;

struct HeadlessRequest {
    HeadlessOptions options; // the clock's rate, the frames to dump and their folder
    // More than 0: exactly this many frames. 0: up to the last frame to dump,
    // or without dumps until HeadlessFinaleSeconds into the finale.
    int64_t frames = 0;
    std::FILE* trace = nullptr;
};

// Opens and closes the headless backend and returns the process exit code.
// A progress line is drawn on stderr when that is a terminal; otherwise the
// run prints nothing but its failures.
int run_headless(const HeadlessRequest& request);

// The headless backend: no window and no sound device. Its clock is virtual:
// read number k (0 for the start-up read, j for the read in frame j) returns
// 1000 + k x 1000 / fps, so every run with the same settings is the same.
// Presented frames named in the dump list are written as PNG files.
#include <cinttypes>
#include <cstdio>

#include "platform/backend.h"

namespace {

HeadlessOptions Options;
int64_t ClockReads = 0;
bool Failed = false;
std::string FailureMessage;

} // namespace

bool frame_in_ranges(const std::vector<FrameRange>& ranges, int64_t frame) {
    for (const FrameRange& range : ranges)
        if (frame >= range.first && frame <= range.last) return true;
    return false;
}

bool headless_open(const HeadlessOptions& options, std::string* error) {
    if (options.fps < 1) {
        if (error) *error = "the headless clock needs a rate of at least 1 frame a second";
        return false;
    }
    Options = options;
    ClockReads = 0;
    Failed = false;
    FailureMessage.clear();
    return true;
}

void headless_close() {
    Options = HeadlessOptions{};
    ClockReads = 0;
}

int64_t headless_now_ms() {
    const int64_t value = 1000 + (ClockReads * 1000) / Options.fps;
    ++ClockReads;
    return value;
}

void headless_present(int64_t frame) {
    if (Failed || !frame_in_ranges(Options.dump, frame)) return;
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06" PRId64 ".png", frame);
    std::string error;
    if (!write_png(Options.outDir + "/" + name, FrameBuffer, ScreenWidth, ScreenHeight, ScreenWidth, false, &error)) {
        Failed = true;
        FailureMessage = error;
    }
}

bool headless_failed(std::string* error) {
    if (Failed && error) *error = FailureMessage;
    return Failed;
}

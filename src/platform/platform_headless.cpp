// The headless backend: no window and no sound device. Its clock is virtual:
// 1000 + j x 1000 / fps in frame j, 1000 before the first frame, however
// often it is read, so every run with the same settings is the same.
#include "platform/backend.h"

namespace {

int32_t Fps = 60;
int64_t Frame = 0;

} // namespace

bool headless_open(int32_t fps, std::string* error) {
    if (fps < 1) {
        if (error) *error = "the headless clock needs a rate of at least 1 frame a second";
        return false;
    }
    Fps = fps;
    Frame = 0;
    return true;
}

void headless_close() { Frame = 0; }

void headless_set_frame(int64_t frame) { Frame = frame; }

int64_t headless_now_ms() { return 1000 + (Frame * 1000) / Fps; }

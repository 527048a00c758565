// The shared platform state and the dispatch to the selected backend.
#include <chrono>
#include <cstdlib>

#include "platform/backend.h"
#include "platform/platform.h"

uint32_t* FrameBuffer = nullptr;
uint8_t KeyState[256] = {};

namespace {

enum class Backend { None, Sdl, Headless };

Backend ActiveBackend = Backend::None;
int64_t PresentedFrames = 0;
std::vector<SoundCue> PendingCues;

// Taken during static initialisation, that is at program start, so the real
// clock counts from there and its low 32 bits do not wrap in a realistic run.
const std::chrono::steady_clock::time_point ProgramStart = std::chrono::steady_clock::now();

} // namespace

bool platform_allocate_frame_buffer(std::string* error) {
    if (FrameBuffer) return true;
    const size_t pixels = size_t(ScreenWidth) * size_t(ScreenHeight);
    FrameBuffer = static_cast<uint32_t*>(std::calloc(pixels, sizeof(uint32_t)));
    if (!FrameBuffer && error)
        *error = "cannot allocate the frame buffer (" + std::to_string(pixels * sizeof(uint32_t)) + " bytes)";
    return FrameBuffer != nullptr;
}

bool platform_open_window(const WindowOptions& options, std::string* error) {
    platform_close();
    if (!sdl_open(options, error)) return false;
    ActiveBackend = Backend::Sdl;
    return true;
}

bool platform_open_headless(const HeadlessOptions& options, std::string* error) {
    platform_close();
    if (!headless_open(options, error)) return false;
    ActiveBackend = Backend::Headless;
    return true;
}

void platform_close() {
    if (ActiveBackend == Backend::Sdl) sdl_close();
    if (ActiveBackend == Backend::Headless) headless_close();
    ActiveBackend = Backend::None;
    PresentedFrames = 0;
    PendingCues.clear();
    for (uint8_t& key : KeyState) key = 0;
}

void present_frame() {
    ++PresentedFrames;
    if (ActiveBackend == Backend::Sdl) sdl_present();
    if (ActiveBackend == Backend::Headless) headless_present(PresentedFrames);
}

bool service_messages() {
    const bool quit = ActiveBackend == Backend::Sdl && sdl_service_one_event();
    present_frame();
    return quit;
}

void place_cursor() {
    if (ActiveBackend == Backend::Sdl) sdl_place_cursor();
}

int64_t now_ms() {
    if (ActiveBackend == Backend::Headless) return headless_now_ms();
    const auto since = std::chrono::steady_clock::now() - ProgramStart;
    return 1000 + std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
}

void play_sound(const SoundImage& sound) {
    // The cue belongs to the frame being prepared: the one presented next.
    PendingCues.push_back(SoundCue{PresentedFrames + 1, &sound});
    if (ActiveBackend == Backend::Sdl) sdl_play_sound(sound);
}

bool platform_failed(std::string* error) {
    return ActiveBackend == Backend::Headless && headless_failed(error);
}

std::vector<SoundCue> headless_take_cues() {
    std::vector<SoundCue> cues;
    cues.swap(PendingCues);
    return cues;
}

int64_t presented_frame_count() { return PresentedFrames; }

// The shared platform state and the dispatch to the backend that is open.
#include <cstdint>

#include "platform/backend.h"
#include "platform/platform.h"

uint32_t* FrameBuffer = nullptr;
uint8_t KeyState[256] = {};

namespace {

enum class Backend { None, Window, Headless };

Backend ActiveBackend = Backend::None;

} // namespace

bool platform_allocate_frame_buffer(std::string* error) {
    if (FrameBuffer) return true;
    // Every row (7680 bytes) starts on a cache line, so the renderer's tiles
    // write whole lines. The buffer lives as long as the program.
    const size_t bytes = size_t(ScreenWidth) * size_t(ScreenHeight) * sizeof(uint32_t);
    FrameBuffer = static_cast<uint32_t*>(allocate_frame_block(bytes));
    if (!FrameBuffer && error) *error = "cannot allocate the frame buffer (" + std::to_string(bytes) + " bytes)";
    return FrameBuffer != nullptr;
}

bool platform_open_window(const WindowOptions& options, std::string* error) {
    platform_close();
    if (!window_open(options, error)) return false;
    ActiveBackend = Backend::Window;
    return true;
}

bool platform_open_headless(int32_t fps, std::string* error) {
    platform_close();
    if (!headless_open(fps, error)) return false;
    ActiveBackend = Backend::Headless;
    return true;
}

void platform_close() {
    if (ActiveBackend == Backend::Window) window_close();
    if (ActiveBackend == Backend::Headless) headless_close();
    ActiveBackend = Backend::None;
    for (uint8_t& key : KeyState) key = 0;
}

void present_frame() {
    if (ActiveBackend == Backend::Window) window_present();
}

bool service_messages() {
    const bool quit = ActiveBackend == Backend::Window && window_service_one_event();
    present_frame();
    return quit;
}

void place_cursor() {
    if (ActiveBackend == Backend::Window) window_place_cursor();
}

int64_t now_ms() { return ActiveBackend == Backend::Headless ? headless_now_ms() : window_now_ms(); }

void set_virtual_frame(int64_t frame) {
    if (ActiveBackend == Backend::Headless) headless_set_frame(frame);
}

void play_sound(const SoundImage& sound) {
    if (ActiveBackend == Backend::Window) window_play_sound(sound);
}


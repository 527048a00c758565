// Placeholder backend until the real backends land: replaced by platform.cpp,
// platform_sdl.cpp, platform_headless.cpp and platform_threads.cpp.
#include "platform/platform.h"

#include <cstdlib>
#include <semaphore>
#include <thread>

uint32_t* FrameBuffer = nullptr;
uint8_t KeyState[256] = {};

static int64_t clock_reads = 0;
static int64_t presented = 0;

bool platform_allocate_frame_buffer(std::string* error) {
    FrameBuffer = static_cast<uint32_t*>(std::calloc(size_t(ScreenWidth) * size_t(ScreenHeight), sizeof(uint32_t)));
    if (!FrameBuffer && error) *error = "cannot allocate the frame buffer";
    return FrameBuffer != nullptr;
}
bool platform_open_window(const WindowOptions&, std::string* error) {
    if (error) *error = "no window backend yet";
    return false;
}
bool platform_open_headless(const HeadlessOptions&, std::string*) { return true; }
void platform_close() {}
void present_frame() { ++presented; }
bool service_messages() {
    present_frame();
    return false;
}
void place_cursor() {}
int64_t now_ms() { return 1000 + (clock_reads++ * 1000) / 60; }
void play_sound(const SoundImage&) {}
bool platform_failed(std::string*) { return false; }
std::vector<SoundCue> headless_take_cues() { return {}; }
int64_t presented_frame_count() { return presented; }

struct PlatformSemaphore {
    std::binary_semaphore semaphore{0};
};
PlatformSemaphore* create_semaphore() { return new PlatformSemaphore; }
void release_semaphore(PlatformSemaphore* s) { s->semaphore.release(); }
void wait_semaphore(PlatformSemaphore* s) { s->semaphore.acquire(); }
void destroy_semaphore(PlatformSemaphore* s) { delete s; }

struct PlatformThread {
    std::thread thread;
};
PlatformThread* start_thread(void (*entry)(void*), void* argument) {
    return new PlatformThread{std::thread(entry, argument)};
}
void join_thread(PlatformThread* t) {
    t->thread.join();
    delete t;
}


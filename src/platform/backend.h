// The backends behind platform.h. platform.cpp owns the shared state (frame
// buffer, keys) and forwards each operation to the backend that is open; the
// backends implement only what differs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

// The window backend of this build (platform_sdl.cpp): a window, its
// presentation, events, the cursor, a sound device and the real clock.
bool window_open(const WindowOptions& options, std::string* error);
void window_close();
void window_present();
// Handles at most one pending event; true when it was the quit request.
bool window_service_one_event();
void window_place_cursor();
void window_play_sound(const SoundImage& sound);
// Milliseconds since an origin 1000 ms before the program started.
int64_t window_now_ms();

// A zero-filled block of `bytes` at a 64-byte boundary, on large pages
// where the system gives them (platform_memory.cpp and
// platform_memory_win32.cpp); null when it cannot be had.
void* allocate_frame_block(size_t bytes);

// No window and no sound; a virtual clock (platform_headless.cpp).
bool headless_open(int32_t fps, std::string* error);
void headless_close();
void headless_set_frame(int64_t frame);
int64_t headless_now_ms();

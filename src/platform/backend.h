// The backends behind platform.h. platform.cpp owns the shared state (frame
// buffer, keys, cues, presented count) and forwards each operation to the
// backend selected at start; the backends implement only what differs.
#pragma once

#include <string>

#include "platform/platform.h"

// The SDL2 window, renderer and audio device (platform_sdl.cpp).
bool sdl_open(const WindowOptions& options, std::string* error);
void sdl_close();
void sdl_present();
bool sdl_service_one_event();
void sdl_place_cursor();
void sdl_play_sound(const SoundImage& sound);

// No window, a virtual clock and PNG dumps (platform_headless.cpp).
bool headless_open(const HeadlessOptions& options, std::string* error);
void headless_close();
// Called after the presented count has been advanced to frame.
void headless_present(int64_t frame);
int64_t headless_now_ms();
bool headless_failed(std::string* error);

// Whether frame is one of the ranges (sorted or not).
bool frame_in_ranges(const std::vector<FrameRange>& ranges, int64_t frame);

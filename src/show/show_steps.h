// The pieces the script is built from, shared by the show's files.
#pragma once

#include <cstdint>

#include "content/pi.h"
#include "show/show.h"

// The terminal screen is the terminal screen texture's shade-2 variant, a
// 256 x 256 image.
constexpr int32_t ScreenShade = 2;
constexpr int32_t ScreenSize = 256;

constexpr double TurnWindow = 0.05;

// Zero seconds on the step clock, which now starts at nowMs.
void restart_clock(ShowState& show, double nowMs);

// Turns twice by step (right: the heading grows); true when the heading after
// the second turn lies within TurnWindow of target.
bool turn_right_towards(Camera& camera, double target, double step);
bool turn_left_towards(Camera& camera, double target, double step);

// Rows the horizon moves in dt seconds at rate rows a second: trunc(rate x dt)
// but at least 1 (and never more than a screen's worth of rows times a hundred,
// so a stalled clock cannot overflow the horizon offset).
int32_t horizon_rows(double rate, double dt);

// The pixels of the terminal screen (made on the first request), or null
// when the terminal screen texture has no 256 x 256 picture to draw into
// (content not generated).
uint32_t* terminal_screen();

// Steps 25, 26 and 27: the DIR scene, the tunnel, the ABOUT scene, each
// drawing on screen (null: nothing is drawn).
void run_dir_scene(ShowState& show, uint32_t* screen, double nowMs, SoundCues& cues);
void run_tunnel_step(ShowState& show, Camera& camera, uint32_t* screen, double nowMs, SoundCues& cues);
void run_about_scene(ShowState& show, uint32_t* screen, double nowMs, SoundCues& cues);

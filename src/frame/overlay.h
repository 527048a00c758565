// What the frame thread lays over the 3-D view: the minimap of visited cells
// and the heads-up display with the frame rate and the camera position; and
// the small pieces of per-frame arithmetic that go with them.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct Camera;
struct WorldGrid;

// 128 x 128 pixels, four a cell, ending 10 pixels from the right edge.
constexpr int32_t MinimapSize = 128;
constexpr int32_t MinimapLeft = ScreenWidth - 138;
constexpr int32_t MinimapTop = 10;
constexpr uint32_t MinimapVisited = 0xFF0000;
constexpr uint32_t MinimapUnvisited = 0x00FF00;

// Blends red (visited cells) or green (all others) half and half into frame
// (ScreenWidth x ScreenHeight); world X runs left to right, world Y top to
// bottom.
void draw_minimap(uint32_t* frame, const WorldGrid& world);

// The six HUD lines at scale 2, into frame.
void draw_hud(uint32_t* frame, int32_t shownRate, const Camera& camera);

// The running mean of the per-frame rates that the HUD shows.
struct RateDisplay {
    int32_t frameCount = 1;
    double rateSum = 0;
};

// Adds a frame of dt seconds and returns the rate to show. A frame without a
// measurable duration (dt of 0, two equal clock readings) is left out of the
// mean instead of making it infinite for the rest of the run.
int32_t update_rate(RateDisplay& rate, double dt);

// At 200 frames the count becomes 40 and the sum a fifth, so that older
// frames weigh less while the mean keeps about its value.
void rescale_rate(RateDisplay& rate);

// fmod(heading + 2 pi, 2 pi): a heading less than a turn below 0, or above
// 2 pi, comes back into [0, 2 pi). The frame loop applies it once a frame.
double wrap_heading(double heading);

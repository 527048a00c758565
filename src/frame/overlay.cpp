// The minimap, the HUD and the rate display.
#include "frame/overlay.h"

#include <cmath>
#include <cstdio>

#include "camera/camera.h"
#include "content/color.h"
#include "content/font.h"
#include "content/pi.h"
#include "world/world.h"

void draw_minimap(uint32_t* frame, const WorldGrid& world) {
    // Column offset i shows grid column i >> 2 (world X), row offset j grid row j >> 2 (world Y).
    // Row by row, with each grid row's colours taken once: the frame was just
    // written past the caches, a row's pixels share their cache lines, and
    // the blend then runs over plain arrays.
    uint32_t colors[MinimapSize];
    for (int32_t j = 0; j < MinimapSize; ++j) {
        if (j % 4 == 0)
            for (int32_t i = 0; i < MinimapSize; ++i)
                colors[i] = cell_at(world, i >> 2, j >> 2).visited == 1 ? MinimapVisited : MinimapUnvisited;
        uint32_t* const row = frame + size_t(MinimapTop + j) * ScreenWidth + MinimapLeft;
        for (int32_t i = 0; i < MinimapSize; ++i) row[i] = blend_half(colors[i], row[i]);
    }
}

void draw_hud(uint32_t* frame, int32_t shownRate, const Camera& camera) {
    char text[256];
    std::snprintf(text, sizeof text, "FPS: %d ", shownRate);
    draw_text(frame, text, 10, 5, 2);
    draw_text(frame, "screen: 1920 x 1080 x 32", 10, 30, 2);
    draw_text(frame, "Using 8 cores of CPU", 10, 52, 2);
    std::snprintf(text, sizeof text, "Position X: %f", camera.x);
    draw_text(frame, text, 10, ScreenHeight - 90, 2);
    std::snprintf(text, sizeof text, "Position Y: %f", camera.y);
    draw_text(frame, text, 10, ScreenHeight - 60, 2);
    std::snprintf(text, sizeof text, "Position Z: %f", camera.z);
    draw_text(frame, text, 10, ScreenHeight - 30, 2);
}

namespace {

// The rounded mean as a 32-bit integer; the clamp only guards the conversion.
int32_t rounded_mean(double sum, int32_t count) {
    const double mean = std::floor(sum / count + 0.5);
    if (!(mean > 0)) return 0;
    if (mean > 2147483647.0) return 2147483647;
    return int32_t(mean);
}

} // namespace

int32_t update_rate(RateDisplay& rate, double dt) {
    if (!(dt > 0) || !std::isfinite(dt)) {
        // No frames counted yet: nothing to show but 0.
        return rate.frameCount > 1 ? rounded_mean(rate.rateSum, rate.frameCount - 1) : 0;
    }
    rate.rateSum += 1 / dt;
    const int32_t shown = rounded_mean(rate.rateSum, rate.frameCount);
    rate.frameCount += 1;
    return shown;
}

void rescale_rate(RateDisplay& rate) {
    if (rate.frameCount == 200) {
        rate.frameCount = 40;
        rate.rateSum /= 5;
    }
}

double wrap_heading(double heading) { return std::fmod(heading + 2 * Pi, 2 * Pi); }

#include "screen_picture.h"

#include <algorithm>
#include <cmath>

#include "camera/camera.h"
#include "frame/overlay.h"
#include "platform/platform.h"

namespace {

// The labels of the HUD, which stay the same from frame to frame: "FPS: "
// and the starts of the next two lines at the top left, and "Position X: "
// with the two lines below it at the bottom left. The numbers after them
// change, so they lie outside these boxes.
ScreenRect label_box(HudCorner corner) {
    if (corner == HudCorner::TopLeft) return {0, 0, 10 + 5 * 16, 72};
    return {0, ScreenHeight - 94, 10 + 12 * 16, ScreenHeight - 10};
}

// The HUD drawn over black: white pixels are text.
const std::vector<uint32_t>& hud_over_black() {
    static std::vector<uint32_t> hud;
    if (!hud.empty()) return hud;
    std::string error;
    if (!platform_allocate_frame_buffer(&error)) return hud;
    std::fill(FrameBuffer, FrameBuffer + size_t(ScreenWidth) * ScreenHeight, 0u);
    draw_hud(FrameBuffer, 60, Camera{});
    hud.assign(FrameBuffer, FrameBuffer + size_t(ScreenWidth) * ScreenHeight);
    return hud;
}

// Text over anything, scaled, is at least this white where it is read from
// text alone; the sky and the walls are darker.
constexpr double NearWhite = 0.9;

double whiteness(uint32_t pixel) {
    const uint32_t low = std::min({(pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF});
    return low / 255.0;
}

// How much HUD ink the picture has at a (fractional) picture position, read
// bilinearly as a scaling renderer would.
double ink_at(const std::vector<uint32_t>& hud, double x, double y) {
    const int32_t left = int32_t(std::floor(x));
    const int32_t top = int32_t(std::floor(y));
    const double fx = x - left;
    const double fy = y - top;
    auto ink = [&](int32_t px, int32_t py) {
        px = std::clamp(px, 0, ScreenWidth - 1);
        py = std::clamp(py, 0, ScreenHeight - 1);
        return hud[size_t(py) * ScreenWidth + size_t(px)] == 0xFFFFFF ? 1.0 : 0.0;
    };
    return (1 - fy) * ((1 - fx) * ink(left, top) + fx * ink(left + 1, top)) +
           fy * ((1 - fx) * ink(left, top + 1) + fx * ink(left + 1, top + 1));
}

double scale_of(const ScreenRect& picture) { return double(picture.right - picture.left) / ScreenWidth; }

// A picture rectangle as picture puts it on the screen, clipped to the screen.
ScreenRect on_screen(const Screenshot& shot, const ScreenRect& picture, const ScreenRect& inPicture) {
    const double scale = scale_of(picture);
    return {std::max(0, picture.left + int32_t(std::floor(inPicture.left * scale))),
            std::max(0, picture.top + int32_t(std::floor(inPicture.top * scale))),
            std::min(shot.width, picture.left + int32_t(std::ceil(inPicture.right * scale))),
            std::min(shot.height, picture.top + int32_t(std::ceil(inPicture.bottom * scale)))};
}

// Half red or half green blended over anything: the minimap's colours.
bool minimap_colored(uint32_t pixel) {
    const uint32_t red = (pixel >> 16) & 0xFF;
    const uint32_t green = (pixel >> 8) & 0xFF;
    const uint32_t blue = pixel & 0xFF;
    const bool halfGreen = green >= 126 && red <= 129 && blue <= 129;
    const bool halfRed = red >= 126 && green <= 129 && blue <= 129;
    return halfGreen || halfRed;
}

} // namespace

ScreenRect letterboxed_picture(int32_t screenWidth, int32_t screenHeight) {
    const double scale = std::min(double(screenWidth) / ScreenWidth, double(screenHeight) / ScreenHeight);
    const int32_t width = int32_t(std::lround(ScreenWidth * scale));
    const int32_t height = int32_t(std::lround(ScreenHeight * scale));
    const int32_t left = (screenWidth - width) / 2;
    const int32_t top = (screenHeight - height) / 2;
    return {left, top, left + width, top + height};
}

ScreenRect lit_area(const Screenshot& shot) {
    ScreenRect lit{shot.width, shot.height, 0, 0};
    for (int32_t y = 0; y < shot.height; ++y) {
        for (int32_t x = 0; x < shot.width; ++x) {
            const uint32_t pixel = shot.at(x, y);
            if (std::max({(pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF}) <= 8) continue;
            lit = {std::min(lit.left, x), std::min(lit.top, y), std::max(lit.right, x + 1),
                   std::max(lit.bottom, y + 1)};
        }
    }
    return lit;
}

HudTextFound hud_text_found(const Screenshot& shot, const ScreenRect& picture, HudCorner corner) {
    const std::vector<uint32_t>& hud = hud_over_black();
    const double scale = scale_of(picture);
    const ScreenRect area = on_screen(shot, picture, label_box(corner));
    int64_t text = 0, textWhite = 0, elsewhere = 0, elsewhereWhite = 0;
    for (int32_t y = area.top; y < area.bottom && !hud.empty(); ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            // The picture position whose colour lands at the centre of this screen pixel.
            const double ink = ink_at(hud, (x - picture.left + 0.5) / scale - 0.5, (y - picture.top + 0.5) / scale - 0.5);
            const bool white = whiteness(shot.at(x, y)) >= NearWhite;
            if (ink >= 0.95) {
                ++text;
                textWhite += white;
            } else if (ink == 0) {
                ++elsewhere;
                elsewhereWhite += white;
            }
        }
    }
    return {text ? double(textWhite) / text : 0, elsewhere ? double(elsewhereWhite) / elsewhere : 1};
}

bool hud_text_exact(const Screenshot& shot, const ScreenRect& picture, HudCorner corner, std::string* mismatch) {
    const std::vector<uint32_t>& hud = hud_over_black();
    const ScreenRect box = label_box(corner);
    for (int32_t y = box.top; y < box.bottom; ++y) {
        for (int32_t x = box.left; x < box.right; ++x) {
            if (hud.empty() || hud[size_t(y) * ScreenWidth + size_t(x)] != 0xFFFFFF) continue;
            const int32_t sx = picture.left + x;
            const int32_t sy = picture.top + y;
            if (sx >= 0 && sy >= 0 && sx < shot.width && sy < shot.height && shot.at(sx, sy) == 0xFFFFFF) continue;
            *mismatch =
                "HUD text pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is not white on the screen";
            return false;
        }
    }
    return !hud.empty();
}

MinimapShares minimap_shares(const Screenshot& shot, const ScreenRect& picture) {
    const ScreenRect box =
        on_screen(shot, picture, {MinimapLeft, MinimapTop, MinimapLeft + MinimapSize, MinimapTop + MinimapSize});
    // The minimap's edge pixels blend with their neighbours when scaled:
    // two screen pixels inside and around it are left out.
    const ScreenRect inner{box.left + 2, box.top + 2, box.right - 2, box.bottom - 2};
    const ScreenRect outer{std::max(picture.left, box.left - 5), std::max(picture.top, box.top - 5),
                           std::min(picture.right, box.right + 5), std::min(picture.bottom, box.bottom + 5)};
    int64_t inside = 0, insideColored = 0, around = 0, aroundColored = 0;
    for (int32_t y = std::max(0, outer.top); y < std::min(shot.height, outer.bottom); ++y) {
        for (int32_t x = std::max(0, outer.left); x < std::min(shot.width, outer.right); ++x) {
            const bool colored = minimap_colored(shot.at(x, y));
            if (x >= inner.left && x < inner.right && y >= inner.top && y < inner.bottom) {
                ++inside;
                insideColored += colored;
            } else if (x < box.left - 2 || x >= box.right + 2 || y < box.top - 2 || y >= box.bottom + 2) {
                ++around;
                aroundColored += colored;
            }
        }
    }
    return {inside ? double(insideColored) / inside : 0, around ? double(aroundColored) / around : 1};
}

std::string describe(const ScreenRect& rect) {
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ")-(" + std::to_string(rect.right) +
           ", " + std::to_string(rect.bottom) + ")";
}

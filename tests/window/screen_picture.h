// Where the 1920 x 1080 picture lies in a screenshot, and whether the parts
// at its four corners (HUD text top left and bottom left, minimap top right,
// the picture's own bottom-right corner) are on the screen where they belong.
#pragma once

#include <cstdint>
#include <string>

#include "virtual_screen.h"

// A rectangle of screen pixels, right and bottom exclusive.
struct ScreenRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// The whole picture scaled to fit the screen with its aspect kept and centred.
ScreenRect letterboxed_picture(int32_t screenWidth, int32_t screenHeight);

// The smallest rectangle holding every pixel brighter than near-black; the
// letterbox bars are black, the picture has no black rows or columns.
ScreenRect lit_area(const Screenshot& shot);

// How the fixed HUD text near a corner of the picture (the labels "FPS",
// "screen ...", "Using ...", or the three "Position" labels) shows at the
// place picture puts it. The text is white; scaled, a screen pixel is white
// where all the picture pixels it is read from are text, and not where none
// of them are.
enum class HudCorner { TopLeft, BottomLeft };
struct HudTextFound {
    double white;  // the share of the pixels read only from text that are white
    double stray;  // the share of the pixels read only from elsewhere that are white
};
HudTextFound hud_text_found(const Screenshot& shot, const ScreenRect& picture, HudCorner corner);

// Whether every pixel of the fixed HUD text near that corner is pure white
// at exactly its picture coordinates (a picture shown 1:1 at picture's place).
bool hud_text_exact(const Screenshot& shot, const ScreenRect& picture, HudCorner corner, std::string* mismatch);

// The share of the minimap's place, as picture puts it, that shows the
// minimap's half-blended red or green; and the same share in a thin frame
// just around it.
struct MinimapShares {
    double inside;
    double around;
};
MinimapShares minimap_shares(const Screenshot& shot, const ScreenRect& picture);

std::string describe(const ScreenRect& rect);

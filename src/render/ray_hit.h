// What one ray reports for one shape in one cell, and what the span drawers
// draw. Rows are screen rows (down from the top) before the horizon offset is
// added; depths are along the ray in units of the ray direction.
// hit, dist, scale, the wall rows and the near point are set for every hit;
// the other fields of the wall, the top face and the bottom face only when
// that surface's texture pointer is set, so read them only after testing it.
#pragma once

#include <cstdint>

struct Texture;

// Height z at depth d projects to the row ScreenHeight - (z - eye + EyeLift) x
// ScreenHeight / d: the eye sits this far below its height. The top face's
// texture walk takes the same lift, so its texels stay where its rows are.
constexpr double EyeLift = 0.0001;

struct RayHit {
    bool hit;
    double dist;           // depth of the near point
    double scale;          // ScreenHeight / dist: rows per world unit of height
    double wallTopRow;     // rows of the wall's top and bottom, before slant
    double wallBottomRow;
    uint32_t texU;         // wall texture column, already reduced modulo the width
    Texture* wallTexture;  // null: no wall
    uint8_t wallShade;
    double topSlant;       // world units the surfaces lie above the projected heights
    double bottomSlant;
    int32_t fitHeight;     // 1: texture stretched once over the unslanted wall
    double nearX, nearY;   // world point where the ray enters the shape
    double topZ;
    double topFarRow, topNearRow;
    double topFarRowFlat, topNearRowFlat;
    uint8_t faceShade;
    double bottomZ;
    double bottomFarRow, bottomNearRow;
    double bottomFarRowFlat, bottomNearRowFlat;
    Texture* topTexture;    // null: no top face
    Texture* bottomTexture; // null: no bottom face
};

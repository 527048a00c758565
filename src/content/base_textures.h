// The fifteen base textures, by their TextureTable entry: what generation
// paints into each and what the world builder, the sky and the show take.
#pragma once

#include <cstdint>

enum BaseTexture : int32_t {
    GreyNoiseA = 0,       // grey noise, tiled vertically
    GreyNoiseB = 1,       // the same from the next random numbers
    OliveGround = 2,      // olive-brown noise with faint green lines: the terrain
    RedBricks = 3,        // embossed red-brown bricks 32 x 16
    SandTiles = 4,        // embossed sand-coloured tiles 16 x 16
    GreyStone = 5,        // grey stone noise
    BrownNoise = 6,       // the seat and the desk
    HeightMap = 7,        // fine grey noise, read by the world builder as heights
    Sky = 8,              // the 1024 x 128 panorama, without a mip chain
    NoticePage = 9,       // text: "Where is the music?"
    LightGreyNoise = 10,  // the screen's housing
    TerminalScreen = 11,  // near-black with the prompt; the show draws on it
    ComputerLabel = 12,   // "PC COMPUTER", 128 x 16
    FarewellPage = 13,    // text: "Press [ESC] to exit." on the sign board
    DarkRedBricks = 14,   // embossed dark red bricks 48 x 32: the ring of boxes
};

constexpr int32_t BaseTextureCount = 15;

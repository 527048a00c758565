// Helpers for the show's tests: a terminal-screen texture of our own, the
// names of the cues a call issued, and glyph checks on the screen.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../support/test_world.h"
#include "camera/camera.h"
#include "content/font.h"
#include "content/texture.h"
#include "platform/platform.h"
#include "show/show.h"
#include "show/sounds.h"
#include "world/world.h"

constexpr uint32_t ScreenBackground = 0x102030;

// The terminal screen texture alone, a plain 256 x 256 picture, with the 15
// base entries counted so that its variants are appended after them.
inline void make_screen_texture() {
    reset_texture_table();
    texture_count = BaseTextureCount;
    Texture& t = TextureTable[TerminalScreen];
    t.width = 256;
    t.height = 256;
    t.pixels = static_cast<uint32_t*>(std::malloc(256 * 256 * sizeof(uint32_t)));
    for (int32_t n = 0; n < 256 * 256; ++n) t.pixels[n] = ScreenBackground;
}

inline uint32_t* screen() { return get_shaded_texture(&TextureTable[TerminalScreen], 2)->pixels; }

// The names of the cues, in order, and the cues emptied.
inline std::vector<std::string> take_cue_names(SoundCues& cues) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < cues.count; ++i) names.push_back(cues.sounds[i]->name);
    cues = SoundCues{};
    return names;
}

// True when the 8 x 8 cell at (x, y) holds exactly the glyph's ink in white
// over `background`.
inline bool cell_shows(const uint32_t* image, char character, int32_t x, int32_t y, uint32_t background) {
    const int32_t c = uint8_t(character) - 32;
    for (int32_t r = 0; r < 8; ++r) {
        const uint8_t bits = Font8x8[(c / 16) * 128 + r * 16 + c % 16];
        for (int32_t i = 0; i < 8; ++i) {
            const bool ink = bits & (0x80 >> i);
            if (image[(y + r) * 256 + x + i] != (ink ? 0x00FFFFFFu : background)) return false;
        }
    }
    return true;
}

// True when every non-space character of text shows in its cell of a row.
inline bool row_reads(const uint32_t* image, const char* text, int32_t x, int32_t y, uint32_t background) {
    for (int32_t k = 0; text[k]; ++k)
        if (text[k] != ' ' && !cell_shows(image, text[k], x + 8 * k, y, background)) return false;
    return true;
}

// A fresh show and camera, the horizon offset at its load value, an empty
// world and no cues.
struct ShowFixture : ::testing::Test {
    ShowState show{};
    Camera camera{};
    int32_t horizon = 0;
    OwnedWorld world = empty_world();
    SoundCues cues;
};

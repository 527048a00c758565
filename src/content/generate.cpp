// The fifteen base textures, painted at start from the program's own random
// source and from text, in a fixed order so every run gives the same texels.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "content/content.h"
#include "content/font.h"
#include "content/image_ops.h"
#include "content/texture.h"

int32_t next_random(RandomSource& source) {
    source.state = source.state * 214013u + 2531011u;
    return int32_t((source.state >> 16) & 0x7FFF);
}

namespace {

struct BaseSize {
    BaseTexture texture;
    int32_t width;
    int32_t height;
};

// In table order.
constexpr BaseSize BaseSizes[BaseTextureCount] = {
    {GreyNoiseA, 128, 128},
    {GreyNoiseB, 128, 128},
    {OliveGround, 128, 128},
    {RedBricks, 128, 128},
    {SandTiles, 128, 128},
    {GreyStone, 128, 128},
    {BrownNoise, 128, 128},
    {HeightMap, 128, 128},
    {Sky, 1024, 128},
    {NoticePage, 256, 256},
    {LightGreyNoise, 128, 128},
    {TerminalScreen, 256, 256},
    {ComputerLabel, 128, 16},
    {FarewellPage, 256, 256},
    {DarkRedBricks, 128, 128},
};

constexpr bool sizes_in_table_order() {
    for (int32_t i = 0; i < BaseTextureCount; ++i)
        if (BaseSizes[i].texture != i) return false;
    return true;
}
static_assert(sizes_in_table_order());

struct Image {
    uint32_t* pixels;
    int32_t w;
    int32_t h;
};

Image image_of(BaseTexture texture) {
    const Texture& t = TextureTable[texture];
    return {t.pixels, t.width, t.height};
}

void fill(const Image& image, uint32_t color) {
    std::fill(image.pixels, image.pixels + size_t(image.w) * size_t(image.h), color);
}

// Noise, then seamless edges in both directions, then colour.
void paint_tiled_noise(const Image& image, double size, double divisor, uint32_t high, uint32_t low,
                       RandomSource& random) {
    fill_turbulence(image.pixels, image.w, image.h, size, true, divisor, random);
    blend_seam_x(image.pixels, image.w, image.h, 16);
    blend_seam_y(image.pixels, image.w, image.h, 16);
    colorize(image.pixels, image.w, image.h, high, low);
}

// Embossed noise in two colours with brick joints over it.
void paint_bricks(const Image& image, double divisor, uint32_t high, uint32_t low, uint32_t rowStep,
                  uint32_t colStep, uint8_t alpha, RandomSource& random) {
    fill_turbulence(image.pixels, image.w, image.h, 120, true, divisor, random);
    emboss(image.pixels, image.w, image.h, 255);
    colorize(image.pixels, image.w, image.h, high, low);
    blend_seam_x(image.pixels, image.w, image.h, 16);
    blend_seam_y(image.pixels, image.w, image.h, 16);
    draw_bricks(image.pixels, image.w, image.h, rowStep, colStep, 0x000000, 0xFFDDDD, alpha);
}

void paint_grey_noise(const Image& image, RandomSource& random) {
    fill_turbulence(image.pixels, image.w, image.h, 64, true, 2.0, random);
    blend_seam_y(image.pixels, image.w, image.h, 16);
}

void paint_sky(const Image& image, RandomSource& random) {
    fill_turbulence(image.pixels, image.w, image.h, 64, true, 1.5, random);
    blend_seam_x(image.pixels, image.w, image.h, 64);
    blend_seam_y(image.pixels, image.w, image.h, 64);
    colorize(image.pixels, image.w, image.h, 0x5B5EAC, 0xCCCCCC);
}

struct TextLine {
    const char* text;
    int32_t x;
    int32_t y;
};

// A page of white text over one background colour (0 leaves it transparent).
void paint_text(const Image& image, uint32_t background, std::initializer_list<TextLine> lines) {
    fill(image, background);
    for (const TextLine& line : lines) draw_text_on_image(image.pixels, image.w, line.text, line.x, line.y);
}

// Faint green lines along row 0 and column 0; texel (0, 0) gets both.
void add_green_lines(const Image& image) {
    for (int32_t x = 0; x < image.w; ++x) image.pixels[x] += 0x001000;
    for (int32_t y = 0; y < image.h; ++y) image.pixels[size_t(y) * size_t(image.w)] += 0x001000;
}

} // namespace

// The order of the steps fixes which random numbers each texture gets.
void generate_content() {
    // Start from an empty table, so a second call leaks nothing and repeats the first.
    reset_texture_table();
    for (int32_t i = 0; i < BaseTextureCount; ++i) {
        Texture& t = TextureTable[i];
        t.width = BaseSizes[i].width;
        t.height = BaseSizes[i].height;
        t.pixels = static_cast<uint32_t*>(std::malloc(size_t(t.width) * size_t(t.height) * sizeof(uint32_t)));
        if (!t.pixels) { // a few hundred kilobytes at start: nothing can run without them
            std::fprintf(stderr, "quorvalite: out of memory for the textures\n");
            std::abort();
        }
    }
    texture_count = BaseTextureCount;

    RandomSource random;
    paint_tiled_noise(image_of(OliveGround), 32, 2.0, 0x605B24, 0x294000, random);
    paint_bricks(image_of(RedBricks), 2.8, 0xF28F57, 0x2F2011, 16, 32, 64, random);
    paint_bricks(image_of(DarkRedBricks), 2.8, 0xD26F57, 0x1F2011, 32, 48, 64, random);
    paint_grey_noise(image_of(GreyNoiseA), random);
    paint_grey_noise(image_of(GreyNoiseB), random);
    paint_bricks(image_of(SandTiles), 2.6, 0x604415, 0xEEB283, 16, 16, 20, random);
    paint_tiled_noise(image_of(GreyStone), 32, 2.0, 0x404040, 0xA0A0A0, random);
    paint_tiled_noise(image_of(BrownNoise), 32, 2.0, 0x936651, 0x361712, random);
    const Image heights = image_of(HeightMap);
    fill_turbulence(heights.pixels, heights.w, heights.h, 4, false, 0, random);
    paint_sky(image_of(Sky), random);
    paint_text(image_of(NoticePage), 0,
               {{"Where is the music?", 0, 0}, {"Sorry, you need to press ", 0, 40}, {"  a special key...", 0, 50}});
    paint_tiled_noise(image_of(LightGreyNoise), 32, 2.0, 0xF0F0F0, 0xA0A0A0, random);
    paint_text(image_of(TerminalScreen), 0x010101, {{"C:\\DEMOS\\", 2, 2}}); // an opaque near-black screen
    paint_text(image_of(ComputerLabel), 0, {{"PC COMPUTER", 2, 2}});
    paint_text(image_of(FarewellPage), 0,
               {{"Press [ESC] to exit.", 2, 2}, {"I hope you have enjoyed :)", 2, 30}, {"Lets celebrate!", 30, 60}});
    add_green_lines(image_of(OliveGround));

    for (int32_t i = 0; i < BaseTextureCount; ++i) build_mips(TextureTable[i]); // no chain for the wide sky
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include <SDL2/SDL.h>

#include "show/sounds.h"

// The reader the platform plays the images with: canonical mono 16-bit PCM
// (a 44-byte header, then the samples) at a rate the capture's 48000 is a
// multiple of, samples neither silent nor clipped that start and end at rest
// (no click at either end), and two different footsteps.
TEST(Sounds, SdlLoadsTheImagesFromMemory) {
    for (const SoundImage* sound : {&KeyClick, &FootstepA, &FootstepB}) {
        SCOPED_TRACE(sound->name);
        const uint8_t* riff = sound->bytes + 4;  // the RIFF size, little-endian
        EXPECT_EQ(riff[0] | riff[1] << 8 | riff[2] << 16 | uint32_t(riff[3]) << 24, sound->size - 8);
        SDL_AudioSpec format{};
        Uint8* bytes = nullptr;
        Uint32 length = 0;
        SDL_RWops* const source = SDL_RWFromConstMem(sound->bytes, int(sound->size));
        ASSERT_NE(SDL_LoadWAV_RW(source, 1, &format, &bytes, &length), nullptr) << SDL_GetError();
        EXPECT_EQ(48000 % format.freq, 0) << format.freq;
        EXPECT_EQ(format.format, AUDIO_S16LSB);
        EXPECT_EQ(format.channels, 1);
        ASSERT_EQ(length, sound->size - 44);
        EXPECT_EQ(std::memcmp(bytes, sound->bytes + 44, length), 0);

        const auto* samples = reinterpret_cast<const int16_t*>(bytes);
        int32_t peak = 0;
        for (uint32_t n = 0; n < length / 2; ++n) peak = std::max(peak, std::abs(int32_t(samples[n])));
        EXPECT_GT(peak, 8000);
        EXPECT_LT(peak, 32767);
        EXPECT_EQ(samples[0], 0);
        EXPECT_EQ(samples[length / 2 - 1], 0);
        SDL_FreeWAV(bytes);
    }
    EXPECT_FALSE(FootstepA.size == FootstepB.size && std::memcmp(FootstepA.bytes, FootstepB.bytes, FootstepA.size) == 0);
}

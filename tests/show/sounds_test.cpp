#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include <SDL2/SDL.h>

#include "show/sounds.h"

namespace {

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

struct Expected {
    const SoundImage* sound;
    uint32_t rate;
    uint32_t dataBytes;
};

const Expected Sounds[] = {
    {&KeyClick, 16000, 4342},
    {&FootstepA, 24000, 6700},
    {&FootstepB, 24000, 6524},
};

}  // namespace

// Every header field by hand, and samples that are neither silent nor
// clipped and that start and end at rest (no click at either end).
TEST(Sounds, ImagesAreCanonicalMonoPcmWaveFiles) {
    for (const Expected& e : Sounds) {
        SCOPED_TRACE(e.sound->name);
        const uint8_t* b = e.sound->bytes;
        ASSERT_NE(b, nullptr);
        ASSERT_EQ(e.sound->size, 44 + e.dataBytes);
        EXPECT_EQ(std::memcmp(b, "RIFF", 4), 0);
        EXPECT_EQ(le32(b + 4), e.sound->size - 8);
        EXPECT_EQ(std::memcmp(b + 8, "WAVEfmt ", 8), 0);
        EXPECT_EQ(le32(b + 16), 16u);
        EXPECT_EQ(le16(b + 20), 1u);  // PCM
        EXPECT_EQ(le16(b + 22), 1u);  // mono
        EXPECT_EQ(le32(b + 24), e.rate);
        EXPECT_EQ(le32(b + 28), e.rate * 2);
        EXPECT_EQ(le16(b + 32), 2u);
        EXPECT_EQ(le16(b + 34), 16u);
        EXPECT_EQ(std::memcmp(b + 36, "data", 4), 0);
        EXPECT_EQ(le32(b + 40), e.dataBytes);

        const uint32_t count = e.dataBytes / 2;
        int32_t peak = 0;
        for (uint32_t n = 0; n < count; ++n) peak = std::max(peak, std::abs(int32_t(int16_t(le16(b + 44 + 2 * n)))));
        EXPECT_GT(peak, 8000);
        EXPECT_LT(peak, 32767);
        EXPECT_EQ(int16_t(le16(b + 44)), 0);
        EXPECT_EQ(int16_t(le16(b + 44 + 2 * (count - 1))), 0);
    }
    EXPECT_EQ(FootstepA.size == FootstepB.size && std::memcmp(FootstepA.bytes, FootstepB.bytes, FootstepA.size) == 0,
              false);
}

// Python's standard reader accepts the images unchanged and sees the formats
// and lengths the program relies on.
TEST(Sounds, PythonWaveReaderAcceptsTheImages) {
    if (std::system("python3 -c 'import wave' >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
    const auto dir = std::filesystem::temp_directory_path() / ("quorvalite_sounds_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    for (const Expected& e : Sounds) {
        SCOPED_TRACE(e.sound->name);
        const auto path = dir / (std::string(e.sound->name) + ".wav");
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(e.sound->bytes), e.sound->size);
        const std::string check = "python3 -c \"import wave,sys; w=wave.open(sys.argv[1]); "
                                  "sys.exit(0 if (w.getnchannels(),w.getsampwidth(),w.getframerate(),w.getnframes())"
                                  "==(1,2," + std::to_string(e.rate) + "," + std::to_string(e.dataBytes / 2) +
                                  ") else 1)\" '" + path.string() + "'";
        EXPECT_EQ(std::system(check.c_str()), 0) << check;
    }
    std::filesystem::remove_all(dir);
}

// The reader the platform plays the images with.
TEST(Sounds, SdlLoadsTheImagesFromMemory) {
    for (const Expected& e : Sounds) {
        SCOPED_TRACE(e.sound->name);
        SDL_AudioSpec format{};
        Uint8* samples = nullptr;
        Uint32 length = 0;
        SDL_RWops* const source = SDL_RWFromConstMem(e.sound->bytes, int(e.sound->size));
        ASSERT_NE(SDL_LoadWAV_RW(source, 1, &format, &samples, &length), nullptr) << SDL_GetError();
        EXPECT_EQ(format.freq, int(e.rate));
        EXPECT_EQ(format.format, AUDIO_S16LSB);
        EXPECT_EQ(format.channels, 1);
        EXPECT_EQ(length, e.dataBytes);
        EXPECT_EQ(std::memcmp(samples, e.sound->bytes + 44, length), 0);
        SDL_FreeWAV(samples);
    }
}

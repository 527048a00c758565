#include <gtest/gtest.h>

#include <cstring>

#include "capture/sound_upsample.h"
#include "show/sounds.h"

namespace {

// A canonical 44-byte-header 16-bit PCM image.
std::vector<uint8_t> wav_image(uint32_t rate, const std::vector<int16_t>& samples, uint16_t channels = 1) {
    std::vector<uint8_t> bytes;
    auto put = [&](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(t[i]));
    };
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2); // PCM
    put(channels, 2);
    put(rate, 4);
    put(rate * 2 * channels, 4);
    put(2 * channels, 2);
    put(16, 2);
    tag("data");
    put(dataBytes, 4);
    for (const int16_t s : samples) put(uint16_t(s), 2);
    return bytes;
}

} // namespace

TEST(UpsampleSound, KeepsEverySampleAndDrawsStraightLinesBetween) {
    const std::vector<uint8_t> image = wav_image(16000, {0, 300, -300, 7});
    std::vector<int16_t> out;
    std::string error;
    ASSERT_TRUE(upsample_sound(SoundImage{"Test", image.data(), uint32_t(image.size())}, 48000, &out, &error))
        << error;
    // Between 7 and the end the last sample is held.
    EXPECT_EQ(out, (std::vector<int16_t>{0, 100, 200, 300, 100, -100, -300, -198, -96, 7, 7, 7}));
}

TEST(UpsampleSound, TheShowsSoundsReachTheTrackWhole) {
    for (const SoundImage* sound : {&KeyClick, &FootstepA, &FootstepB}) {
        SCOPED_TRACE(sound->name);
        uint32_t rate = 0;
        std::memcpy(&rate, sound->bytes + 24, 4);
        const size_t samples = (sound->size - 44) / 2;
        std::vector<int16_t> out;
        std::string error;
        ASSERT_TRUE(upsample_sound(*sound, 48000, &out, &error)) << error;
        const size_t k = 48000 / rate;
        ASSERT_EQ(out.size(), samples * k);
        for (size_t i = 0; i < samples; ++i) {
            const int16_t kept = int16_t(sound->bytes[44 + 2 * i] | sound->bytes[45 + 2 * i] << 8);
            ASSERT_EQ(out[i * k], kept) << "sample " << i;
        }
    }
}

TEST(UpsampleSound, RefusesOtherImagesAndRates) {
    std::vector<int16_t> out;
    std::string error;
    EXPECT_FALSE(upsample_sound(SoundImage{"Empty", nullptr, 0}, 48000, &out, &error));
    EXPECT_NE(error.find("Empty"), std::string::npos);

    const std::vector<uint8_t> stereo = wav_image(16000, std::vector<int16_t>(100, 5), 2);
    EXPECT_FALSE(upsample_sound(SoundImage{"Stereo", stereo.data(), uint32_t(stereo.size())}, 48000, &out, &error));
    std::vector<uint8_t> image = wav_image(16000, std::vector<int16_t>(100, 5));
    const std::vector<uint8_t> truncated(image.begin(), image.end() - 2);
    EXPECT_FALSE(
        upsample_sound(SoundImage{"Short", truncated.data(), uint32_t(truncated.size())}, 48000, &out, &error));
    EXPECT_FALSE(upsample_sound(SoundImage{"Odd", image.data(), uint32_t(image.size())}, 44100, &out, &error));
    EXPECT_NE(error.find("44100"), std::string::npos) << error;
    std::memcpy(image.data() + 8, "JUNK", 4);
    EXPECT_FALSE(upsample_sound(SoundImage{"Junk", image.data(), uint32_t(image.size())}, 48000, &out, &error));
}

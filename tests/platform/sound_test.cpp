#include <gtest/gtest.h>

#include <cstring>

#include "../support/wav_image.h"
#include "platform/sound_convert.h"

TEST(ConvertSound, ResamplesToTheDeviceRateAndChannels) {
    const std::vector<int16_t> samples(2400, 1000);
    const std::vector<uint8_t> image = wav_image(24000, samples);
    const SoundImage sound{"Step", image.data(), uint32_t(image.size())};
    std::vector<int16_t> out;
    std::string error;
    ASSERT_TRUE(convert_sound(sound, 48000, 2, &out, &error)) << error;
    // 0.1 s at 48000 frames a second in stereo, give or take the filter's edge.
    EXPECT_NEAR(double(out.size()), 9600.0, 96.0);
    EXPECT_NEAR(out[out.size() / 2], 1000, 50) << "a constant signal stays constant";

    ASSERT_TRUE(convert_sound(sound, 24000, 1, &out, &error)) << error;
    EXPECT_EQ(out, samples) << "the device's own format is copied unchanged";
}

// No data, a cut-off image and one with a broken header are refused, and
// the message names the sound.
TEST(ConvertSound, RejectsMissingAndBrokenImagesSafely) {
    std::vector<uint8_t> junk = wav_image(16000, std::vector<int16_t>(100, 5));
    const std::vector<uint8_t> truncated(junk.begin(), junk.begin() + 20);
    std::memcpy(junk.data() + 8, "JUNK", 4);
    for (const auto& [name, wav] : {std::pair{"Empty", std::vector<uint8_t>{}}, {"Short", truncated}, {"Junk", junk}}) {
        std::vector<int16_t> out;
        std::string error;
        const SoundImage sound{name, wav.empty() ? nullptr : wav.data(), uint32_t(wav.size())};
        EXPECT_FALSE(convert_sound(sound, 48000, 2, &out, &error)) << name;
        EXPECT_NE(error.find(name), std::string::npos) << error;
    }
}

#include <gtest/gtest.h>

#include <cstring>

#include "platform/sound_convert.h"

namespace {

// A canonical 44-byte-header mono 16-bit PCM image.
std::vector<uint8_t> wav_image(uint32_t rate, const std::vector<int16_t>& samples) {
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
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(dataBytes, 4);
    for (const int16_t s : samples) put(uint16_t(s), 2);
    return bytes;
}

}  // namespace

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

TEST(ConvertSound, RejectsMissingAndBrokenImagesSafely) {
    std::vector<int16_t> out;
    std::string error;
    EXPECT_FALSE(convert_sound(SoundImage{"Empty", nullptr, 0}, 48000, 2, &out, &error));
    EXPECT_NE(error.find("Empty"), std::string::npos);

    std::vector<uint8_t> image = wav_image(16000, std::vector<int16_t>(100, 5));
    const std::vector<uint8_t> truncated(image.begin(), image.begin() + 20);
    EXPECT_FALSE(
        convert_sound(SoundImage{"Short", truncated.data(), uint32_t(truncated.size())}, 48000, 2, &out, &error));
    std::memcpy(image.data() + 8, "JUNK", 4);
    EXPECT_FALSE(convert_sound(SoundImage{"Junk", image.data(), uint32_t(image.size())}, 48000, 2, &out, &error));
}

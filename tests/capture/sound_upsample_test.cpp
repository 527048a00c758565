#include <gtest/gtest.h>

#include <cstring>

#include "../support/wav_image.h"
#include "capture/sound_upsample.h"

TEST(UpsampleSound, KeepsEverySampleAndDrawsStraightLinesBetween) {
    const std::vector<uint8_t> image = wav_image(16000, {0, 300, -300, 7});
    std::vector<int16_t> out;
    std::string error;
    ASSERT_TRUE(upsample_sound(SoundImage{"Test", image.data(), uint32_t(image.size())}, 48000, &out, &error))
        << error;
    // Between 7 and the end the last sample is held.
    EXPECT_EQ(out, (std::vector<int16_t>{0, 100, 200, 300, 100, -100, -300, -198, -96, 7, 7, 7}));
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

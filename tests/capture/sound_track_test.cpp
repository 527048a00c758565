#include <gtest/gtest.h>

#include "../support/wav_image.h"
#include "capture/sound_track.h"
#include "capture/sound_upsample.h"

namespace {

// Sounds at the track's rate, so they reach the track unchanged: sound k is
// `length` samples of the value 1000 k + i % 7.
struct TestSounds {
    std::vector<std::vector<uint8_t>> images;
    std::vector<SoundImage> sounds;
    explicit TestSounds(const std::vector<size_t>& lengths) {
        for (size_t k = 0; k < lengths.size(); ++k) {
            std::vector<int16_t> samples(lengths[k]);
            for (size_t i = 0; i < samples.size(); ++i) samples[i] = int16_t(1000 * (k + 1) + i % 7);
            images.push_back(wav_image(SoundTrackRate, samples));
        }
        for (const auto& image : images) sounds.push_back(SoundImage{"test", image.data(), uint32_t(image.size())});
    }
};

int16_t value(size_t sound, size_t i) { return int16_t(1000 * (sound + 1) + i % 7); }

} // namespace

TEST(SoundTrack, CuesStartAtTheirFrameAndCutOffTheOneBefore) {
    // 10 frames a second: 4800 samples a frame.
    TestSounds t({12000, 3000, 2000, 100000});
    const std::vector<SoundCue> cues = {
        {2, &t.sounds[0]}, // 2.5 frames long, cut off after one frame by the next cue
        {3, &t.sounds[1]}, // ends by itself
        {6, &t.sounds[0]}, // these two share a frame: only the second is heard
        {6, &t.sounds[2]},
        {9, &t.sounds[3]},  // runs past the end of the track
        {11, &t.sounds[1]}, // after the last frame: left out
    };
    SoundTrack track;
    std::string error;
    ASSERT_TRUE(mix_sound_track(cues, 10, 10, &track, &error)) << error;
    ASSERT_EQ(track.samples.size(), 48000u);

    std::vector<int16_t> expected(48000, 0);
    for (size_t i = 0; i < 4800; ++i) expected[4800 + i] = value(0, i);
    for (size_t i = 0; i < 3000; ++i) expected[9600 + i] = value(1, i);
    for (size_t i = 0; i < 2000; ++i) expected[24000 + i] = value(2, i);
    for (size_t i = 0; i < 9600; ++i) expected[38400 + i] = value(3, i);
    for (size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(track.samples[i], expected[i]) << "sample " << i;
}

TEST(SoundTrack, FramesThatDoNotDivideTheRateStillAddUp) {
    // 7 frames a second: frame j starts at floor((j - 1) x 48000 / 7).
    EXPECT_EQ(frame_sample_offset(1, 7, 48000), 0);
    EXPECT_EQ(frame_sample_offset(2, 7, 48000), 6857);
    EXPECT_EQ(frame_sample_offset(8, 7, 48000), 48000);
    TestSounds t({100});
    SoundTrack track;
    std::string error;
    ASSERT_TRUE(mix_sound_track({{3, &t.sounds[0]}}, 7, 7, &track, &error)) << error;
    ASSERT_EQ(track.samples.size(), 48000u);
    EXPECT_EQ(track.samples[13713], 0);
    EXPECT_EQ(track.samples[13714], value(0, 0));
}

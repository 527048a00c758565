// The capture's pieces on their own: the sound track mixed from the cues,
// sounds brought to its rate, ffprobe's report read back, and capture names.
#include <gtest/gtest.h>

#include <cstring>

#include "../support/files.h"
#include "../support/wav_image.h"
#include "capture/capture.h"
#include "capture/sound_track.h"
#include "capture/sound_upsample.h"
#include "capture/video_encoder.h"

namespace {

// Sample i of test sound k.
int16_t value(size_t sound, size_t i) { return int16_t(1000 * (sound + 1) + i % 7); }

// Sounds at the track's rate, so they reach the track unchanged: sound k is
// `length` samples of value(k, i).
struct TestSounds {
    std::vector<std::vector<uint8_t>> images;
    std::vector<SoundImage> sounds;
    explicit TestSounds(const std::vector<size_t>& lengths) {
        for (size_t k = 0; k < lengths.size(); ++k) {
            std::vector<int16_t> samples(lengths[k]);
            for (size_t i = 0; i < samples.size(); ++i) samples[i] = value(k, i);
            images.push_back(wav_image(SoundTrackRate, samples));
        }
        for (const auto& image : images) sounds.push_back(SoundImage{"test", image.data(), uint32_t(image.size())});
    }
};

const char* const CompleteMp4 =
    "stream|codec_name=h264|codec_type=video|duration=0.500000|nb_read_packets=30\n"
    "stream|codec_name=aac|codec_type=audio|duration=0.501333|nb_read_packets=25\n"
    "format|duration=0.501333\n";

std::string with_crlf(std::string text) {
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.insert(at, "\r");
    return text;
}

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
    // 7 frames a second: frame j starts at floor((j - 1) x 48000 / 7), so
    // frame 3 at 13714, and the 7 frames fill the second exactly.
    TestSounds t({100});
    SoundTrack track;
    std::string error;
    ASSERT_TRUE(mix_sound_track({{3, &t.sounds[0]}}, 7, 7, &track, &error)) << error;
    ASSERT_EQ(track.samples.size(), 48000u);
    EXPECT_EQ(track.samples[13713], 0);
    EXPECT_EQ(track.samples[13714], value(0, 0));
}

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

// ffprobe's report on a finished video, as it prints it with CR LF line ends
// on Windows, passes (every video the Linux capture tests make passes it with
// LF); one with frames or the sound missing does not, and the problem names
// what is missing.
TEST(ProbedVideo, ACompleteVideoPassesAndMissingFramesOrSoundAreFound) {
    std::string problem;
    EXPECT_TRUE(check_probed_video(with_crlf(CompleteMp4), CaptureFormat::Mp4, 30, 60, &problem)) << problem;
    EXPECT_FALSE(check_probed_video(with_crlf(CompleteMp4), CaptureFormat::Mp4, 31, 60, &problem));
    EXPECT_NE(problem.find("30 of the 31 frames"), std::string::npos) << problem;
    const std::string videoOnly = "stream|codec_name=h264|codec_type=video|duration=0.5|nb_read_packets=30\r\n"
                                  "format|duration=0.5\r\n";
    EXPECT_FALSE(check_probed_video(videoOnly, CaptureFormat::Mp4, 30, 60, &problem));
    EXPECT_NE(problem.find("no aac sound"), std::string::npos) << problem;
}

// Folders are separated by '/' on every system and by '\' on Windows too.
TEST(CaptureNames, AreReadAcrossTheSystemsSeparators) {
    EXPECT_EQ(capture_format("out/frames/"), CaptureFormat::Folder);
    EXPECT_EQ(capture_format("videos.old/show"), CaptureFormat::Folder);
    const TempDir dir;
    std::string error;
#ifdef _WIN32
    EXPECT_EQ(capture_format("videos.old\\show"), CaptureFormat::Folder);
    EXPECT_EQ(capture_format("out\\frames\\"), CaptureFormat::Folder);
    const std::string missing = dir.path.string() + "\\missing\\frames";
#else
    EXPECT_EQ(capture_format("videos.old\\show"), CaptureFormat::Unsupported); // one name with a '\' in it
    const std::string missing = dir.path.string() + "/missing/frames";
#endif
    EXPECT_FALSE(check_capture_output(missing, &error)) << "a capture into a folder that is not there";
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    EXPECT_TRUE(check_capture_output(dir.path.string() + "/frames", &error)) << error;
}

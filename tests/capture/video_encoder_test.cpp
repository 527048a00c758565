#include <gtest/gtest.h>

#include "../support/files.h"
#include "capture/capture.h"
#include "capture/video_encoder.h"

namespace {

const char* const CompleteMp4 =
    "stream|codec_name=h264|codec_type=video|duration=0.500000|nb_read_packets=30\n"
    "stream|codec_name=aac|codec_type=audio|duration=0.501333|nb_read_packets=25\n"
    "format|duration=0.501333\n";

std::string with_crlf(std::string text) {
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.insert(at, "\r");
    return text;
}

} // namespace

// ffprobe's report on a finished video, as it prints it on Linux and, with
// CR LF line ends, on Windows, passes; one with frames or the sound missing
// does not, and the problem names what is missing.
TEST(ProbedVideo, ACompleteVideoPassesAndMissingFramesOrSoundAreFound) {
    std::string problem;
    EXPECT_TRUE(check_probed_video(CompleteMp4, CaptureFormat::Mp4, 30, 60, &problem)) << problem;
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
    EXPECT_EQ(capture_format("out/show.mp4"), CaptureFormat::Mp4);
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

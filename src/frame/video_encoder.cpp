// The ffmpeg command line for each container.
#include "frame/video_encoder.h"

#include <algorithm>
#include <cctype>

#include "platform/platform.h"

namespace {

bool ends_with(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

CaptureFormat capture_format(const std::string& out) {
    std::string lower = out;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ends_with(lower, ".mp4")) return CaptureFormat::Mp4;
    if (ends_with(lower, ".mkv")) return CaptureFormat::Mkv;
    if (ends_with(lower, ".webm")) return CaptureFormat::Webm;
    return CaptureFormat::Folder;
}

std::vector<std::string> encoder_arguments(const std::string& program, CaptureFormat format, int32_t fps,
                                           const std::string& audioPath, const std::string& outPath) {
    const std::string size = std::to_string(ScreenWidth) + "x" + std::to_string(ScreenHeight);
    std::vector<std::string> a = {program, "-hide_banner", "-loglevel", "error", "-y",
                                  // the frames: the FrameBuffer's words as they lie in memory
                                  "-f", "rawvideo", "-pix_fmt", "bgr0", "-video_size", size, "-framerate",
                                  std::to_string(fps), "-i", "pipe:0",
                                  // the sound track
                                  "-i", audioPath, "-map", "0:v:0", "-map", "1:a:0",
                                  // HD colours, tagged so that players convert them back alike
                                  "-vf", "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p", "-colorspace",
                                  "bt709", "-color_primaries", "bt709", "-color_trc", "bt709", "-color_range", "tv"};
    const std::vector<std::string> h264 = {"-c:v", "libx264", "-preset", "veryfast", "-crf", "20"};
    switch (format) {
    case CaptureFormat::Mp4:
        a.insert(a.end(), h264.begin(), h264.end());
        a.insert(a.end(), {"-c:a", "aac", "-b:a", "160k", "-movflags", "+faststart", "-f", "mp4"});
        break;
    case CaptureFormat::Mkv:
        a.insert(a.end(), h264.begin(), h264.end());
        a.insert(a.end(), {"-c:a", "flac", "-f", "matroska"});
        break;
    case CaptureFormat::Webm:
        a.insert(a.end(), {"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8", "-row-mt", "1", "-crf",
                           "32", "-b:v", "0", "-c:a", "libopus", "-b:a", "128k", "-f", "webm"});
        break;
    case CaptureFormat::Folder:
        break;
    }
    a.push_back(outPath);
    return a;
}

// The ffmpeg command line for each container, and the reading of ffprobe's
// report on the finished file.
#include "capture/video_encoder.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "platform/platform.h"
#include "system/system.h"

namespace {

bool ends_with(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// ffmpeg reads "name:..." as a protocol and "-..." as an option; behind
// "file:" any name is a plain file.
std::string plain_file(const std::string& path) { return "file:" + path; }

} // namespace

CaptureFormat capture_format(const std::string& out) {
    if (out.empty() || is_path_separator(out.back())) return CaptureFormat::Folder;
    const size_t slash = last_path_separator(out);
    std::string base = out.substr(slash == std::string::npos ? 0 : slash + 1);
    std::transform(base.begin(), base.end(), base.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    // A leading dot makes a hidden name, not an extension.
    const size_t dot = base.rfind('.');
    if (dot == std::string::npos || dot == 0 || base == "..") return CaptureFormat::Folder;
    if (ends_with(base, ".mp4")) return CaptureFormat::Mp4;
    if (ends_with(base, ".mkv")) return CaptureFormat::Mkv;
    if (ends_with(base, ".webm")) return CaptureFormat::Webm;
    return CaptureFormat::Unsupported;
}

std::string format_extension(CaptureFormat format) {
    switch (format) {
    case CaptureFormat::Mp4: return ".mp4";
    case CaptureFormat::Mkv: return ".mkv";
    case CaptureFormat::Webm: return ".webm";
    case CaptureFormat::Folder:
    case CaptureFormat::Unsupported: break;
    }
    return "";
}

std::vector<std::string> encoder_arguments(const std::string& program, CaptureFormat format, int32_t fps,
                                           const std::string& audioPath, const std::string& outPath) {
    const std::string size = std::to_string(ScreenWidth) + "x" + std::to_string(ScreenHeight);
    std::vector<std::string> a = {program, "-hide_banner", "-loglevel", "error", "-y",
                                  // the frames: the FrameBuffer's words as they lie in memory
                                  "-f", "rawvideo", "-pix_fmt", "bgr0", "-video_size", size, "-framerate",
                                  std::to_string(fps), "-i", "pipe:0",
                                  // the sound track
                                  "-i", plain_file(audioPath), "-map", "0:v:0", "-map", "1:a:0",
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
    case CaptureFormat::Unsupported:
        break;
    }
    a.push_back(plain_file(outPath));
    return a;
}

std::vector<std::string> probe_arguments(const std::string& program, const std::string& path) {
    return {program, "-v", "error", "-count_packets", "-show_entries",
            "stream=codec_type,codec_name,nb_read_packets,duration:stream_tags=DURATION:format=duration", "-of",
            "compact", plain_file(path)};
}

namespace {

// One line of ffprobe's compact report: "stream|key=value|..." or "format|...".
using ProbeFields = std::map<std::string, std::string>;

std::vector<std::pair<std::string, ProbeFields>> probe_sections(const std::string& report) {
    std::vector<std::pair<std::string, ProbeFields>> sections;
    std::stringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        // ffprobe on Windows ends its lines with CR LF.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t bar = line.find('|');
        const std::string kind = line.substr(0, bar);
        if (bar == std::string::npos || (kind != "stream" && kind != "format")) continue;
        ProbeFields fields;
        std::stringstream parts(line.substr(bar + 1));
        for (std::string part; std::getline(parts, part, '|');) {
            const size_t equals = part.find('=');
            if (equals != std::string::npos) fields[part.substr(0, equals)] = part.substr(equals + 1);
        }
        sections.emplace_back(kind, fields);
    }
    return sections;
}

// Seconds from "duration" (seconds) or, where the container keeps it per
// stream as a tag (Matroska), "tag:DURATION" (H:MM:SS.fraction); -1 when
// neither is given.
double probed_seconds(const ProbeFields& fields) {
    const auto seconds = fields.find("duration");
    double value = 0;
    char end = 0;
    if (seconds != fields.end() && std::sscanf(seconds->second.c_str(), "%lf%c", &value, &end) == 1) return value;
    const auto tag = fields.find("tag:DURATION");
    int hours = 0;
    int minutes = 0;
    if (tag != fields.end() && std::sscanf(tag->second.c_str(), "%d:%d:%lf%c", &hours, &minutes, &value, &end) == 3)
        return hours * 3600.0 + minutes * 60.0 + value;
    return -1;
}

std::string field(const ProbeFields& fields, const std::string& key) {
    const auto found = fields.find(key);
    return found == fields.end() ? "" : found->second;
}

// The first line of the report that is not part of it: ffprobe's
// complaint, without the "[demuxer @ address] " before it.
std::string probe_complaint(const std::string& report) {
    std::stringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.rfind("stream|", 0) == 0 || line.rfind("format|", 0) == 0) continue;
        const size_t tag = line.find("] ");
        return line[0] == '[' && tag != std::string::npos ? line.substr(tag + 2) : line;
    }
    return "";
}

} // namespace

bool check_probed_video(const std::string& report, CaptureFormat format, int64_t frames, int32_t fps,
                        std::string* problem) {
    const bool webm = format == CaptureFormat::Webm;
    const std::string videoCodec = webm ? "vp9" : "h264";
    const std::string audioCodec = webm ? "opus" : format == CaptureFormat::Mkv ? "flac" : "aac";
    const double expected = double(frames) / fps;
    const auto length_problem = [&](const char* what, double seconds) {
        char text[160];
        std::snprintf(text, sizeof text, "%s lasts %.3f s instead of %.3f s", what, seconds, expected);
        return seconds >= 0 && std::fabs(seconds - expected) <= 0.1 ? std::string() : std::string(text);
    };
    bool video = false;
    bool audio = false;
    std::string wrong;
    for (const auto& [kind, fields] : probe_sections(report)) {
        if (kind == "format") {
            if (wrong.empty()) wrong = length_problem("the file", probed_seconds(fields));
        } else if (field(fields, "codec_type") == "video" && field(fields, "codec_name") == videoCodec && !video) {
            video = true;
            const std::string count = field(fields, "nb_read_packets");
            if (wrong.empty() && count != std::to_string(frames))
                wrong = "it holds " + count + " of the " + std::to_string(frames) + " frames";
            if (wrong.empty()) wrong = length_problem("the video", probed_seconds(fields));
        } else if (field(fields, "codec_type") == "audio" && field(fields, "codec_name") == audioCodec && !audio) {
            audio = true;
            if (wrong.empty()) wrong = length_problem("the sound", probed_seconds(fields));
        }
    }
    const std::string complaint = probe_complaint(report);
    const std::string because = complaint.empty() ? "" : " (ffprobe: " + complaint + ")";
    if (!video) wrong = "it has no " + videoCodec + " video" + because;
    else if (!audio) wrong = "it has no " + audioCodec + " sound" + because;
    if (wrong.empty()) return true;
    *problem = wrong;
    return false;
}

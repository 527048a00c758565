// The video encoder of a capture: the ffmpeg command line, fed raw frames on
// its standard input, with the sound track as a WAV file beside it; and the
// check of the finished file through ffprobe.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class CaptureFormat { Folder, Mp4, Mkv, Webm, Unsupported };

// What a --capture name asks for: .mp4, .mkv or .webm (in any case) a video;
// a name ending in '/' or without an extension a folder; any other extension
// is Unsupported.
CaptureFormat capture_format(const std::string& out);

// The file name ending of a video format (".mp4", ...), or "" for the others.
std::string format_extension(CaptureFormat format);

// The encoder's arguments, program first: raw 1920 x 1080 frames of
// 0x00RRGGBB words (bytes B, G, R, 0) at fps on standard input, the sound
// track from audioPath, written as the format into outPath. Both names are
// given to ffmpeg as plain files, whatever they look like.
//  .mp4: H.264 (yuv420p, BT.709) and AAC, index at the front for streaming;
//  .mkv: H.264 and FLAC; .webm: VP9 and Opus.
std::vector<std::string> encoder_arguments(const std::string& program, CaptureFormat format, int32_t fps,
                                           const std::string& audioPath, const std::string& outPath);

// The ffprobe arguments, program first, that count the packets of every
// stream of the video at path and report codecs and durations.
std::vector<std::string> probe_arguments(const std::string& program, const std::string& path);

// Reads what probe_arguments made ffprobe print: true when the file holds a
// video stream of the format's codec with exactly `frames` frames and an
// audio stream of the format's codec, the file and both streams as long as
// the frames at fps (within a tenth of a second). False otherwise, with what
// is wrong in *problem.
bool check_probed_video(const std::string& report, CaptureFormat format, int64_t frames, int32_t fps,
                        std::string* problem);

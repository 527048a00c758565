// The video encoder of a capture: the ffmpeg command line, fed raw frames on
// its standard input, with the sound track as a WAV file beside it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class CaptureFormat { Folder, Mp4, Mkv, Webm };

// By the name's extension (.mp4, .mkv, .webm in any case); any other name is a folder.
CaptureFormat capture_format(const std::string& out);

// The encoder's arguments, program first: raw 1920 x 1080 frames of
// 0x00RRGGBB words (bytes B, G, R, 0) at fps on standard input, the sound
// track from audioPath, written as the format into outPath.
//  .mp4: H.264 (yuv420p, BT.709) and AAC, index at the front for streaming;
//  .mkv: H.264 and FLAC; .webm: VP9 and Opus.
std::vector<std::string> encoder_arguments(const std::string& program, CaptureFormat format, int32_t fps,
                                           const std::string& audioPath, const std::string& outPath);

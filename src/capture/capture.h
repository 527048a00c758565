// Capturing the show: every frame from the first until some seconds into the
// finale, as one video file with its sound track (through ffmpeg) or as a
// folder of PNG pictures and a WAV file. Nothing half-written is left behind,
// and nothing takes OUT's name before it is complete.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

constexpr int32_t MaxCaptureFps = 240;
constexpr int64_t MaxCaptureSeconds = 3600;

struct CaptureRequest {
    std::string out;      // .mp4, .mkv or .webm: a video file; no extension or a final '/': a folder
    int32_t fps = 60;     // the virtual clock's rate and the video's
    int64_t seconds = 10; // of the finale, counted from the frame in which it begins
    int64_t frames = 0;   // more than 0: exactly the first N frames instead
    int32_t workers = 8;
    std::FILE* trace = nullptr; // the trace of the rendered frames
};

// Checks, without writing anything, that OUT can be made: it names a video
// (.mp4, .mkv, .webm) or a folder (no extension, or a final '/'), its folder
// exists and can be written, a video name is not a folder and a folder name
// is new or an empty folder. False with a message otherwise.
bool check_capture_output(const std::string& out, std::string* error);

// Checks that a capture of `frames` frames (0: until the finale, which is
// bounded anyway) at fps has a sound track that fits in a WAV file; false
// with a message naming the limit otherwise.
bool check_capture_length(int64_t frames, int32_t fps, std::string* error);

// Runs the capture on the headless backend (which it opens and closes) and
// returns the process exit code: 0 when OUT is complete, otherwise 1 with a
// message, this run's files removed and whatever had OUT's name untouched
// (2 for a request check_capture_length refuses).
int run_capture(const CaptureRequest& request);

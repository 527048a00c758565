// The command line: which mode to run, with which backend and outputs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/headless_run.h"
#include "app/pose.h"
#include "platform/platform.h"

enum class RunMode { Show, Pose, DumpTextures, Capture, Bench };

struct CommandLine {
    RunMode mode = RunMode::Show;
    bool headless = false;
    WindowOptions window;
    int32_t fps = 60;                // the headless clock's rate
    std::vector<FrameRange> dump;    // headless: frames to write as PNG files
    std::string outDir;              // where dumps and the pose picture go
    int64_t frames = 0;              // 0: until ESC or quit
    std::string tracePath;           // empty: no trace
    std::string textureDir;
    PoseRequest pose;
    std::string captureOut;   // --capture: the video file or folder
    int64_t seconds = 10;     // --capture: of the finale
    int32_t workers = 8;      // --capture and --bench
    bool json = false;        // --bench
};

constexpr int64_t MaxFrameNumber = 1000000000000; // keeps frame x 1000 far inside 64 bits

// Parses and checks the whole command line without writing anything. Returns
// -1 when the program should go on with *result; otherwise the exit code,
// having printed what was asked (0 for --help and --version) or a one-line
// error with the usage (2).
int parse_command_line(int argc, const char* const* argv, const std::string& version, CommandLine* result);

// "1,2,100-110": frame numbers and inclusive ranges, 1 to MaxFrameNumber.
bool parse_frame_list(const std::string& text, std::vector<FrameRange>* ranges, std::string* error);

// "X,Y,Z,HEADING,HORIZON": finite numbers, X and Y inside the inner cells of
// the grid, Z within the world's heights, HORIZON a whole number of rows.
bool parse_pose(const std::string& text, PoseRequest* pose, std::string* error);

// Whether path is a folder that can be written, or one that can be made.
bool output_dir_usable(const std::string& path, std::string* error);

// Makes the output folder (and its parents) if it is missing; *made is the
// outermost folder it made (empty if none), for remove_made_dir.
bool make_output_dir(const std::string& path, std::string* made, std::string* error);

// Removes what make_output_dir made, as long as it is still empty.
void remove_made_dir(const std::string& made);

// Command-line parsing with CLI11. CLI11 reports errors as exceptions; they
// are caught here and become a one-line message and exit code 2, so nothing
// beyond this file sees them.
#include "app/command_line.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>

#include "capture/capture.h"
#include "system/system.h"
#include "world/world.h"

namespace {

const char* const Usage =
    "usage: quorvalite [--window | --switch-mode] [--frames N] [--trace FILE]\n"
    "       quorvalite --headless [--frames N] [--fps F] [--dump LIST --out DIR] [--trace FILE]\n"
    "       quorvalite --pose X,Y,Z,HEADING,HORIZON --out DIR [--fps F]\n"
    "       quorvalite --dump-textures DIR\n"
    "       quorvalite --capture OUT [--fps F] [--seconds S | --frames N] [--workers K] [--trace FILE]\n"
    "       quorvalite --bench [--frames N] [--workers K] [--json] [--trace FILE]\n"
    "Run quorvalite --help for every option.\n";

int bad_input(const std::string& message) {
    std::fprintf(stderr, "quorvalite: %s\n%s", message.c_str(), Usage);
    return 2;
}

// A whole number in decimal digits only, leading zeros included ("010" is
// ten); a sign, a space, "0x10", "0b1" or "1e3" is not one. A number too
// large for 64 bits reads as the largest, so a range check refuses it.
bool parse_decimal(const std::string& text, int64_t* value) {
    if (text.empty()) return false;
    const int64_t largest = std::numeric_limits<int64_t>::max();
    int64_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        const int64_t digit = c - '0';
        number = number > (largest - digit) / 10 ? largest : number * 10 + digit;
    }
    *value = number;
    return true;
}

bool parse_frame_number(const std::string& text, int64_t* value) {
    int64_t number = 0;
    if (!parse_decimal(text, &number) || number < 1 || number > MaxFrameNumber) return false;
    *value = number;
    return true;
}

// A finite number as strtod reads it, hexadecimal forms left out. strtod
// reports ERANGE both on overflow (an infinite result, refused) and on
// underflow (a subnormal or zero result: a finite number, accepted).
bool parse_finite(const std::string& text, double* value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    if (text.find_first_of("xX") != std::string::npos) return false;
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(number)) return false;
    *value = number;
    return true;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// The nearest folder on the way up from path that exists.
std::filesystem::path existing_ancestor(std::filesystem::path path) {
    std::error_code error;
    if (path.is_relative()) path = std::filesystem::current_path(error) / path;
    while (!std::filesystem::exists(path, error) && path.has_parent_path() && path != path.parent_path())
        path = path.parent_path();
    return path;
}

bool trace_file_usable(const std::string& path, std::string* error) {
    std::error_code code;
    if (path.empty()) {
        *error = "the trace file name is empty";
        return false;
    }
    const std::filesystem::path file(path);
    if (std::filesystem::is_directory(file, code)) {
        *error = "cannot write " + path + ": it is a folder";
        return false;
    }
    std::string reason;
    if (std::filesystem::exists(file, code)) {
        if (file_writable(path, &reason)) return true;
        *error = "cannot write " + path + ": " + reason;
        return false;
    }
    const std::filesystem::path parent = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    if (!directory_writable(parent.string(), &reason)) {
        *error = "cannot write " + path + ": its folder is missing or not writable";
        return false;
    }
    return true;
}

// The modes other than the show exclude each other. They are checked before
// the options each mode refuses, so that the message names the real conflict.
std::string check_modes(const CLI::App& app) {
    const char* first = nullptr;
    for (const char* mode : {"--pose", "--dump-textures", "--capture", "--bench"}) {
        if (app.count(mode) == 0) continue;
        if (first) return std::string(first) + " and " + mode + " exclude each other";
        first = mode;
    }
    return {};
}

// Options that only make sense together, checked after parsing.
std::string check_combinations(const CLI::App& app, const CommandLine& line) {
    const auto given = [&](const char* name) { return app.count(name) > 0; };
    const std::string modes = check_modes(app);
    if (!modes.empty()) return modes;
    const bool capture = line.mode == RunMode::Capture;
    const bool bench = line.mode == RunMode::Bench;
    if (given("--seconds") && !capture) return "--seconds needs --capture";
    if (given("--json") && !bench) return "--json needs --bench";
    if (given("--workers") && !capture && !bench) return "--workers needs --capture or --bench";
    if (capture || bench) {
        const char* const mode = capture ? "--capture" : "--bench";
        for (const char* other : {"--window", "--switch-mode", "--dump", "--out"})
            if (given(other)) return std::string(mode) + " cannot be combined with " + other;
        if (bench && given("--fps")) return "--bench always runs the clock at 60 frames a second: drop --fps";
        if (capture && given("--seconds") && given("--frames")) return "--seconds and --frames exclude each other";
        if (capture && line.fps > MaxCaptureFps)
            return "--capture takes at most " + std::to_string(MaxCaptureFps) + " frames a second";
        return {};
    }
    if (line.mode == RunMode::DumpTextures) {
        for (const char* other : {"--window", "--switch-mode", "--headless", "--frames", "--fps", "--dump", "--out",
                                  "--trace"})
            if (given(other)) return std::string("--dump-textures cannot be combined with ") + other;
        return {};
    }
    if (line.mode == RunMode::Pose) {
        for (const char* other : {"--window", "--switch-mode", "--frames", "--dump", "--trace"})
            if (given(other)) return std::string("--pose cannot be combined with ") + other;
        if (!given("--out")) return "--pose needs --out DIR";
        return {};
    }
    if (given("--window") && given("--switch-mode")) return "--window and --switch-mode exclude each other";
    if (line.headless && (given("--window") || given("--switch-mode")))
        return "--headless opens no window: drop --window and --switch-mode";
    if (!line.headless) {
        for (const char* other : {"--fps", "--dump", "--out"})
            if (given(other)) return std::string(other) + " needs --headless";
    }
    if (given("--dump") && !given("--out")) return "--dump needs --out DIR";
    if (given("--out") && !given("--dump")) return "--out needs --dump LIST";
    if (line.frames > 0) {
        for (const FrameRange& range : line.dump)
            if (range.last > line.frames)
                return "--dump asks for frame " + std::to_string(range.last) + " but only " +
                       std::to_string(line.frames) + " frames run";
    }
    return {};
}

// A whole number from low to high in decimal digits, with a message that
// names the value. CLI11 alone would read "010" as octal and "0x10" as hex,
// so the text is checked here and handed on without leading zeros, a form
// CLI11 can only read as decimal.
CLI::Validator whole_number(int64_t low, int64_t high) {
    return CLI::Validator(
        [low, high](std::string& text) -> std::string {
            int64_t value = 0;
            if (!parse_decimal(text, &value)) return "\"" + text + "\" is not a whole number in decimal digits";
            if (value < low || value > high)
                return text + " is outside " + std::to_string(low) + " to " + std::to_string(high);
            text = std::to_string(value);
            return {};
        },
        "");
}

} // namespace

bool parse_frame_list(const std::string& text, std::vector<FrameRange>* ranges, std::string* error) {
    ranges->clear();
    for (const std::string& item : split(text, ',')) {
        const size_t dash = item.find('-');
        FrameRange range{0, 0};
        const bool ok = dash == std::string::npos
                            ? parse_frame_number(item, &range.first)
                            : parse_frame_number(item.substr(0, dash), &range.first) &&
                                  parse_frame_number(item.substr(dash + 1), &range.last);
        if (dash == std::string::npos) range.last = range.first;
        if (!ok) {
            *error = "--dump: \"" + item + "\" is not a frame number (1 to " + std::to_string(MaxFrameNumber) +
                     ") or a range FIRST-LAST";
            return false;
        }
        if (range.first > range.last) {
            *error = "--dump: the range \"" + item + "\" ends before it starts";
            return false;
        }
        ranges->push_back(range);
    }
    return true;
}

bool parse_pose(const std::string& text, PoseRequest* pose, std::string* error) {
    const std::vector<std::string> parts = split(text, ',');
    double values[5];
    if (parts.size() != 5) {
        *error = "--pose needs five numbers X,Y,Z,HEADING,HORIZON, got \"" + text + "\"";
        return false;
    }
    static const char* const names[5] = {"X", "Y", "Z", "HEADING", "HORIZON"};
    for (size_t i = 0; i < 5; ++i) {
        if (!parse_finite(parts[i], &values[i])) {
            *error = std::string("--pose: ") + names[i] + " \"" + parts[i] + "\" is not a finite number";
            return false;
        }
    }
    for (size_t i = 0; i < 2; ++i) {
        if (!(values[i] >= 1 && values[i] < GridSize - 1)) {
            *error = std::string("--pose: ") + names[i] + " " + parts[i] + " is outside the inner cells (1 to below " +
                     std::to_string(GridSize - 1) + ")";
            return false;
        }
    }
    if (!(values[2] >= -999 && values[2] <= 999)) {
        *error = "--pose: Z " + parts[2] + " is outside -999 to 999";
        return false;
    }
    if (values[4] != std::floor(values[4]) || values[4] < -10000 || values[4] > 10000) {
        *error = "--pose: HORIZON " + parts[4] + " is not a whole number of rows from -10000 to 10000";
        return false;
    }
    *pose = PoseRequest{values[0], values[1], values[2], values[3], int32_t(values[4])};
    return true;
}

bool output_dir_usable(const std::string& path, std::string* error) {
    std::error_code code;
    if (path.empty()) {
        *error = "the output folder name is empty";
        return false;
    }
    const std::filesystem::path folder(path);
    if (std::filesystem::exists(folder, code) && !std::filesystem::is_directory(folder, code)) {
        *error = "cannot write into " + path + ": it is not a folder";
        return false;
    }
    const std::filesystem::path ancestor = existing_ancestor(folder);
    std::string reason;
    if (!directory_writable(ancestor.string(), &reason)) {
        *error = "cannot write into " + path + ": " + ancestor.string() + " is not a writable folder";
        return false;
    }
    return true;
}

bool make_output_dir(const std::string& path, std::string* made, std::string* error) {
    std::error_code code;
    made->clear();
    std::filesystem::path outermost;
    for (std::filesystem::path p = std::filesystem::absolute(path, code);
         !p.empty() && !std::filesystem::exists(p, code) && p != p.parent_path(); p = p.parent_path())
        outermost = p;
    std::filesystem::create_directories(path, code);
    if (code || !std::filesystem::is_directory(path, code)) {
        *error = "cannot make the folder " + path + (code ? ": " + code.message() : "");
        remove_made_dir(outermost.string());
        return false;
    }
    *made = outermost.string();
    return true;
}

void remove_made_dir(const std::string& made) {
    if (made.empty()) return;
    // Innermost first; remove() leaves any folder that is not empty.
    std::error_code code;
    std::vector<std::filesystem::path> folders;
    for (std::filesystem::path p(made); std::filesystem::is_directory(p, code);) {
        folders.push_back(p);
        std::filesystem::directory_iterator it(p, code);
        if (code || it == std::filesystem::directory_iterator() || !it->is_directory()) break;
        p = it->path();
    }
    for (auto f = folders.rbegin(); f != folders.rend(); ++f) std::filesystem::remove(*f, code);
}

int parse_command_line(int argc, const char* const* argv, const std::string& version, CommandLine* result) {
    CLI::App app{"Quorvalite: a software ray-casting demo. It renders a scripted walk through a small "
                 "3-D world at 1920 x 1080, one ray per screen column on eight worker threads. ESC or "
                 "closing the window ends it.",
                 "quorvalite"};
    app.set_version_flag("--version", "quorvalite " + version);
    app.footer("Without options the demo takes over the screen, scaling its picture to the desktop's mode.\n"
               "Headless, the clock reads 1000 ms at start and 1000 + j x 1000 / F ms in frame j. A headless\n"
               "run ends after N frames, else after the last frame of --dump, else 10 s into the show's finale.\n"
               "Headless runs and --bench draw a progress line on stderr when it is a terminal.\n"
               "N, F, S, K and the frames of LIST are written in decimal digits only: 010 is ten; signs,\n"
               "spaces, 0x, 0b and exponents are refused. The numbers of --pose are decimal too.\n"
               "Exit codes: 0 done, 1 a failure while running, 2 bad command line.");
    CommandLine line;
    std::string dumpList;
    std::string poseText;
    app.add_flag("--window", line.window.windowed, "An ordinary resizable window instead of full screen");
    app.add_flag("--switch-mode", line.window.switchMode,
                 "Switch the display to 1920 x 1080 instead of scaling the picture to the desktop's mode; "
                 "the mode is given back at the end");
    app.add_flag("--headless", line.headless,
                 "No window and no sound: a virtual clock that advances 1000 / F ms a frame");
    app.add_option("--frames", line.frames,
                   "Run N frames (1 or more), then exit 0 (default: with a window until ESC or quit; headless, "
                   "see below)")
        ->type_name("N")
        ->transform(whole_number(1, MaxFrameNumber));
    app.add_option("--fps", line.fps, "Frames a second of the headless clock, 1 to 100000 (default 60)")
        ->type_name("F")
        ->transform(whole_number(1, 100000));
    app.add_option("--dump", dumpList, "Frames to write as DIR/frame_NNNNNN.png, e.g. 1,2,100-110 (headless)")
        ->type_name("LIST");
    app.add_option("--out", line.outDir, "Folder for --dump and --pose pictures (made if missing)")
        ->type_name("DIR");
    app.add_option("--trace", line.tracePath, "Write one line per frame and per sound cue to FILE")
        ->type_name("FILE");
    app.add_option("--pose", poseText,
                   "Render one picture from this camera pose into DIR/pose.png, without the show (headless)")
        ->type_name("X,Y,Z,HEADING,HORIZON");
    app.add_option("--capture", line.captureOut,
                   "Write the show, from its first frame until S seconds into its finale, as a video with its "
                   "sound (OUT ending in .mp4, .mkv or .webm, made by ffmpeg) or as a folder OUT of "
                   "frame_NNNNNN.png and audio.wav (headless; F frames a second)")
        ->type_name("OUT");
    app.add_option("--seconds", line.seconds, "How much of the finale --capture records, 0 to 3600 s (default 10)")
        ->type_name("S")
        ->transform(whole_number(0, MaxCaptureSeconds));
    bool bench = false;
    app.add_flag("--bench", bench,
                 "The timedemo: play the show headless at 60 frames a second as fast as possible, up to its finale "
                 "or for N frames, and print the frame times on stdout");
    app.add_option("--workers", line.workers, "Render workers for --bench and --capture, 1 to 8 (default 8)")
        ->type_name("K")
        ->transform(whole_number(1, 8));
    app.add_flag("--json", line.json, "--bench prints its figures as one JSON object");
    app.add_option("--dump-textures", line.textureDir,
                   "Write every texture and mip level as a PNG file into DIR (a level with no rows has none) and "
                   "print one hash line per level")
        ->type_name("DIR");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return bad_input(e.what());
    }

    std::string error;
    if (app.count("--dump") && !parse_frame_list(dumpList, &line.dump, &error))
        return bad_input(error);
    if (app.count("--pose")) {
        if (!parse_pose(poseText, &line.pose, &error)) return bad_input(error);
        line.mode = RunMode::Pose;
        line.headless = true;
    }
    if (app.count("--dump-textures")) line.mode = RunMode::DumpTextures;
    if (app.count("--capture")) line.mode = RunMode::Capture;
    if (app.count("--bench")) line.mode = RunMode::Bench;
    if (line.mode == RunMode::Capture || line.mode == RunMode::Bench) line.headless = true;
    const std::string combination = check_combinations(app, line);
    if (!combination.empty()) return bad_input(combination);

    if (line.mode == RunMode::DumpTextures && !output_dir_usable(line.textureDir, &error)) return bad_input(error);
    if (app.count("--out") && !output_dir_usable(line.outDir, &error)) return bad_input(error);
    if (app.count("--trace") && !trace_file_usable(line.tracePath, &error)) return bad_input(error);
    if (line.mode == RunMode::Capture && !check_capture_output(line.captureOut, &error)) return bad_input(error);
    if (line.mode == RunMode::Capture && !check_capture_length(line.frames, line.fps, &error))
        return bad_input(error);
    *result = line;
    return -1;
}

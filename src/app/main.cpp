// The program: reads the command line, opens the chosen backend and runs the
// show, a pose picture, a texture dump, a capture or the timedemo.
#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include "app/command_line.h"
#include "app/headless_run.h"
#include "app/pose.h"
#include "app/texture_dump.h"
#include "app/window_run.h"
#include "capture/capture.h"
#include "platform/platform.h"
#include "timedemo/timedemo.h"

namespace {

int fail(const std::string& message, int code) {
    std::fprintf(stderr, "quorvalite: %s\n", message.c_str());
    return code;
}

// Closes the trace; a trace that could not be written completely turns a
// successful run into a failure.
int finish_trace(const CommandLine& line, std::FILE* trace, int code) {
    if (trace) {
        const bool written = !std::ferror(trace);
        if (std::fclose(trace) != 0 || !written) {
            std::fprintf(stderr, "quorvalite: the trace %s could not be written completely\n", line.tracePath.c_str());
            if (code == 0) code = 1;
        }
    }
    return code;
}

int run_headless_mode(const CommandLine& line, std::FILE* trace) {
    HeadlessRequest request;
    request.fps = line.fps;
    request.dump = line.dump;
    request.outDir = line.outDir;
    request.frames = line.frames;
    request.trace = trace;
    return finish_trace(line, trace, run_headless(request));
}

int run_capture_mode(const CommandLine& line, std::FILE* trace) {
    CaptureRequest request;
    request.out = line.captureOut;
    request.fps = line.fps;
    request.seconds = line.seconds;
    request.frames = line.frames;
    request.workers = line.workers;
    request.trace = trace;
    return finish_trace(line, trace, run_capture(request));
}

int run_timedemo_mode(const CommandLine& line, std::FILE* trace) {
    TimedemoRequest request;
    request.frames = line.frames;
    request.workers = line.workers;
    request.json = line.json;
    request.trace = trace;
    return finish_trace(line, trace, run_timedemo(request));
}

// Everything main does; exceptions that escape it are main's to catch.
int run(int argc, char** argv) {
    CommandLine line;
    const int parsed = parse_command_line(argc, argv, QUORVALITE_VERSION, &line);
    if (parsed >= 0) return parsed;
    std::string error;
    std::string madeDir;
    if (line.mode == RunMode::DumpTextures) {
        if (!make_output_dir(line.textureDir, &madeDir, &error)) return fail(error, 2);
        return dump_textures(line.textureDir);
    }

    if (!line.outDir.empty() && !make_output_dir(line.outDir, &madeDir, &error))
        return fail(error, 2);
    // The window opens before the trace is made, so a display that cannot
    // show it leaves no empty trace behind.
    const bool window = line.mode == RunMode::Show && !line.headless;
    if (!platform_allocate_frame_buffer(&error)) return fail(error, 1);
    if (window && !platform_open_window(line.window, &error)) {
        std::fprintf(stderr,
                     "quorvalite: cannot open the window: %s\n"
                     "To render without a display, run headless, for example:\n"
                     "  quorvalite --headless --frames 3 --dump 1-3 --out frames\n",
                     error.c_str());
        return 1;
    }
    std::FILE* trace = nullptr;
    if (!line.tracePath.empty()) {
        trace = std::fopen(line.tracePath.c_str(), "wb");
        if (!trace) {
            remove_made_dir(madeDir);
            platform_close();
            return fail("cannot write the trace " + line.tracePath, 2);
        }
    }
    if (line.mode == RunMode::Capture) return run_capture_mode(line, trace);
    if (line.mode == RunMode::Bench) return run_timedemo_mode(line, trace);
    if (line.mode == RunMode::Pose) return run_pose(line.pose, line.fps, line.outDir);
    if (line.headless) return run_headless_mode(line, trace);
    const int code = run_window(line.frames, trace);
    platform_close();
    return finish_trace(line, trace, code);
}

} // namespace

// A failure that arrives as an exception (memory or a thread that cannot be
// had, say) ends the program like any other failure while running: one line
// and exit code 1, with the display given back first.
int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        platform_close();
        return fail("out of memory", 1);
    } catch (const std::exception& e) {
        platform_close();
        return fail(std::string("stopped by an unexpected failure: ") + e.what(), 1);
    } catch (...) {
        platform_close();
        return fail("stopped by an unexpected failure", 1);
    }
}

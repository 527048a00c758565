// The program: reads the command line, opens the chosen backend and runs the
// show, a pose picture or a texture dump.
#include <cstdio>
#include <string>

#include "content/content.h"
#include "frame/command_line.h"
#include "frame/frame_loop.h"
#include "frame/pose.h"
#include "frame/worker_pool.h"
#include "platform/platform.h"

namespace {

int fail(const std::string& message, int code) {
    std::fprintf(stderr, "quorvalite: %s\n", message.c_str());
    return code;
}

int run_show_mode(const CommandLine& line, std::FILE* trace) {
    FrameLoopOptions options;
    options.maxFrames = line.frames;
    options.trace = trace;
    int code = run_frames(options);
    platform_close();
    if (trace) {
        const bool written = !std::ferror(trace);
        if (std::fclose(trace) != 0 || !written) {
            std::fprintf(stderr, "quorvalite: the trace %s could not be written completely\n", line.tracePath.c_str());
            if (code == 0) code = 1;
        }
    }
    return code;
}

} // namespace

int main(int argc, char** argv) {
    CommandLine line;
    const int parsed = parse_command_line(argc, argv, QUORVALITE_VERSION, &line);
    if (parsed >= 0) return parsed;
    if (line.mode == RunMode::DumpTextures) {
        std::string error;
        std::string madeDir;
        if (!make_output_dir(line.textureDir, &madeDir, &error)) return fail(error, 2);
        return dump_textures(line.textureDir);
    }

    std::string error;
    std::string madeDir;
    if (!line.headlessOptions.outDir.empty() && !make_output_dir(line.headlessOptions.outDir, &madeDir, &error))
        return fail(error, 2);
    std::FILE* trace = nullptr;
    if (!line.tracePath.empty()) {
        trace = std::fopen(line.tracePath.c_str(), "w");
        if (!trace) {
            remove_made_dir(madeDir);
            return fail("cannot write the trace " + line.tracePath, 2);
        }
    }
    if (!platform_allocate_frame_buffer(&error)) return fail(error, 1);
    if (line.headless) {
        if (!platform_open_headless(line.headlessOptions, &error)) return fail(error, 1);
    } else if (!platform_open_window(line.window, &error)) {
        std::fprintf(stderr,
                     "quorvalite: cannot open the window: %s\n"
                     "To render without a display, run headless, for example:\n"
                     "  quorvalite --headless --frames 3 --dump 1-3 --out frames\n",
                     error.c_str());
        return 1;
    }
    if (line.mode == RunMode::Pose) {
        const int code = run_pose(line.pose, line.headlessOptions.outDir, WorkerCount);
        platform_close();
        return code;
    }
    return run_show_mode(line, trace);
}

// The capture: a quick pass without rendering counts the frames and collects
// the sound cues (the show and the camera never look at pixels); the sound
// track is mixed from the cues; then the show is played again from its start
// and every frame goes to the encoder or into the folder. Everything is
// written under temporary names, renamed only when complete.
#include "frame/capture.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <filesystem>

#include "frame/frame_loop.h"
#include "frame/progress.h"
#include "frame/sound_track.h"
#include "frame/video_encoder.h"
#include "platform/platform.h"

namespace {

// The names a capture writes: the result, its temporary name, and for a
// video the sound track beside it.
struct CaptureFiles {
    CaptureFormat format = CaptureFormat::Folder;
    std::string out;
    std::string temporary; // out + ".part": the video file, or the folder
    std::string audio;     // the WAV file the encoder reads, or the folder's audio.wav
};

CaptureFiles capture_files(const std::string& name) {
    CaptureFiles files;
    files.out = name;
    // "frames/" names the folder "frames".
    while (files.out.size() > 1 && files.out.back() == '/') files.out.pop_back();
    files.format = capture_format(files.out);
    files.temporary = files.out + ".part";
    files.audio = files.format == CaptureFormat::Folder ? files.temporary + "/audio.wav" : files.out + ".audio.wav";
    return files;
}

void remove_partial_output(const CaptureFiles& files) {
    remove_tree(files.temporary);
    if (files.format != CaptureFormat::Folder) {
        remove_tree(files.audio);
        remove_tree(files.audio + ".part");
    }
}

// One play of the show, with what its hooks gather.
struct Pass {
    std::vector<SoundCue> cues;
    ProcessPipe* encoder = nullptr; // rendered frames go here for a video ...
    std::string folder;             // ... or into this folder as PNG files
    Progress* progress = nullptr;
    bool encoderQuit = false; // the encoder stopped reading frames
    std::string error;        // what ended the pass early
};

void collect_cue(void* context, int64_t frame, const SoundImage* sound) {
    static_cast<Pass*>(context)->cues.push_back(SoundCue{frame, sound});
}

bool take_frame(void* context, int64_t frame, const uint32_t* pixels) {
    Pass& pass = *static_cast<Pass*>(context);
    if (interrupt_requested()) {
        pass.error = "interrupted";
        return false;
    }
    if (!pixels) return true;
    if (pass.encoder) {
        if (!write_process_pipe(pass.encoder, pixels, size_t(ScreenWidth) * size_t(ScreenHeight) * 4)) {
            pass.encoderQuit = true;
            return false;
        }
    } else {
        char name[40];
        std::snprintf(name, sizeof name, "/frame_%06" PRId64 ".png", frame);
        if (!write_png(pass.folder + name, pixels, ScreenWidth, ScreenHeight, ScreenWidth, false, &pass.error))
            return false;
    }
    if (pass.progress) report_progress(*pass.progress, frame);
    return true;
}

// Plays the show once from its start, for frameLimit frames or (when that is
// 0) until request.seconds into the finale; false with a message in *error
// when it was interrupted or failed. *report says how many frames ran.
bool play_show(const CaptureRequest& request, bool render, int64_t frameLimit, Pass* pass, FrameLoopReport* report,
               std::string* error) {
    reset_scene();
    HeadlessOptions headless;
    headless.fps = request.fps;
    if (!platform_open_headless(headless, error)) return false;
    FrameLoopOptions options;
    options.render = render;
    options.workers = request.workers;
    options.trace = render ? request.trace : nullptr;
    options.hooks = FrameHooks{pass, take_frame, collect_cue};
    options.report = report;
    if (frameLimit > 0) {
        options.maxFrames = frameLimit;
    } else {
        options.framesAfterFinale = request.seconds * request.fps;
        options.maxFrames = (FinaleSearchSeconds + request.seconds) * request.fps;
    }
    const int code = run_frames(options);
    platform_close();
    if (code != 0) {
        *error = pass->error.empty() ? "the show stopped early" : pass->error;
        return false;
    }
    return true;
}

// The counting pass: the number of frames to capture and the cues in them.
bool count_frames(const CaptureRequest& request, int64_t* frames, std::vector<SoundCue>* cues, std::string* error) {
    Pass pass;
    FrameLoopReport report;
    if (!play_show(request, false, request.frames, &pass, &report, error)) return false;
    if (request.frames == 0 && report.finaleFrame == 0) {
        *error = "the show did not reach its finale within " + std::to_string(FinaleSearchSeconds) + " s";
        return false;
    }
    *frames = report.frames;
    *cues = pass.cues;
    return true;
}

bool same_cues(const std::vector<SoundCue>& a, const std::vector<SoundCue>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].frame != b[i].frame || a[i].sound != b[i].sound) return false;
    return true;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Waits for the encoder to finish the file; when the capture failed
// elsewhere (ok false) the encoder is stopped at once, its half-made file to
// be removed. When it gave up by itself, its exit code says so.
bool finish_encoder(Pass& pass, bool ok, std::string* error) {
    const int code = close_process_pipe(pass.encoder, !ok && !pass.encoderQuit);
    pass.encoder = nullptr;
    if (pass.encoderQuit || (ok && code != 0)) {
        *error = code >= 0 ? "ffmpeg failed (exit code " + std::to_string(code) + ")" : "ffmpeg was ended by a signal";
        return false;
    }
    return ok;
}

// Everything after the checks; on false *error says what failed and the
// caller removes the partial output.
bool capture(const CaptureRequest& request, const CaptureFiles& files, const std::string& ffmpeg,
             std::string* error) {
    // Claiming the temporary name first shows at once whether OUT's folder can be written.
    if (files.format == CaptureFormat::Folder) {
        if (!make_directory(files.temporary, error)) return false;
    } else {
        std::FILE* const claim = std::fopen(files.temporary.c_str(), "wb");
        if (!claim || std::fclose(claim) != 0) {
            *error = "cannot write " + files.temporary;
            return false;
        }
    }

    const auto start = std::chrono::steady_clock::now();
    std::printf("counting the frames of the show...\n");
    std::fflush(stdout);
    int64_t frames = 0;
    std::vector<SoundCue> cues;
    if (!count_frames(request, &frames, &cues, error)) return false;
    SoundTrack track;
    if (!mix_sound_track(cues, frames, request.fps, &track, error)) return false;
    if (!write_wav_file(files.audio, track, error)) return false;

    Pass pass;
    if (files.format == CaptureFormat::Folder) {
        pass.folder = files.temporary;
    } else {
        pass.encoder = open_process_pipe(
            encoder_arguments(ffmpeg, files.format, request.fps, files.audio, files.temporary), error);
        if (!pass.encoder) return false;
    }
    const double length = double(frames) / request.fps;
    std::printf("capturing %" PRId64 " frames (%d:%02d at %d frames a second) into %s\n", frames, int(length) / 60,
                int(length) % 60, request.fps, files.out.c_str());
    Progress progress = start_progress(stdout, stdout_is_terminal(), frames);
    pass.progress = &progress;
    FrameLoopReport report;
    bool ok = play_show(request, true, frames, &pass, &report, error) && report.frames == frames;
    if (ok) {
        finish_progress(progress, report.frames);
    } else if (progress.terminal) {
        std::fputs("\n", stdout); // ends the progress line before the message
    }
    if (pass.encoder) ok = finish_encoder(pass, ok, error);
    if (!ok) {
        if (error->empty()) *error = "the show stopped early";
        return false;
    }
    if (interrupt_requested()) {
        *error = "interrupted";
        return false;
    }
    if (!same_cues(cues, pass.cues)) {
        *error = "the rendered show issued other sound cues than the counting pass, so the sound track "
                 "would be out of step";
        return false;
    }
    if (files.format != CaptureFormat::Folder) remove_tree(files.audio);
    if (!rename_path(files.temporary, files.out, error)) return false;
    std::printf("wrote %s: %" PRId64 " frames in %.1f s\n", files.out.c_str(), frames, seconds_since(start));
    return true;
}

bool ends_with(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string parent_folder(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool folder_is_empty(const std::string& path) {
    std::error_code code;
    return std::filesystem::is_empty(path, code) && !code;
}

} // namespace

bool check_capture_output(const std::string& out, std::string* error) {
    const CaptureFiles files = capture_files(out);
    const std::string base = files.out.substr(files.out.rfind('/') == std::string::npos ? 0 : files.out.rfind('/') + 1);
    if (base.empty() || base == "." || base == ".." || files.out == "/") {
        *error = "--capture needs a file or folder name, got \"" + out + "\"";
        return false;
    }
    if (ends_with(base, ".part")) {
        *error = "--capture: names ending in .part are the capture's temporary names";
        return false;
    }
    const std::string parent = parent_folder(files.out);
    if (!is_directory(parent)) {
        *error = "cannot write " + files.out + ": the folder " + parent + " does not exist";
        return false;
    }
    if (files.format == CaptureFormat::Folder) {
        if (path_exists(files.out) && !(is_directory(files.out) && folder_is_empty(files.out))) {
            *error = "cannot write the folder " + files.out + ": it exists and is not an empty folder";
            return false;
        }
    } else if (is_directory(files.out)) {
        *error = "cannot write " + files.out + ": it is a folder";
        return false;
    }
    std::vector<std::string> temporaries = {files.temporary};
    if (files.format != CaptureFormat::Folder) temporaries.insert(temporaries.end(), {files.audio, files.audio + ".part"});
    for (const std::string& taken : temporaries) {
        if (path_exists(taken)) {
            *error = "cannot write " + files.out + ": " + taken + " is in the way (left by an earlier capture?)";
            return false;
        }
    }
    return true;
}

int run_capture(const CaptureRequest& request) {
    const CaptureFiles files = capture_files(request.out);
    std::string ffmpeg;
    if (files.format != CaptureFormat::Folder) {
        ffmpeg = find_program("ffmpeg");
        if (ffmpeg.empty()) {
            std::fprintf(stderr,
                         "quorvalite: cannot make %s: ffmpeg is not installed (no ffmpeg on PATH).\n"
                         "Install the Debian package ffmpeg (apt-get install ffmpeg), or capture into a folder.\n",
                         files.out.c_str());
            return 1;
        }
    }
    install_interrupt_handler();
    std::string error;
    if (!capture(request, files, ffmpeg, &error)) {
        remove_partial_output(files);
        std::fprintf(stderr, "quorvalite: the capture failed: %s; nothing was written\n", error.c_str());
        return 1;
    }
    return 0;
}

// The capture: a quick pass without rendering counts the frames and collects
// the sound cues (the show and the camera never look at pixels); the sound
// track is mixed from the cues; then the show is played again from its start
// and every frame goes to the encoder or into the folder. Everything is
// written into a work folder of the run's own, and a video is read back
// before the result takes its name by one rename.
#include "capture/capture.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <filesystem>

#include "capture/sound_track.h"
#include "capture/video_encoder.h"
#include "frame/headless_play.h"
#include "frame/trace.h"
#include "platform/platform.h"
#include "system/progress.h"
#include "system/system.h"

namespace {

// The names a capture writes. Everything is made in a work folder of this
// run's own beside the result, created where nothing was, so that captures
// to one name running at once never touch each other's files; the result
// takes its name by one rename when complete.
struct CaptureFiles {
    CaptureFormat format = CaptureFormat::Folder;
    std::string out;    // the result
    std::string work;   // OUT.XXXXXX.part: the folder of PNG files itself, or what ffmpeg reads and writes
    std::string video;  // work/video.EXT: the file ffmpeg writes
    std::string audio;  // work/audio.wav: the sound track
};

const char* const WorkSuffix = ".part";

CaptureFiles capture_files(const std::string& name) {
    CaptureFiles files;
    files.format = capture_format(name);
    files.out = name;
    // "frames/" names the folder "frames".
    while (files.out.size() > 1 && is_path_separator(files.out.back())) files.out.pop_back();
    return files;
}

// Makes this run's work folder and names the files in it.
bool claim_work_folder(CaptureFiles* files, std::string* error) {
    if (!make_unique_directory(files->out + ".", WorkSuffix, &files->work, error)) return false;
    files->audio = files->work + "/audio.wav";
    if (files->format != CaptureFormat::Folder) files->video = files->work + "/video" + format_extension(files->format);
    return true;
}

bool ends_with(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string parent_folder(const std::string& path) {
    const size_t slash = last_path_separator(path);
    if (slash == std::string::npos) return ".";
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string base_name(const std::string& path) {
    const size_t slash = last_path_separator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Work folders of other captures of the same name, still running or ended
// by a kill, are left alone; the user is told they are there.
void mention_other_work_folders(const CaptureFiles& files) {
    const std::string prefix = base_name(files.out) + ".";
    const size_t length = prefix.size() + 6 + std::string(WorkSuffix).size();
    std::error_code code;
    for (std::filesystem::directory_iterator entry(parent_folder(files.out), code), end; !code && entry != end;
         entry.increment(code)) {
        const std::string name = entry->path().filename().string();
        if (name.size() != length || name.rfind(prefix, 0) != 0 || !ends_with(name, WorkSuffix)) continue;
        std::fprintf(stderr,
                     "quorvalite: note: %s/%s is the work folder of another capture of %s, still running or "
                     "stopped by force; it is left alone (remove it once no such capture runs)\n",
                     parent_folder(files.out).c_str(), name.c_str(), files.out.c_str());
    }
}

// Where the rendered frames go: into the encoder's pipe for a video, or as
// PNG files into a folder.
struct FrameSink {
    ProcessPipe* encoder = nullptr;
    std::string folder;
    bool encoderQuit = false; // the encoder stopped reading frames
};

bool take_frame(FrameSink& sink, int64_t frame, std::string* error) {
    if (sink.encoder) {
        if (write_process_pipe(sink.encoder, FrameBuffer, size_t(ScreenWidth) * size_t(ScreenHeight) * 4)) return true;
        sink.encoderQuit = true;
        return false;
    }
    char name[40];
    std::snprintf(name, sizeof name, "/frame_%06" PRId64 ".png", frame);
    return write_png(sink.folder + name, FrameBuffer, ScreenWidth, ScreenHeight, ScreenWidth, false, error);
}

// The counting pass: the number of frames to capture and the cues in them.
bool count_frames(const CaptureRequest& request, int64_t* frames, std::vector<SoundCue>* cues, std::string* error) {
    return measure_play(request.fps, PlayLength{request.frames, request.seconds * request.fps}, frames, cues, error);
}

// The rendering pass: the show played again from its start, every frame
// handed to the sink, and the cues collected to compare with the counting
// pass. False with a message when it was interrupted or a frame could not
// be taken.
bool play_rendered(const CaptureRequest& request, int64_t frames, FrameSink& sink, Progress& progress,
                   std::vector<SoundCue>* cues, std::string* error) {
    if (!platform_open_headless(request.fps, error)) return false;
    FrameState state;
    bool ok = start_frames(state, request.workers, error);
    while (ok && state.frame < frames) {
        if (interrupt_requested()) {
            *error = "interrupted";
            ok = false;
            break;
        }
        const FrameReport report = run_headless_frame(state);
        for (const SoundImage* sound : report.cues) cues->push_back(SoundCue{report.frame, sound});
        ok = take_frame(sink, report.frame, error);
        if (ok && request.trace) write_trace(request.trace, report, state);
        if (ok) report_progress(progress, report.frame);
    }
    end_frames(state);
    platform_close();
    return ok;
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
bool finish_encoder(FrameSink& sink, bool ok, std::string* error) {
    const int code = close_process_pipe(sink.encoder, !ok && !sink.encoderQuit);
    sink.encoder = nullptr;
    if (sink.encoderQuit || (ok && code != 0)) {
        *error = code >= 0 ? "ffmpeg failed (exit code " + std::to_string(code) + ")" : "ffmpeg was ended by a signal";
        return false;
    }
    return ok;
}

// The programs a video needs, found on PATH.
struct Encoder {
    std::string ffmpeg;
    std::string ffprobe;
};

// The second play: every frame rendered and handed to the encoder or written
// into the folder, with the same cues as the counting pass.
bool render_frames(const CaptureRequest& request, const CaptureFiles& files, const Encoder& encoder, int64_t frames,
                   const std::vector<SoundCue>& cues, std::string* error) {
    FrameSink sink;
    if (files.format == CaptureFormat::Folder) {
        sink.folder = files.work;
    } else {
        sink.encoder = open_process_pipe(
            encoder_arguments(encoder.ffmpeg, files.format, request.fps, files.audio, files.video), error);
        if (!sink.encoder) return false;
    }
    const double length = double(frames) / request.fps;
    std::printf("capturing %" PRId64 " frames (%d:%02d at %d frames a second) into %s\n", frames, int(length) / 60,
                int(length) % 60, request.fps, files.out.c_str());
    Progress progress = start_progress(stdout, stdout_is_terminal(), frames);
    std::vector<SoundCue> renderedCues;
    bool ok = play_rendered(request, frames, sink, progress, &renderedCues, error);
    if (ok) {
        finish_progress(progress, frames);
    } else {
        end_progress_line(progress); // before the message
    }
    if (sink.encoder) ok = finish_encoder(sink, ok, error);
    if (!ok) {
        if (error->empty()) *error = "the show stopped early";
        return false;
    }
    if (!same_cues(cues, renderedCues)) {
        *error = "the rendered show issued other sound cues than the counting pass, so the sound track "
                 "would be out of step";
        return false;
    }
    return true;
}

// ffmpeg can end with success after failing to finish its file (a disk that
// fills while it writes the index), so the file is read back before it may
// take OUT's name: both streams, every frame, the whole length.
bool check_video(const CaptureFiles& files, const Encoder& encoder, int64_t frames, int32_t fps,
                 std::string* error) {
    std::string report;
    int code = 0;
    if (!run_process_output(probe_arguments(encoder.ffprobe, files.video), &report, &code, error)) return false;
    std::string problem;
    if (check_probed_video(report, files.format, frames, fps, &problem)) return true;
    *error = "the video ffmpeg made is incomplete: " + problem;
    return false;
}

// Everything after the checks; on false *error says what failed and the
// caller removes the work folder.
bool capture(const CaptureRequest& request, CaptureFiles* files, const Encoder& encoder, std::string* error) {
    // Claiming the work folder first shows at once whether OUT's folder can be written.
    if (!claim_work_folder(files, error)) return false;

    const auto start = std::chrono::steady_clock::now();
    std::printf("counting the frames of the show...\n");
    std::fflush(stdout);
    int64_t frames = 0;
    std::vector<SoundCue> cues;
    if (!count_frames(request, &frames, &cues, error)) return false;
    SoundTrack track;
    if (!mix_sound_track(cues, frames, request.fps, &track, error)) return false;
    if (!write_wav_file(files->audio, track, error)) return false;
    track = SoundTrack{};

    if (!render_frames(request, *files, encoder, frames, cues, error)) return false;
    if (files->format != CaptureFormat::Folder && !check_video(*files, encoder, frames, request.fps, error))
        return false;
    if (interrupt_requested()) {
        *error = "interrupted";
        return false;
    }
    // One rename puts the complete result in place: a video replaces a file
    // of its name, a folder only an empty folder.
    const std::string& result = files->format == CaptureFormat::Folder ? files->work : files->video;
    if (!rename_path(result, files->out, error)) return false;
    if (files->format != CaptureFormat::Folder) remove_tree(files->work);
    std::printf("wrote %s: %" PRId64 " frames in %.1f s\n", files->out.c_str(), frames, seconds_since(start));
    return true;
}

bool folder_is_empty(const std::string& path) {
    std::error_code code;
    return std::filesystem::is_empty(path, code) && !code;
}

// The longest sound track a WAV file holds: its sizes are 32-bit numbers.
constexpr int64_t MaxTrackSamples = (int64_t(0xFFFFFFFF) - 36) / 2;

} // namespace

bool check_capture_output(const std::string& out, std::string* error) {
    const CaptureFiles files = capture_files(out);
    const std::string base = base_name(files.out);
    if (base.empty() || base == "." || base == ".." || files.out == "/") {
        *error = "--capture needs a file or folder name, got \"" + out + "\"";
        return false;
    }
    if (files.format == CaptureFormat::Unsupported) {
        *error = "--capture " + out + ": a video name ends in .mp4, .mkv or .webm; a name without an extension, "
                 "or ending in '/', is a folder of PNG frames";
        return false;
    }
    if (ends_with(base, WorkSuffix)) {
        *error = "--capture: names ending in .part are the capture's work folders";
        return false;
    }
    const std::string parent = parent_folder(files.out);
    std::string reason;
    if (!directory_writable(parent, &reason)) {
        *error = "cannot write " + files.out + ": " + reason;
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
    return true;
}

bool check_capture_length(int64_t frames, int32_t fps, std::string* error) {
    if (frames <= 0 || fps <= 0) return true;
    const int64_t maxFrames = MaxTrackSamples * fps / SoundTrackRate;
    if (frames <= maxFrames) return true;
    const int64_t minutes = MaxTrackSamples / SoundTrackRate / 60;
    char text[200];
    std::snprintf(text, sizeof text,
                  "--capture: at most %" PRId64 " frames at %d frames a second (%d h %02d min: a WAV sound track "
                  "holds at most 4 GiB)",
                  maxFrames, fps, int(minutes / 60), int(minutes % 60));
    *error = text;
    return false;
}

int run_capture(const CaptureRequest& request) {
    CaptureFiles files = capture_files(request.out);
    std::string error;
    if (!check_capture_length(request.frames, request.fps, &error)) {
        std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
        return 2;
    }
    Encoder encoder;
    if (files.format != CaptureFormat::Folder) {
        encoder.ffmpeg = find_program("ffmpeg");
        encoder.ffprobe = find_program("ffprobe");
        if (encoder.ffmpeg.empty() || encoder.ffprobe.empty()) {
            const char* const missing = encoder.ffmpeg.empty() ? "ffmpeg" : "ffprobe";
            std::fprintf(stderr,
                         "quorvalite: cannot make %s: %s is not installed (no %s on PATH).\n"
                         "Install the Debian package ffmpeg (apt-get install ffmpeg), or capture into a folder.\n",
                         files.out.c_str(), missing, missing);
            return 1;
        }
    }
    mention_other_work_folders(files);
    install_interrupt_handler();
    if (!capture(request, &files, encoder, &error)) {
        if (!files.work.empty()) remove_tree(files.work);
        std::fprintf(stderr, "quorvalite: the capture failed: %s; nothing was written\n", error.c_str());
        return 1;
    }
    return 0;
}

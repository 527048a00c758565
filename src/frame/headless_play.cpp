#include "frame/headless_play.h"

#include "platform/platform.h"
#include "show/show.h"

FrameReport run_headless_frame(FrameState& state) {
    set_virtual_frame(state.frame + 1);
    return run_frame(state);
}

bool play_ends(const PlayLength& length, const FrameState& state, int64_t* finaleFrame) {
    if (*finaleFrame == 0 && state.show->step == FinaleStep) *finaleFrame = state.frame;
    if (length.frames > 0) return state.frame >= length.frames;
    return *finaleFrame > 0 && state.frame >= *finaleFrame + length.framesAfterFinale;
}

bool measure_play(int32_t fps, const PlayLength& length, int64_t* frames, std::vector<SoundCue>* cues,
                  std::string* error) {
    if (!platform_open_headless(fps, error)) return false;
    FrameState state;
    if (!start_frames(state, 0, error)) {
        end_frames(state);
        platform_close();
        return false;
    }
    const int64_t searchFrames = FinaleSearchSeconds * fps + length.framesAfterFinale;
    int64_t finaleFrame = 0;
    bool ended = false;
    while (!ended && (length.frames > 0 || state.frame < searchFrames)) {
        const FrameReport report = run_headless_frame(state);
        if (cues)
            for (const SoundImage* sound : report.cues) cues->push_back(SoundCue{report.frame, sound});
        ended = play_ends(length, state, &finaleFrame);
    }
    *frames = state.frame;
    end_frames(state);
    platform_close();
    if (!ended) *error = "the show did not reach its finale within " + std::to_string(FinaleSearchSeconds) + " s";
    return ended;
}

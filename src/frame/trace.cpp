#include "frame/trace.h"

#include <cinttypes>

#include "frame/frame_loop.h"
#include "platform/platform.h"

void write_trace(std::FILE* trace, const FrameReport& report, const FrameState& state) {
    for (const SoundImage* sound : report.cues)
        std::fprintf(trace, "sound %" PRId64 " %s\n", report.frame, sound->name ? sound->name : "?");
    const ShowState& show = *state.show;
    const Camera& camera = *state.camera;
    std::fprintf(trace,
                 "frame %" PRId64 " time %.17g step %d substep %d x %.17g y %.17g z %.17g renderZ %.17g heading %.17g"
                 " fallSpeed %.17g onGround %d horizon %d\n",
                 report.frame, report.timeMs, show.step, show.substep, camera.x, camera.y, camera.z, camera.renderZ,
                 camera.heading, camera.fallSpeed, camera.onGround, *state.horizon);
    std::fflush(trace);
}

// Trace lines.
#include "frame/trace.h"

#include <cinttypes>

#include "camera/camera.h"
#include "show/show.h"

void write_trace_frame(std::FILE* trace, int64_t frame, double time, const ShowState& show, const Camera& camera,
                       int32_t horizon) {
    std::fprintf(trace,
                 "frame %" PRId64 " time %.17g step %d substep %d x %.17g y %.17g z %.17g renderZ %.17g heading %.17g"
                 " fallSpeed %.17g onGround %d horizon %d\n",
                 frame, time, show.step, show.substep, camera.x, camera.y, camera.z, camera.renderZ, camera.heading,
                 camera.fallSpeed, camera.onGround, horizon);
}

void write_trace_sound(std::FILE* trace, int64_t frame, const char* name) {
    std::fprintf(trace, "sound %" PRId64 " %s\n", frame, name ? name : "?");
}

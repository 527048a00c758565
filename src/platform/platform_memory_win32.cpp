// The frame buffer's memory on Windows: pages straight from the system,
// zero-filled and aligned far beyond a cache line. Large pages there need a
// privilege that a demo's user does not hold, so these are ordinary ones.
#include <windows.h>

#include "platform/backend.h"

void* allocate_frame_block(size_t bytes) {
    return VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

// The frame buffer's memory on POSIX systems. A tile is copied out row by
// row, each row 7680 bytes from the last and so on a small page of its own:
// on 2 MiB pages the whole frame takes four address translations instead of
// two thousand, and the copy stops missing them. Where the system has no
// such pages (or declines the advice) the block is ordinary memory.
#include <cstdlib>
#include <cstring>

#include <sys/mman.h>

#include "platform/backend.h"

namespace {
constexpr size_t LargePage = size_t(2) << 20;
}

void* allocate_frame_block(size_t bytes) {
    // aligned_alloc wants a multiple of the alignment; whole large pages
    // also keep the buffer's neighbours off them.
    const size_t rounded = (bytes + LargePage - 1) / LargePage * LargePage;
    void* const block = std::aligned_alloc(LargePage, rounded);
    if (!block) return nullptr;
#if defined(MADV_HUGEPAGE)
    madvise(block, rounded, MADV_HUGEPAGE);
#endif
    // Clearing it now also takes the pages from the system before the first frame.
    std::memset(block, 0, rounded);
    return block;
}

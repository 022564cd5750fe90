#include "AudioThreadGuard.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>

#include <dlfcn.h>
#include <pthread.h>

// glibc's own allocator entry points, which the replacements below forward to.
extern "C"
{
    void* __libc_malloc (size_t);
    void* __libc_calloc (size_t, size_t);
    void* __libc_realloc (void*, size_t);
    void* __libc_memalign (size_t, size_t);
    void* __libc_valloc (size_t);
    void* __libc_pvalloc (size_t);
    void __libc_free (void*);
}

namespace
{
    // Plain thread_local bool: trivially initialised, so reading it never allocates.
    thread_local bool isAudioThread = false;

    std::atomic<long> allocations { 0 };
    std::atomic<long> deallocations { 0 };
    std::atomic<long> locks { 0 };
    std::atomic<bool> abortOnViolation { false };

    void count (std::atomic<long>& counter) noexcept
    {
        if (! isAudioThread)
            return;

        counter.fetch_add (1, std::memory_order_relaxed);

        if (abortOnViolation.load (std::memory_order_relaxed))
            std::abort();
    }

    template <typename Function>
    Function nextSymbol (std::atomic<Function>& cache, const char* name) noexcept
    {
        auto function = cache.load (std::memory_order_acquire);

        if (function == nullptr)
        {
            function = reinterpret_cast<Function> (dlsym (RTLD_NEXT, name));
            cache.store (function, std::memory_order_release);
        }

        return function;
    }

    using MutexLock = int (*) (pthread_mutex_t*);
    using RwLock = int (*) (pthread_rwlock_t*);

    std::atomic<MutexLock> nextMutexLock { nullptr };
    std::atomic<RwLock> nextReadLock { nullptr };
    std::atomic<RwLock> nextWriteLock { nullptr };

    // Resolve the real lock functions before main, while only one thread runs.
    [[maybe_unused]] const bool locksResolved = nextSymbol (nextMutexLock, "pthread_mutex_lock") != nullptr
                                                && nextSymbol (nextReadLock, "pthread_rwlock_rdlock") != nullptr
                                                && nextSymbol (nextWriteLock, "pthread_rwlock_wrlock") != nullptr;
}

//==============================================================================
namespace AudioThreadGuard
{
    Counts counts() noexcept
    {
        return { allocations.load(), deallocations.load(), locks.load() };
    }

    void reset() noexcept
    {
        allocations = 0;
        deallocations = 0;
        locks = 0;
    }

    ScopedAudioThread::ScopedAudioThread() noexcept
    {
        const auto* setting = std::getenv ("ZURIZAZ_ABORT_ON_AUDIO_THREAD_VIOLATION");
        abortOnViolation = setting != nullptr && setting[0] == '1';
        isAudioThread = true;
    }

    ScopedAudioThread::~ScopedAudioThread() noexcept
    {
        isAudioThread = false;
    }
}

//==============================================================================
// The C library's allocator.
extern "C"
{
    void* malloc (size_t size)
    {
        count (allocations);
        return __libc_malloc (size);
    }

    void* calloc (size_t number, size_t size)
    {
        count (allocations);
        return __libc_calloc (number, size);
    }

    void* realloc (void* pointer, size_t size)
    {
        count (allocations);
        return __libc_realloc (pointer, size);
    }

    void* memalign (size_t alignment, size_t size)
    {
        count (allocations);
        return __libc_memalign (alignment, size);
    }

    void* aligned_alloc (size_t alignment, size_t size)
    {
        count (allocations);
        return __libc_memalign (alignment, size);
    }

    int posix_memalign (void** result, size_t alignment, size_t size)
    {
        count (allocations);

        if (alignment % sizeof (void*) != 0 || (alignment & (alignment - 1)) != 0)
            return EINVAL;

        auto* pointer = __libc_memalign (alignment, size);

        if (pointer == nullptr)
            return ENOMEM;

        *result = pointer;
        return 0;
    }

    void* valloc (size_t size)
    {
        count (allocations);
        return __libc_valloc (size);
    }

    void* pvalloc (size_t size)
    {
        count (allocations);
        return __libc_pvalloc (size);
    }

    void free (void* pointer)
    {
        if (pointer != nullptr)
            count (deallocations);

        __libc_free (pointer);
    }

    //==============================================================================
    // Blocking locks. try-locks stay uncounted: a failed try costs the audio thread nothing.
    int pthread_mutex_lock (pthread_mutex_t* mutex)
    {
        count (locks);
        return nextSymbol (nextMutexLock, "pthread_mutex_lock") (mutex);
    }

    int pthread_rwlock_rdlock (pthread_rwlock_t* lock)
    {
        count (locks);
        return nextSymbol (nextReadLock, "pthread_rwlock_rdlock") (lock);
    }

    int pthread_rwlock_wrlock (pthread_rwlock_t* lock)
    {
        count (locks);
        return nextSymbol (nextWriteLock, "pthread_rwlock_wrlock") (lock);
    }
}

//==============================================================================
// operator new and delete, so that no library's own replacement bypasses the count.
namespace
{
    void* allocateOrThrow (size_t size)
    {
        if (auto* pointer = malloc (size == 0 ? 1 : size))
            return pointer;

        throw std::bad_alloc();
    }

    void* allocateAlignedOrThrow (size_t size, std::align_val_t alignment)
    {
        if (auto* pointer = aligned_alloc (static_cast<size_t> (alignment), size == 0 ? 1 : size))
            return pointer;

        throw std::bad_alloc();
    }
}

void* operator new (size_t size) { return allocateOrThrow (size); }
void* operator new[] (size_t size) { return allocateOrThrow (size); }
void* operator new (size_t size, const std::nothrow_t&) noexcept { return malloc (size == 0 ? 1 : size); }
void* operator new[] (size_t size, const std::nothrow_t&) noexcept { return malloc (size == 0 ? 1 : size); }
void* operator new (size_t size, std::align_val_t alignment) { return allocateAlignedOrThrow (size, alignment); }
void* operator new[] (size_t size, std::align_val_t alignment) { return allocateAlignedOrThrow (size, alignment); }
void* operator new (size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return aligned_alloc (static_cast<size_t> (alignment), size == 0 ? 1 : size);
}
void* operator new[] (size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return aligned_alloc (static_cast<size_t> (alignment), size == 0 ? 1 : size);
}

void operator delete (void* pointer) noexcept { free (pointer); }
void operator delete[] (void* pointer) noexcept { free (pointer); }
void operator delete (void* pointer, size_t) noexcept { free (pointer); }
void operator delete[] (void* pointer, size_t) noexcept { free (pointer); }
void operator delete (void* pointer, const std::nothrow_t&) noexcept { free (pointer); }
void operator delete[] (void* pointer, const std::nothrow_t&) noexcept { free (pointer); }
void operator delete (void* pointer, std::align_val_t) noexcept { free (pointer); }
void operator delete[] (void* pointer, std::align_val_t) noexcept { free (pointer); }
void operator delete (void* pointer, size_t, std::align_val_t) noexcept { free (pointer); }
void operator delete[] (void* pointer, size_t, std::align_val_t) noexcept { free (pointer); }
void operator delete (void* pointer, std::align_val_t, const std::nothrow_t&) noexcept { free (pointer); }
void operator delete[] (void* pointer, std::align_val_t, const std::nothrow_t&) noexcept { free (pointer); }

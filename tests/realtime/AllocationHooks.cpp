// The hooks forward to glibc's own entry points (__libc_malloc and friends,
// the next pthread_mutex_lock) after counting. Counting touches only
// thread-local plain integers, so the hooks neither allocate nor lock.
#include "AllocationHooks.h"

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace realtime {
namespace {
thread_local bool watching = false;
thread_local Counts counts;

inline void noteAllocation() {
    if (watching) ++counts.allocations;
}
inline void noteFree(void* p) {
    if (watching && p) ++counts.frees;
}
inline void noteLock() {
    if (watching) ++counts.locks;
}

// The next definition of `name` (glibc's), looked up once.
template <typename Function>
Function next(std::atomic<Function>& slot, const char* name) {
    Function f = slot.load(std::memory_order_acquire);
    if (!f) {
        f = reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
        slot.store(f, std::memory_order_release);
    }
    return f;
}
}  // namespace

void watch(bool on) { watching = on; }
Counts counted() { return counts; }
void resetCounts() { counts = Counts{}; }

}  // namespace realtime

using realtime::noteAllocation;
using realtime::noteFree;
using realtime::noteLock;

// Exported whatever the build's default visibility: the library binds to them.
#define BRENNIX_HOOK __attribute__((visibility("default")))

extern "C" {

BRENNIX_HOOK void* malloc(size_t size) {
    noteAllocation();
    return __libc_malloc(size);
}

BRENNIX_HOOK void* calloc(size_t count, size_t size) {
    noteAllocation();
    return __libc_calloc(count, size);
}

BRENNIX_HOOK void* realloc(void* p, size_t size) {
    noteAllocation();
    return __libc_realloc(p, size);
}

BRENNIX_HOOK void free(void* p) {
    noteFree(p);
    __libc_free(p);
}

BRENNIX_HOOK void* memalign(size_t alignment, size_t size) {
    noteAllocation();
    return __libc_memalign(alignment, size);
}

BRENNIX_HOOK void* aligned_alloc(size_t alignment, size_t size) {
    noteAllocation();
    return __libc_memalign(alignment, size);
}

BRENNIX_HOOK int posix_memalign(void** out, size_t alignment, size_t size) {
    noteAllocation();
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
    void* p = __libc_memalign(alignment, size);
    if (!p) return ENOMEM;
    *out = p;
    return 0;
}

BRENNIX_HOOK int pthread_mutex_lock(pthread_mutex_t* mutex) {
    static std::atomic<int (*)(pthread_mutex_t*)> real{nullptr};
    noteLock();
    return realtime::next(real, "pthread_mutex_lock")(mutex);
}

BRENNIX_HOOK int pthread_rwlock_rdlock(pthread_rwlock_t* lock) {
    static std::atomic<int (*)(pthread_rwlock_t*)> real{nullptr};
    noteLock();
    return realtime::next(real, "pthread_rwlock_rdlock")(lock);
}

BRENNIX_HOOK int pthread_rwlock_wrlock(pthread_rwlock_t* lock) {
    static std::atomic<int (*)(pthread_rwlock_t*)> real{nullptr};
    noteLock();
    return realtime::next(real, "pthread_rwlock_wrlock")(lock);
}

}  // extern "C"

// Every form of operator new and delete goes through the counted malloc and free.
namespace {
void* allocate(size_t size) {
    void* p = malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
void* allocateAligned(size_t size, std::align_val_t alignment) {
    void* p = aligned_alloc(size_t(alignment), size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
}  // namespace

BRENNIX_HOOK void* operator new(size_t size) { return allocate(size); }
BRENNIX_HOOK void* operator new[](size_t size) { return allocate(size); }
BRENNIX_HOOK void* operator new(size_t size, const std::nothrow_t&) noexcept { return malloc(size ? size : 1); }
BRENNIX_HOOK void* operator new[](size_t size, const std::nothrow_t&) noexcept { return malloc(size ? size : 1); }
BRENNIX_HOOK void* operator new(size_t size, std::align_val_t a) { return allocateAligned(size, a); }
BRENNIX_HOOK void* operator new[](size_t size, std::align_val_t a) { return allocateAligned(size, a); }
BRENNIX_HOOK void operator delete(void* p) noexcept { free(p); }
BRENNIX_HOOK void operator delete[](void* p) noexcept { free(p); }
BRENNIX_HOOK void operator delete(void* p, size_t) noexcept { free(p); }
BRENNIX_HOOK void operator delete[](void* p, size_t) noexcept { free(p); }
BRENNIX_HOOK void operator delete(void* p, std::align_val_t) noexcept { free(p); }
BRENNIX_HOOK void operator delete[](void* p, std::align_val_t) noexcept { free(p); }
BRENNIX_HOOK void operator delete(void* p, size_t, std::align_val_t) noexcept { free(p); }
BRENNIX_HOOK void operator delete[](void* p, size_t, std::align_val_t) noexcept { free(p); }
BRENNIX_HOOK void operator delete(void* p, const std::nothrow_t&) noexcept { free(p); }
BRENNIX_HOOK void operator delete[](void* p, const std::nothrow_t&) noexcept { free(p); }

// Counts, per thread, the heap calls and lock acquisitions made while the
// thread is watched. The hooks replace malloc, calloc, realloc, the aligned
// allocators, free, every operator new and delete, and pthread_mutex_lock and
// the read-write locks for the whole test program, the plug-in library that
// it loads included (the program exports them, so the library binds to them).
#pragma once

#include <cstddef>

namespace realtime {

struct Counts {
    long allocations = 0;
    long frees = 0;
    long locks = 0;
    long total() const { return allocations + frees + locks; }
};

// Starts or stops watching the calling thread; other threads are never counted.
void watch(bool on);
// What the calling thread did while watched since the last reset.
Counts counted();
void resetCounts();

}  // namespace realtime

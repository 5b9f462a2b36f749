#include "framework/MemoryRelease.h"

#include <cstdlib> // defines __GLIBC__ with the C library's version

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void returnFreedMemoryPromptly() {
#if defined(__GLIBC__)
    // One heap for all threads. A heap of its own per thread is never trimmed at its end (only
    // the main heap is), so what a scene read on another thread leaves there free stays the
    // process's, up to 64 MiB per heap.
    mallopt(M_ARENA_MAX, 1);
#endif
}

void giveFreedMemoryBack() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

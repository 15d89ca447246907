// The C library's heap, tuned for programs that draw every frame. OpenGL
// drivers allocate and free several megabytes per frame; by default glibc
// serves such blocks with fresh mappings and hands the top of the heap
// back to the kernel each time, so every frame pays again for page faults
// on memory it just had. Large thresholds keep that memory in the heap.
#pragma once

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tintwalk {

inline void KeepHeapForDrawing() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

}  // namespace tintwalk

// Windows: the commit charge left and the process's free address space. An
// allocation beyond either fails at once, but asking first gives the same
// answer as on Linux before any memory is taken.
#include <windows.h>

#include <algorithm>

#include "platform/memory_budget.h"

namespace tintwalk {

uint64_t UsableMemory(const std::string&, const std::string&) {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status))
        return UINT64_MAX;
    return std::min<uint64_t>(status.ullAvailPageFile, status.ullAvailVirtual);
}

bool MemoryFits(uint64_t bytes) {
    return bytes <= UsableMemory();
}

}  // namespace tintwalk

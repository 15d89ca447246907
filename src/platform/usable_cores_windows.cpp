// Windows: the processors of the process's affinity mask.
#include <windows.h>

#include <bit>

#include "platform/usable_cores.h"

namespace tintwalk {

uint32_t UsableCores(const std::string&, const std::string&) {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system) || process == 0)
        return 1;
    return static_cast<uint32_t>(std::popcount(static_cast<uint64_t>(process)));
}

}  // namespace tintwalk

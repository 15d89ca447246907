// Linux: /proc/meminfo and the memory controller of cgroup v2 or v1.
#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/control_groups_linux.h"
#include "platform/memory_budget.h"

namespace tintwalk {

namespace {

constexpr uint64_t kUnknown = UINT64_MAX;
// cgroup v1 reports "no limit" as a huge number near 2^63.
constexpr uint64_t kNoLimit = uint64_t{1} << 60;

// The first whole number of a file ("max" and unreadable files give kUnknown).
uint64_t ReadNumber(const std::string& path) {
    std::ifstream file(path);
    uint64_t value = 0;
    if (!(file >> value))
        return kUnknown;
    return value;
}

// The value of `key` in a file of "key value" lines, such as memory.stat or
// /proc/meminfo ("MemAvailable:  123 kB"); kUnknown when absent.
uint64_t ReadKey(const std::string& path, const std::string& key) {
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string name;
        uint64_t value = 0;
        if (fields >> name >> value && name == key)
            return value;
    }
    return kUnknown;
}

// What is left in one cgroup folder, or kUnknown when it sets no limit.
uint64_t LeftInGroup(const std::string& folder, const char* limitFile, const char* usageFile,
                     const char* inactiveFileKey) {
    const uint64_t limit = ReadNumber(folder + "/" + limitFile);
    if (limit == kUnknown || limit >= kNoLimit)
        return kUnknown;
    uint64_t usage = ReadNumber(folder + "/" + usageFile);
    if (usage == kUnknown)
        return kUnknown;
    // Inactive file cache is given back under pressure before any kill.
    const uint64_t inactive = ReadKey(folder + "/memory.stat", inactiveFileKey);
    if (inactive != kUnknown)
        usage -= std::min(usage, inactive);
    return limit > usage ? limit - usage : 0;
}

// The least left in `path` ("/a/b") and each group above it, under `mount`.
uint64_t LeftOnPath(const std::string& mount, const std::string& path, const char* limitFile,
                    const char* usageFile, const char* inactiveFileKey) {
    uint64_t left = kUnknown;
    ForEachGroupUp(mount, path, [&](const std::string& folder) {
        left = std::min(left, LeftInGroup(folder, limitFile, usageFile, inactiveFileKey));
    });
    return left;
}

uint64_t LeftInControlGroups(const std::string& procRoot, const std::string& sysRoot) {
    uint64_t left = kUnknown;
    ForEachControlGroup(procRoot, [&](const std::string& controllers, const std::string& path) {
        if (controllers.empty()) {
            // The unified tree is mounted at the top, or beside the v1
            // controllers on a hybrid system.
            for (const char* mount : {"/fs/cgroup", "/fs/cgroup/unified"})
                left = std::min(left, LeftOnPath(sysRoot + mount, path, "memory.max",
                                                 "memory.current", "inactive_file"));
            return;
        }
        std::istringstream names(controllers);
        std::string name;
        while (std::getline(names, name, ',')) {
            if (name == "memory")
                left = std::min(
                    left, LeftOnPath(sysRoot + "/fs/cgroup/memory", path, "memory.limit_in_bytes",
                                     "memory.usage_in_bytes", "total_inactive_file"));
        }
    });
    return left;
}

}  // namespace

uint64_t UsableMemory(const std::string& procRoot, const std::string& sysRoot) {
    uint64_t left = LeftInControlGroups(procRoot, sysRoot);
    const uint64_t availableKiB = ReadKey(procRoot + "/meminfo", "MemAvailable:");
    if (availableKiB != kUnknown && availableKiB < kUnknown / 1024)
        left = std::min(left, availableKiB * 1024);
    return left;
}

bool MemoryFits(uint64_t bytes) {
    return bytes <= UsableMemory();
}

}  // namespace tintwalk

// Linux: /proc/meminfo and the memory controller of cgroup v2 or v1.
#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

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
// A group path that the mount does not show (a container that sees only its
// own part of the tree) counts from the deepest folder that exists.
uint64_t LeftOnPath(const std::string& mount, std::string path, const char* limitFile,
                    const char* usageFile, const char* inactiveFileKey) {
    uint64_t left = kUnknown;
    while (true) {
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        const std::string folder = path == "/" ? mount : mount + path;
        left = std::min(left, LeftInGroup(folder, limitFile, usageFile, inactiveFileKey));
        if (path.empty() || path == "/")
            return left;
        const size_t slash = path.rfind('/');
        path = slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
    }
}

uint64_t LeftInControlGroups(const std::string& procRoot, const std::string& sysRoot) {
    std::ifstream groups(procRoot + "/self/cgroup");
    std::string line;
    uint64_t left = kUnknown;
    while (std::getline(groups, line)) {
        // "hierarchy-id:controllers:path"; the path may itself hold colons.
        const size_t first = line.find(':');
        const size_t second = first == std::string::npos ? first : line.find(':', first + 1);
        if (second == std::string::npos)
            continue;
        const std::string controllers = line.substr(first + 1, second - first - 1);
        const std::string path = line.substr(second + 1);
        if (path.empty() || path[0] != '/')
            continue;
        if (line.compare(0, first, "0") == 0 && controllers.empty()) {
            // The unified tree is mounted at the top, or beside the v1
            // controllers on a hybrid system.
            for (const char* mount : {"/fs/cgroup", "/fs/cgroup/unified"})
                left = std::min(left, LeftOnPath(sysRoot + mount, path, "memory.max",
                                                 "memory.current", "inactive_file"));
            continue;
        }
        std::istringstream names(controllers);
        std::string name;
        while (std::getline(names, name, ',')) {
            if (name == "memory")
                left = std::min(
                    left, LeftOnPath(sysRoot + "/fs/cgroup/memory", path, "memory.limit_in_bytes",
                                     "memory.usage_in_bytes", "total_inactive_file"));
        }
    }
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

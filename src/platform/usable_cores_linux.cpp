// Linux: the affinity mask, and the quota of cgroup v2 (cpu.max) or v1
// (cpu.cfs_quota_us over cpu.cfs_period_us) of every group above the process.
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/control_groups_linux.h"
#include "platform/usable_cores.h"

namespace tintwalk {

namespace {

// Processors' worth of time that `quota` microseconds in each `period` give,
// rounded up; 0 for no quota.
uint32_t QuotaCores(int64_t quota, int64_t period) {
    if (quota <= 0 || period <= 0)
        return 0;
    return static_cast<uint32_t>(std::max<int64_t>(1, (quota + period - 1) / period));
}

// The quota of one group folder, 0 when it sets none.
uint32_t GroupQuota(const std::string& folder, bool unified) {
    int64_t quota = 0;
    int64_t period = 0;
    if (unified) {
        std::ifstream file(folder + "/cpu.max");
        std::string first;
        if (!(file >> first >> period) || first == "max")
            return 0;
        std::istringstream(first) >> quota;
    } else {
        std::ifstream(folder + "/cpu.cfs_quota_us") >> quota;
        std::ifstream(folder + "/cpu.cfs_period_us") >> period;
    }
    return QuotaCores(quota, period);
}

// The least quota on `path` and every group above it, under `mount`.
uint32_t PathQuota(const std::string& mount, const std::string& path, bool unified) {
    uint32_t least = 0;
    ForEachGroupUp(mount, path, [&](const std::string& folder) {
        const uint32_t quota = GroupQuota(folder, unified);
        if (quota != 0 && (least == 0 || quota < least))
            least = quota;
    });
    return least;
}

}  // namespace

uint32_t UsableCores(const std::string& procRoot, const std::string& sysRoot) {
    uint32_t cores = 1;
    cpu_set_t set;
    if (procRoot == "/proc" && sched_getaffinity(0, sizeof(set), &set) == 0)
        cores = static_cast<uint32_t>(std::max(1, CPU_COUNT(&set)));
    else
        cores = std::max(1u, static_cast<uint32_t>(sysconf(_SC_NPROCESSORS_ONLN)));
    ForEachControlGroup(procRoot, [&](const std::string& controllers, const std::string& path) {
        uint32_t quota = 0;
        if (controllers.empty()) {
            quota = PathQuota(sysRoot + "/fs/cgroup", path, true);
        } else if (("," + controllers + ",").find(",cpu,") != std::string::npos) {
            for (const char* mount : {"/fs/cgroup/cpu", "/fs/cgroup/cpu,cpuacct"}) {
                const uint32_t found = PathQuota(sysRoot + mount, path, false);
                if (found != 0 && (quota == 0 || found < quota))
                    quota = found;
            }
        }
        if (quota != 0)
            cores = std::min(cores, quota);
    });
    return cores;
}

}  // namespace tintwalk

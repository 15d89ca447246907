#include "platform/memory_budget.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace tintwalk {
namespace {

namespace fs = std::filesystem;

constexpr uint64_t kMiB = 1024 * 1024;

// A fake /proc and /sys: each file as (path under the root, contents).
using Tree = std::vector<std::pair<std::string, std::string>>;

uint64_t UsableIn(const Tree& tree) {
    const fs::path root =
        fs::temp_directory_path() /
        ("tintwalk-memory-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(root);
    for (const auto& [path, contents] : tree) {
        fs::create_directories((root / path).parent_path());
        std::ofstream(root / path) << contents;
    }
    const uint64_t usable = UsableMemory((root / "proc").string(), (root / "sys").string());
    fs::remove_all(root);
    return usable;
}

const std::string kMeminfo = "MemTotal: 8000000 kB\nMemAvailable: 4194304 kB\n";  // 4 GiB
const std::string kV2 = "sys/fs/cgroup";
const std::string kV1 = "sys/fs/cgroup/memory";

struct Case {
    const char* what;
    Tree tree;
    uint64_t usable;
};

TEST(MemoryBudget, TheLeastOfAvailableMemoryAndEveryLimitAbove) {
    const Case cases[] = {
        {"nothing readable", {}, UINT64_MAX},
        {"MemAvailable only", {{"proc/meminfo", kMeminfo}}, 4096 * kMiB},
        {"v2 without a limit",
         {{"proc/meminfo", kMeminfo},
          {"proc/self/cgroup", "0::/app\n"},
          {kV2 + "/app/memory.max", "max\n"},
          {kV2 + "/app/memory.current", "1000\n"}},
         4096 * kMiB},
        {"v2 limit less usage, inactive file cache counted free",
         {{"proc/meminfo", kMeminfo},
          {"proc/self/cgroup", "0::/app\n"},
          {kV2 + "/app/memory.max", std::to_string(512 * kMiB)},
          {kV2 + "/app/memory.current", std::to_string(200 * kMiB)},
          {kV2 + "/app/memory.stat", "anon 1\ninactive_file " + std::to_string(50 * kMiB)}},
         362 * kMiB},
        {"v2 parent's limit is the tighter",
         {{"proc/meminfo", kMeminfo},
          {"proc/self/cgroup", "0::/a/b\n"},
          {kV2 + "/a/b/memory.max", std::to_string(1024 * kMiB)},
          {kV2 + "/a/b/memory.current", "0"},
          {kV2 + "/a/memory.max", std::to_string(300 * kMiB)},
          {kV2 + "/a/memory.current", std::to_string(100 * kMiB)}},
         200 * kMiB},
        {"v2 usage above the limit leaves nothing",
         {{"proc/self/cgroup", "0::/x\n"},
          {kV2 + "/x/memory.max", "100"},
          {kV2 + "/x/memory.current", "150"}},
         0},
        {"v2 beside v1 (hybrid), limit at the root a container sees",
         {{"proc/self/cgroup", "4:memory:/\n0::/host/path/not/shown\n"},
          {kV2 + "/unified/memory.max", std::to_string(64 * kMiB)},
          {kV2 + "/unified/memory.current", std::to_string(16 * kMiB)}},
         48 * kMiB},
        {"v1 limit less usage less inactive file cache",
         {{"proc/meminfo", kMeminfo},
          {"proc/self/cgroup", "9:cpu,cpuacct:/\n4:memory:/job:7\n"},
          {kV1 + "/job:7/memory.limit_in_bytes", std::to_string(1000 * kMiB)},
          {kV1 + "/job:7/memory.usage_in_bytes", std::to_string(300 * kMiB)},
          {kV1 + "/job:7/memory.stat", "total_inactive_file " + std::to_string(100 * kMiB)}},
         800 * kMiB},
        {"v1 'no limit' is a huge number",
         {{"proc/meminfo", kMeminfo},
          {"proc/self/cgroup", "3:memory,blkio:/\n"},
          {kV1 + "/memory.limit_in_bytes", "9223372036854771712"},
          {kV1 + "/memory.usage_in_bytes", "5000"}},
         4096 * kMiB},
        {"MemAvailable below the group's room",
         {{"proc/meminfo", "MemAvailable: 1024 kB\n"},
          {"proc/self/cgroup", "0::/\n"},
          {kV2 + "/memory.max", std::to_string(64 * kMiB)},
          {kV2 + "/memory.current", "0"}},
         1 * kMiB},
        {"malformed lines are skipped",
         {{"proc/meminfo", "MemAvailable:\ngarbage\n"},
          {"proc/self/cgroup", "nonsense\n0::relative\n::\n"}},
         UINT64_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UsableIn(c.tree), c.usable) << c.what;
}

}  // namespace
}  // namespace tintwalk

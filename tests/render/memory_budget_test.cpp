#include "platform/memory_budget.h"
#include "platform/usable_cores.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tintwalk {
namespace {

namespace fs = std::filesystem;

constexpr uint64_t kMiB = 1024 * 1024;

// A fake /proc and /sys: each file as (path under the root, contents).
using Tree = std::vector<std::pair<std::string, std::string>>;

// What `ask` (UsableMemory or UsableCores) finds in the fake tree.
template <typename Ask>
auto AskIn(const Tree& tree, Ask ask) {
    const fs::path root =
        fs::temp_directory_path() /
        ("tintwalk-memory-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(root);
    for (const auto& [path, contents] : tree) {
        fs::create_directories((root / path).parent_path());
        std::ofstream(root / path) << contents;
    }
    const auto answer = ask((root / "proc").string(), (root / "sys").string());
    fs::remove_all(root);
    return answer;
}

uint64_t UsableIn(const Tree& tree) {
    return AskIn(tree, [](const std::string& proc, const std::string& sys) {
        return UsableMemory(proc, sys);
    });
}

const std::string kV2 = "sys/fs/cgroup";
const Tree kMeminfo = {{"proc/meminfo", "MemTotal: 8000000 kB\nMemAvailable: 4194304 kB\n"}};

std::string MiB(uint64_t count) {
    return std::to_string(count * kMiB);
}
Tree operator+(Tree a, const Tree& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Tree Group(const std::string& lines) {
    return {{"proc/self/cgroup", lines}};
}
Tree V2(const std::string& dir, const std::string& max, const std::string& current) {
    return {{kV2 + dir + "/memory.max", max}, {kV2 + dir + "/memory.current", current}};
}

TEST(MemoryBudget, TheLeastOfAvailableMemoryAndEveryLimitAbove) {
    const std::tuple<const char*, Tree, uint64_t> cases[] = {
        {"v2 limit less usage, inactive file cache counted free",
         kMeminfo + Group("0::/app\n") + V2("/app", MiB(512), MiB(200)) +
             Tree{{kV2 + "/app/memory.stat", "anon 1\ninactive_file " + MiB(50)}},
         362 * kMiB},
        {"v2 parent's limit is the tighter",
         kMeminfo + Group("0::/a/b\n") + V2("/a/b", MiB(1024), "0") + V2("/a", MiB(300), MiB(100)),
         200 * kMiB},
        {"v2 usage above the limit leaves nothing", Group("0::/x\n") + V2("/x", "100", "150"), 0},
        {"v2 beside v1 (hybrid), limit at the root a container sees",
         Group("4:memory:/\n0::/host/path/not/shown\n") + V2("/unified", MiB(64), MiB(16)),
         48 * kMiB},
        {"v1 limit less usage less inactive file cache",
         kMeminfo + Group("9:cpu,cpuacct:/\n4:memory:/job:7\n") +
             Tree{{kV2 + "/memory/job:7/memory.limit_in_bytes", MiB(1000)},
                  {kV2 + "/memory/job:7/memory.usage_in_bytes", MiB(300)},
                  {kV2 + "/memory/job:7/memory.stat", "total_inactive_file " + MiB(100)}},
         800 * kMiB},
        {"MemAvailable below the group's room",
         Tree{{"proc/meminfo", "MemAvailable: 1024 kB\n"}} + Group("0::/\n") + V2("", MiB(64), "0"),
         1 * kMiB},
        {"malformed lines are skipped",
         Tree{{"proc/meminfo", "MemAvailable:\ngarbage\n"}} + Group("nonsense\n0::relative\n::\n"),
         UINT64_MAX},
    };
    for (const auto& [what, tree, usable] : cases)
        EXPECT_EQ(UsableIn(tree), usable) << what;
}

TEST(UsableCores, AProcessorQuotaAboveTheProcessLimitsItsThreads) {
    const auto cores = [](const Tree& tree) {
        return AskIn(tree, [](const std::string& proc, const std::string& sys) {
            return UsableCores(proc, sys);
        });
    };
    const uint32_t all = cores({});
    ASSERT_GE(all, 1u);
    const std::pair<Tree, uint32_t> cases[] = {
        {Group("0::/app\n") + Tree{{kV2 + "/app/cpu.max", "50000 100000"}}, 1u},
        {Group("0::/app\n") + Tree{{kV2 + "/app/cpu.max", "max 100000"}}, all},
        {Group("0::/a/b\n") +
             Tree{{kV2 + "/a/cpu.max", "150000 100000"}, {kV2 + "/a/b/cpu.max", "max 100000"}},
         std::min(all, 2u)},
        {Group("5:cpu,cpuacct:/job\n") +
             Tree{{kV2 + "/cpu,cpuacct/job/cpu.cfs_quota_us", "10000"},
                  {kV2 + "/cpu,cpuacct/job/cpu.cfs_period_us", "100000"}},
         1u},
        {Group("5:cpu,cpuacct:/job\n") + Tree{{kV2 + "/cpu,cpuacct/job/cpu.cfs_quota_us", "-1"}},
         all},
    };
    for (const auto& [tree, expected] : cases)
        EXPECT_EQ(cores(tree), expected);
}

}  // namespace
}  // namespace tintwalk

// The plan of which bots the helpers try: it must keep the first bot on the
// stepping thread, hand each helper its bots in index order, stop trying a
// bot whose trials keep running again, come back to it later, and keep the
// helpers busy when nothing conflicts.
#include <gtest/gtest.h>

#include <vector>

#include "core/trial_plan.h"

namespace tintwalk {
namespace {

// The plan as a bit set of tried bots, checking its shape on the way.
uint32_t Tried(const std::vector<int8_t>& plan, uint32_t helpers) {
    EXPECT_EQ(plan[0], -1) << "nothing comes before bot 0: no trial of it can hold less";
    uint32_t tried = 0;
    for (uint32_t i = 0; i < plan.size(); ++i) {
        EXPECT_GE(plan[i], -1);
        EXPECT_LT(plan[i], static_cast<int32_t>(helpers));
        if (plan[i] >= 0)
            tried |= 1u << i;
    }
    return tried;
}

// Feeds the plan `passes` passes of eight bots that each take a second,
// where bot `crowded` (if any) runs again entirely whenever it is tried.
void RunPasses(TrialPlan& plan, uint32_t helpers, int passes, int32_t crowded) {
    for (int pass = 0; pass < passes; ++pass) {
        const std::vector<int8_t> chosen = plan.Choose(helpers);
        for (uint32_t i = 0; i < chosen.size(); ++i) {
            const bool tried = chosen[i] >= 0;
            const double rerun = tried && static_cast<int32_t>(i) == crowded ? 1.0 : 0.0;
            plan.Observe(i, 1.0, tried, rerun, tried ? 0.3 + rerun : 0.0);
        }
    }
}

TEST(TrialPlan, KeepsTheHelpersBusyWhenNoBotsMeet) {
    for (uint32_t helpers : {1u, 2u, 3u, 7u}) {
        TrialPlan plan;
        plan.Reset(8);
        RunPasses(plan, helpers, 5, -1);
        const uint32_t tried = Tried(plan.Choose(helpers), helpers);
        // Eight bots of a second each take eight seconds plain; with one
        // helper the best split still leaves the stepping thread its own
        // bots and a commit for each tried one.
        EXPECT_LT(plan.PassLength(tried, helpers), helpers == 1 ? 5.6 : 4.5) << helpers;
        EXPECT_NE(tried, 0u) << helpers;
    }
}

TEST(TrialPlan, StopsTryingABotThatKeepsMeetingOthersAndComesBackToIt) {
    TrialPlan plan;
    plan.Reset(8);
    // Bot 3 is tried in the first plan (every bot looks alike then), runs
    // again entirely, and is then left to the stepping thread.
    RunPasses(plan, 1, 1, -1);
    ASSERT_NE(Tried(plan.Choose(1), 1) & (1u << 3), 0u) << "no history yet: bot 3 is tried";
    RunPasses(plan, 1, 6, 3);
    EXPECT_EQ(Tried(plan.Choose(1), 1) & (1u << 3), 0u);
    // Left alone, what it showed fades, and it is tried again.
    bool triedAgain = false;
    for (int pass = 0; pass < 100 && !triedAgain; ++pass) {
        triedAgain = (Tried(plan.Choose(1), 1) & (1u << 3)) != 0;
        RunPasses(plan, 1, 1, -1);
    }
    EXPECT_TRUE(triedAgain);
}

TEST(TrialPlan, GivesTheSlowBotsToTheHelperWhenThatBalances) {
    // Bots 1 and 2 take four times as long as the others: the stepping
    // thread should not run both itself.
    TrialPlan plan;
    plan.Reset(8);
    for (uint32_t i = 0; i < 8; ++i)
        plan.Observe(i, i == 1 || i == 2 ? 4.0 : 1.0, false, 0.0, 0.0);
    for (int pass = 0; pass < 4; ++pass) {
        for (uint32_t i = 0; i < 8; ++i)
            plan.Observe(i, i == 1 || i == 2 ? 4.0 : 1.0, false, 0.0, 0.0);
    }
    const uint32_t tried = Tried(plan.Choose(1), 1);
    EXPECT_NE(tried & 0b110u, 0u);
    // Plain, the pass takes 14 seconds.
    EXPECT_LT(plan.PassLength(tried, 1), 10.0);
}

TEST(TrialPlan, CommunitiesOfAnySizeGetAWholePlan) {
    for (uint32_t bots : {1u, 2u, 3u, 12u, 13u, 40u}) {
        TrialPlan plan;
        plan.Reset(bots);
        for (int pass = 0; pass < 3; ++pass) {
            const std::vector<int8_t>& chosen = plan.Choose(2);
            ASSERT_EQ(chosen.size(), bots);
            EXPECT_EQ(chosen[0], -1);
            for (uint32_t i = 0; i < bots; ++i) {
                EXPECT_GE(chosen[i], -1);
                EXPECT_LT(chosen[i], 2);
                plan.Observe(i, 0.5, chosen[i] >= 0, 0.0, 0.1);
            }
        }
        // Bots the world does not have are ignored.
        plan.Observe(bots, 1.0, true, 1.0, 1.0);
    }
}

}  // namespace
}  // namespace tintwalk

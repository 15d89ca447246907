#include "core/trial_plan.h"

#include <algorithm>

namespace tintwalk {

namespace {

// How much of the newest pass an estimate takes in.
constexpr double kNewest = 0.5;
// A bot not tried for a while is tried again: each pass it is not tried,
// its expected share of steps run again fades by this factor towards a
// little below none, so that it comes to look better than bots whose
// trials are known to hold, and is tried, and measured, again.
constexpr double kFade = 0.97;
constexpr double kHopeful = -0.1;
// How much of each commit the shared commit share takes in.
constexpr double kCommitNewest = 0.05;

}  // namespace

void TrialPlan::Reset(uint32_t bots) {
    estimates_.assign(bots, Estimate());
    commitShare_ = kFirstCommitShare;
    plan_.assign(bots, -1);
}

void TrialPlan::Observe(uint32_t index, double seconds, bool tried, double rerunShare,
                        double commitSeconds) {
    if (index >= estimates_.size())
        return;
    Estimate& estimate = estimates_[index];
    if (seconds > 0)
        estimate.seconds += kNewest * (seconds - estimate.seconds);
    if (!tried) {
        estimate.rerun = kHopeful + (estimate.rerun - kHopeful) * kFade;
        return;
    }
    estimate.rerun += kNewest * (rerunShare - estimate.rerun);
    // The commit's own share: what it took beyond running the steps again,
    // as a share of the bot's run. One figure for all bots, as it depends
    // on the habitat and the machine more than on the bot.
    if (seconds > 0 && commitSeconds >= 0) {
        const double share = std::clamp(commitSeconds / seconds - rerunShare, 0.02, 2.0);
        commitShare_ += kCommitNewest * (share - commitShare_);
    }
}

double TrialPlan::PassLength(uint32_t tried, uint32_t helpers) const {
    // The helpers run their trials back to back from the start of the pass;
    // the stepping thread runs its own bots and commits each tried bot once
    // both the bots before it and its trial are done.
    double helperFree[8] = {};
    double trialDone[32] = {};
    helpers = std::clamp(helpers, 1u, 8u);
    const uint32_t bots = std::min(static_cast<uint32_t>(estimates_.size()), 32u);
    uint32_t next = 0;
    for (uint32_t i = 0; i < bots; ++i) {
        if ((tried >> i & 1) == 0)
            continue;
        helperFree[next] += estimates_[i].seconds;
        trialDone[i] = helperFree[next];
        next = next + 1 == helpers ? 0 : next + 1;
    }
    double now = 0;
    for (uint32_t i = 0; i < bots; ++i) {
        const Estimate& estimate = estimates_[i];
        if ((tried >> i & 1) == 0) {
            now += estimate.seconds;
            continue;
        }
        // A tried bot costs its commit, and its steps that ran again on
        // top: its trial's work is lost to them, and its cells past the
        // conflict still have to reach the copies.
        now = std::max(now, trialDone[i]) +
              estimate.seconds * std::max(commitShare_ + estimate.rerun, 0.0);
    }
    return now;
}

void TrialPlan::Assign(uint32_t tried, uint32_t helpers) {
    uint32_t next = 0;
    for (uint32_t i = 0; i < plan_.size(); ++i) {
        if ((tried >> i & 1) == 0) {
            plan_[i] = -1;
            continue;
        }
        plan_[i] = static_cast<int8_t>(next);
        next = next + 1 == helpers ? 0 : next + 1;
    }
}

const std::vector<int8_t>& TrialPlan::Choose(uint32_t helpers) {
    const uint32_t bots = static_cast<uint32_t>(plan_.size());
    helpers = std::clamp(helpers, 1u, 8u);
    if (bots > kMaxSearchedBots) {
        // Too many choices: the stepping thread takes bots 0, N, 2N, ...
        // (N threads in all) and helper h bots h + 1, h + 1 + N, ...
        for (uint32_t i = 0; i < bots; ++i)
            plan_[i] = static_cast<int8_t>(static_cast<int32_t>(i % (helpers + 1)) - 1);
        return plan_;
    }
    // Every choice of tried bots among 1 .. bots - 1: at most 2048.
    uint32_t best = 0;
    double bestLength = PassLength(0, helpers);
    for (uint32_t tried = 2; tried < (1u << bots); tried += 2) {
        const double length = PassLength(tried, helpers);
        if (length < bestLength) {
            bestLength = length;
            best = tried;
        }
    }
    Assign(best, helpers);
    return plan_;
}

}  // namespace tintwalk

// Which bots of the next parallel pass the helper threads run ahead as
// trials, chosen from what the passes so far showed: how long each bot took,
// and how much of each tried bot ran again because it met a cell an earlier
// bot had painted. A bot that keeps meeting others costs the stepping
// thread its commit and its steps run again on top of the helper's trial,
// so it is better run by the stepping thread from the start; bots far from
// the others are worth trying, as many as keep the helpers and the stepping
// thread equally busy.
#pragma once

#include <cstdint>
#include <vector>

namespace tintwalk {

class TrialPlan {
  public:
    // The stepping thread's share of a tried step (checking it and painting
    // its cell into the habitat, in steps) until passes have measured it.
    static constexpr double kFirstCommitShare = 0.35;
    // Plans are searched over every choice of tried bots up to this many
    // bots; larger communities share their bots out in turn.
    static constexpr uint32_t kMaxSearchedBots = 12;

    // Forgets what earlier passes showed, for a world of `bots` bots.
    void Reset(uint32_t bots);
    // What a pass showed of bot `index`: how long its run took (a trial's
    // or the stepping thread's), and, when it was tried, the share of its
    // steps that ran again and how long its commit took the stepping thread
    // (those steps included).
    void Observe(uint32_t index, double seconds, bool tried, double rerunShare,
                 double commitSeconds);
    // For each bot, the helper that tries it (0 to helpers - 1) or -1 for
    // the stepping thread. Bot 0 is never tried: nothing comes before it.
    // Each helper tries its bots in index order.
    const std::vector<int8_t>& Choose(uint32_t helpers);

    // The predicted length of a pass with `tried` as the bots tried (bit i
    // for bot i, of the first 32), spread over `helpers` helpers (at most
    // 8) in turn.
    double PassLength(uint32_t tried, uint32_t helpers) const;

  private:
    struct Estimate {
        double seconds = 1.0;
        double rerun = 0.0;
    };
    void Assign(uint32_t tried, uint32_t helpers);

    std::vector<Estimate> estimates_;
    double commitShare_ = kFirstCommitShare;
    std::vector<int8_t> plan_;
};

}  // namespace tintwalk

// A pass of the world on several threads that leaves exactly what
// Biotope::Step leaves: the same habitat, trails, bots and generator.
//
// The bots of a pass run in index order and meet only through the cells of
// the habitat; each rule takes a fixed number of draws per call, so the
// point of the generator's sequence where each bot's steps begin follows
// from the draws of the bots before it. Helper threads run bots ahead of
// their turn as trial runs, each on a copy of the habitat as it was at the
// start of the pass, painting only that copy; which bots they try is
// planned from the passes before (core/trial_plan.h). The calling thread
// takes the bots in order: a bot no helper took it runs itself on the
// habitat; a trial run it checks against the cells the bots before it
// painted in this pass: first by the rectangles around their trails, then,
// where those meet, step by step. Up to the first step that read such a
// cell the trial is exact, and its cells are painted into the habitat; from
// that step on the bot runs again on the habitat, from its recorded state.
// At the end of the pass every copy takes up the cells the pass painted.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "core/biotope.h"
#include "core/random.h"
#include "core/trial_plan.h"

namespace tintwalk {

class ParallelStepper {
  public:
    // `threads` counts the calling thread; with 1 (or when no thread can be
    // started) every pass is Biotope::Step. A pass in which the helpers got
    // to fewer than half of their bots in time (the processors busy with
    // other work) is followed by kPlainPasses plain ones, more when that
    // keeps happening, unless `alwaysTry` (for tests).
    explicit ParallelStepper(uint32_t threads, bool alwaysTry = false);
    static constexpr uint32_t kPlainPasses = 32;
    ~ParallelStepper();
    ParallelStepper(const ParallelStepper&) = delete;
    ParallelStepper& operator=(const ParallelStepper&) = delete;

    // One pass of `world`, with the result of world.Step(). A world whose
    // rules' draws are not known, or whose copies do not fit in memory, is
    // stepped the plain way.
    bool Step(Biotope& world);

    // The memory `threads` threads take beyond the world's own for a world
    // of `bots` bots on width x height cells: a copy of the HSL habitat per
    // helper, a mark per cell and the records of every bot's steps.
    static uint64_t ExtraBytes(uint32_t threads, uint32_t width, uint32_t height, uint32_t bots);

    uint32_t Threads() const { return static_cast<uint32_t>(helpers_.size()) + 1; }
    // Bot steps of parallel passes so far, and how many of them ran again
    // because a trial run met a cell another bot had painted.
    uint64_t StepsRun() const { return stepsRun_; }
    uint64_t StepsRunAgain() const { return stepsRunAgain_; }
    // Bots of parallel passes that a helper ran ahead as a trial.
    uint64_t BotsTried() const { return botsTried_; }

  private:
    struct Trial;

    bool Prepare(Biotope& world);
    void Help(uint32_t helper);
    void RunTrial(uint32_t helper, uint32_t index);
    void Commit(uint32_t index);
    uint32_t FirstConflict(const Bot& bot) const;
    void PaintSteps(const Bot& bot, const StepRecord* records, uint32_t first, uint32_t end);
    void Mark(const TrailPoint* points, uint32_t count);
    void TakeUpPass(uint32_t helper);

    std::vector<std::thread> helpers_;
    // One habitat copy (HSL only) per helper.
    std::vector<std::vector<uint8_t>> copies_;
    std::unique_ptr<Trial[]> trials_;
    uint32_t trialCount_ = 0;
    // Cells next to or on a cell painted in this pass carry `mark_` once a
    // later trial's trail comes near the painting bot's.
    std::vector<uint8_t> marks_;
    uint8_t mark_ = 0;
    // Which helper tries each bot of this pass (-1: the stepping thread).
    TrialPlan plan_;
    uint32_t plannedBots_ = 0;
    uint32_t plannedTrail_ = 0;
    const int8_t* helperOf_ = nullptr;

    Biotope* world_ = nullptr;
    RandomGenerator passStart_;
    PassTarget habitat_ = {};
    uint32_t bots_ = 0;
    uint32_t trailLength_ = 0;
    // The world's edit count when the copies last equalled its habitat.
    uint64_t copiesEdits_ = ~uint64_t{0};
    const Biotope* copiesWorld_ = nullptr;

    // Counts the passes; the helpers follow every change.
    std::atomic<uint32_t> stage_{0};
    // The bots of this pass committed so far.
    std::atomic<uint32_t> committed_{0};
    std::atomic<uint32_t> helpersDone_{0};
    std::atomic<bool> stopping_{false};
    // Whether waits spin before they sleep: only with a processor per thread.
    const bool spin_;
    const bool alwaysTry_;
    // Plain passes still to run before helpers are tried again.
    uint32_t plainPasses_ = 0;
    uint32_t plainRun_ = kPlainPasses;

    uint64_t stepsRun_ = 0;
    uint64_t stepsRunAgain_ = 0;
    uint64_t botsTried_ = 0;
};

// Whether threads pay for a world whose bots take `trailLength` steps a
// pass: on small habitats a pass is over before the helpers are awake.
bool ParallelPays(uint32_t trailLength);

}  // namespace tintwalk

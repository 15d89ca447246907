#include "core/parallel_step.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>
#include <system_error>

#include "core/parallel_trial.h"
#include "core/recorded_pass.h"

namespace tintwalk {

namespace {

// The draws a bot's rule takes per call; -1 when not known.
int32_t BotDraws(const Bot& bot) {
    if (bot.rule == DefaultRule)
        return 2;
    if (bot.rule == bot.passRule && bot.recordedPass != nullptr)
        return bot.passDraws;
    return -1;
}

double Seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

void RunRecorded(Bot& bot, const PassTarget& target, uint32_t first, StepRecord* records) {
    if (bot.rule == bot.passRule && bot.recordedPass != nullptr) {
        bot.recordedPass(bot, target, first, records);
    } else if (target.rgb != nullptr) {
        RunRecordedSteps<Gather::kPortable, true>(bot, target, first, records, bot.rule);
    } else {
        RunRecordedSteps<Gather::kPortable, false>(bot, target, first, records, bot.rule);
    }
}

ParallelStepper::ParallelStepper(uint32_t threads, bool alwaysTry)
    : spin_(threads <= std::max(1u, std::thread::hardware_concurrency())), alwaysTry_(alwaysTry) {
    for (uint32_t i = 1; i < threads; ++i) {
        try {
            helpers_.emplace_back([this, i] { Help(i - 1); });
        } catch (const std::system_error&) {
            break;  // fewer helpers, or none: still exact
        }
    }
}

ParallelStepper::~ParallelStepper() {
    stopping_.store(true);
    stage_.fetch_add(1, std::memory_order_release);
    stage_.notify_all();
    for (std::thread& helper : helpers_)
        helper.join();
}

uint64_t ParallelStepper::ExtraBytes(uint32_t threads, uint32_t width, uint32_t height,
                                     uint32_t bots) {
    const uint64_t cells = uint64_t{width} * height;
    const uint64_t copies = threads > 1 ? threads - 1 : 0;
    return copies * cells * 3 + cells + uint64_t{bots} * (cells / 1200) * sizeof(StepRecord);
}

bool ParallelPays(uint32_t trailLength) {
    return trailLength >= 512;
}

bool ParallelStepper::Prepare(Biotope& world) {
    if (helpers_.empty() || world.bots == nullptr || world.botCount == 0 ||
        world.hslHabitat.pixels == nullptr || world.rgbHabitat.pixels == nullptr ||
        world.trailLength == 0)
        return false;
    for (uint32_t i = 0; i < world.botCount; ++i) {
        const Bot& bot = world.bots[i];
        if (bot.trailLength != world.trailLength || BotDraws(bot) < 0)
            return false;
    }
    const size_t cells = static_cast<size_t>(world.hslHabitat.width) * world.hslHabitat.height;
    try {
        if (trialCount_ < world.botCount) {
            trials_ = std::make_unique<Trial[]>(world.botCount);
            trialCount_ = world.botCount;
        }
        for (uint32_t i = 0; i < world.botCount; ++i)
            trials_[i].records.resize(world.trailLength);
        const bool sameWorld =
            copiesWorld_ == &world && copiesEdits_ == world.edits && marks_.size() == cells;
        // What the plan learnt holds for the world's bots as long as there
        // are as many of them, taking as many steps.
        if (copiesWorld_ != &world || plannedBots_ != world.botCount ||
            plannedTrail_ != world.trailLength) {
            plan_.Reset(world.botCount);
            plannedBots_ = world.botCount;
            plannedTrail_ = world.trailLength;
        }
        if (!sameWorld) {
            marks_.assign(cells, 0);
            mark_ = 0;
            for (std::vector<uint8_t>& copy : copies_)
                copy.clear();
            copies_.resize(helpers_.size());
            for (std::vector<uint8_t>& copy : copies_)
                copy.assign(world.hslHabitat.pixels, world.hslHabitat.pixels + cells * 3);
        }
    } catch (const std::bad_alloc&) {
        copies_.clear();
        marks_.clear();
        copiesWorld_ = nullptr;
        return false;
    }
    world_ = &world;
    copiesWorld_ = &world;
    habitat_ = {world.hslHabitat.pixels, world.rgbHabitat.pixels,
                static_cast<int32_t>(world.hslHabitat.width),
                static_cast<int32_t>(world.hslHabitat.height)};
    bots_ = world.botCount;
    trailLength_ = world.trailLength;
    return true;
}

bool ParallelStepper::Step(Biotope& world) {
    // The copies miss the plain passes' cells; Prepare copies the habitat
    // afresh when helpers are tried again.
    if (plainPasses_ > 0) {
        --plainPasses_;
        return world.Step();
    }
    if (!Prepare(world))
        return world.Step();
    const uint64_t triedBefore = botsTried_;
    ++world.passCount;
    if (++mark_ == 0) {
        std::memset(marks_.data(), 0, marks_.size());
        mark_ = 1;
    }
    // Each bot's draws begin after the draws of the bots before it: the
    // helpers skip to that point from the pass's start, off the stepping
    // thread's path; the stepping thread's generator gets there by running
    // the bots before, or from the trial before.
    passStart_ = randomGenerator;
    for (uint32_t i = 0; i < bots_; ++i) {
        Trial& trial = trials_[i];
        trial.phase.store(kOpen, std::memory_order_relaxed);
        trial.draws = static_cast<uint32_t>(BotDraws(world.bots[i]));
        trial.strayCells.clear();
        trial.helper = -1;
        trial.tried = Box();
        trial.painted = Box();
        trial.marked = false;
    }
    const std::vector<int8_t>& plan = plan_.Choose(static_cast<uint32_t>(helpers_.size()));
    helperOf_ = plan.data();
    const uint64_t helpersShare = static_cast<uint64_t>(
        std::count_if(plan.begin(), plan.end(), [](int8_t h) { return h >= 0; }));
    committed_.store(0, std::memory_order_relaxed);
    helpersDone_.store(0, std::memory_order_relaxed);
    stage_.fetch_add(1, std::memory_order_release);
    stage_.notify_all();

    for (uint32_t i = 0; i < bots_; ++i) {
        Trial& trial = trials_[i];
        uint32_t expected = kOpen;
        if (trial.phase.compare_exchange_strong(expected, kTaken, std::memory_order_acq_rel)) {
            // No helper has begun this bot: it runs here, on the habitat.
            const double start = Seconds();
            trial.start = randomGenerator;
            RunRecorded(world.bots[i], habitat_, 0, trial.records.data());
            trial.painted.Take(world.bots[i].trailPoints, trailLength_);
            trial.exact = trailLength_;
            trial.seconds = Seconds() - start;
        } else {
            for (uint32_t phase; (phase = trial.phase.load(std::memory_order_acquire)) != kTried;)
                AwaitChange(trial.phase, phase, spin_);
            const double start = Seconds();
            Commit(i);
            trial.commitSeconds = Seconds() - start;
            randomGenerator = trial.end;
            ++botsTried_;
        }
        committed_.store(i + 1, std::memory_order_release);
        committed_.notify_all();
    }
    stepsRun_ += uint64_t{bots_} * trailLength_;

    const uint32_t helpers = static_cast<uint32_t>(helpers_.size());
    for (uint32_t done; (done = helpersDone_.load(std::memory_order_acquire)) != helpers;)
        AwaitChange(helpersDone_, done, spin_);
    copiesEdits_ = ++world.edits;
    for (uint32_t i = 0; i < bots_; ++i) {
        const Trial& trial = trials_[i];
        plan_.Observe(i, trial.seconds, trial.helper >= 0,
                      static_cast<double>(trailLength_ - trial.exact) / trailLength_,
                      trial.commitSeconds);
    }
    // Each pass in which the helpers got to fewer than half of the bots
    // planned for them doubles the plain passes that follow, up to 32 times
    // as many; a pass they keep up with resets that.
    if (2 * (botsTried_ - triedBefore) >= helpersShare || alwaysTry_) {
        plainRun_ = kPlainPasses;
    } else {
        plainPasses_ = plainRun_;
        plainRun_ = std::min(2 * plainRun_, 32 * kPlainPasses);
    }
    return true;
}

void ParallelStepper::Help(uint32_t helper) {
    uint32_t seen = 0;
    for (;;) {
        AwaitChange(stage_, seen, spin_);
        seen = stage_.load(std::memory_order_acquire);
        if (stopping_.load())
            return;
        // The helper tries the bots planned for it, in index order, each
        // from the point of the sequence where its draws begin.
        RandomGenerator position = passStart_;
        uint32_t positionBot = 0;
        for (uint32_t index = 1; index < bots_; ++index) {
            if (helperOf_[index] != static_cast<int32_t>(helper))
                continue;
            uint32_t expected = kOpen;
            if (!trials_[index].phase.compare_exchange_strong(expected, kTaken,
                                                              std::memory_order_acq_rel))
                continue;
            for (; positionBot < index; ++positionBot)
                position.Discard(uint64_t{trailLength_} * trials_[positionBot].draws);
            trials_[index].start = position;
            RunTrial(helper, index);
            position = trials_[index].end;
            positionBot = index + 1;
        }
        TakeUpPass(helper);
        helpersDone_.fetch_add(1, std::memory_order_release);
        helpersDone_.notify_all();
    }
}

void ParallelStepper::RunTrial(uint32_t helper, uint32_t index) {
    Trial& trial = trials_[index];
    const double start = Seconds();
    randomGenerator = trial.start;
    const PassTarget copy = {copies_[helper].data(), nullptr, habitat_.width, habitat_.height};
    RunRecorded(world_->bots[index], copy, 0, trial.records.data());
    trial.end = randomGenerator;
    trial.tried.Take(world_->bots[index].trailPoints, trailLength_);
    trial.helper = static_cast<int32_t>(helper);
    trial.seconds = Seconds() - start;
    trial.phase.store(kTried, std::memory_order_release);
    trial.phase.notify_one();
}

}  // namespace tintwalk

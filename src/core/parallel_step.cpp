#include "core/parallel_step.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <system_error>

#include "core/recorded_pass.h"

namespace tintwalk {

namespace {

// A bot's course through a pass: open, taken by a helper for a trial run
// or by the stepping thread, and tried.
constexpr uint32_t kOpen = 0;
constexpr uint32_t kTaken = 1;
constexpr uint32_t kTried = 2;

// The draws a bot's rule takes per call; -1 when not known.
int32_t BotDraws(const Bot& bot) {
    if (bot.rule == DefaultRule)
        return 2;
    if (bot.rule == bot.passRule && bot.recordedPass != nullptr)
        return bot.passDraws;
    return -1;
}

void RunRecorded(Bot& bot, const PassTarget& target, uint32_t first, StepRecord* records) {
    if (bot.rule == bot.passRule && bot.recordedPass != nullptr) {
        bot.recordedPass(bot, target, first, records);
    } else if (target.rgb != nullptr) {
        RunRecordedSteps<Gather::kPortable, true>(bot, target, first, bot.trailLength, records,
                                                  bot.rule);
    } else {
        RunRecordedSteps<Gather::kPortable, false>(bot, target, first, bot.trailLength, records,
                                                   bot.rule);
    }
}

// How far ahead along a trail the scattered cells are asked for.
constexpr uint32_t kAhead = 16;

// Waits until `value` no longer holds `old`. A thread put to sleep wakes
// late on a busy machine, later than a bot takes to run: with no more
// threads than processors the wait spins for a tenth of a millisecond
// first, then sleeps.
void AwaitChange(const std::atomic<uint32_t>& value, uint32_t old, bool spin) {
    for (int round = 0; spin && round < 2000; ++round) {
        if (value.load(std::memory_order_acquire) != old)
            return;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
    value.wait(old, std::memory_order_acquire);
}

// A rectangle of cells, [x0, x1] x [y0, y1]; empty when x0 > x1.
struct Box {
    int32_t x0 = INT32_MAX;
    int32_t y0 = INT32_MAX;
    int32_t x1 = INT32_MIN;
    int32_t y1 = INT32_MIN;

    void Take(const TrailPoint* points, uint32_t count) {
        for (uint32_t i = 0; i < count; ++i)
            Take({points[i].x, points[i].y, points[i].x, points[i].y});
    }
    void Take(const Box& other) {
        x0 = std::min(x0, other.x0);
        x1 = std::max(x1, other.x1);
        y0 = std::min(y0, other.y0);
        y1 = std::max(y1, other.y1);
    }
    // The cells whose 3 x 3 neighbourhoods the box's cells read: one more
    // on every side, or the whole width (height) where that wraps.
    Box Grown(int32_t width, int32_t height) const {
        Box grown = *this;
        GrowSide(grown.x0, grown.x1, width);
        GrowSide(grown.y0, grown.y1, height);
        return grown;
    }
    static void GrowSide(int32_t& low, int32_t& high, int32_t size) {
        if (low > 0 && high < size - 1) {
            --low;
            ++high;
        } else {
            low = 0;
            high = size - 1;
        }
    }
    bool Meets(const Box& other) const {
        return x0 <= other.x1 && other.x0 <= x1 && y0 <= other.y1 && other.y0 <= y1;
    }
};

// What a trial run leaves in its bot at the end of the pass, kept while
// single steps of it run again.
struct BotEnding {
    explicit BotEnding(const Bot& bot)
        : state(bot.state), heading(bot.heading), x(bot.x), y(bot.y), stepIndex(bot.stepIndex) {}
    void Restore(Bot& bot) const {
        bot.state = state;
        bot.heading = heading;
        bot.x = x;
        bot.y = y;
        bot.stepIndex = stepIndex;
    }
    int32_t state;
    int32_t heading;
    int32_t x;
    int32_t y;
    uint32_t stepIndex;
};

size_t CellIndex(const TrailPoint& at, int32_t width) {
    return static_cast<size_t>(at.y) * static_cast<size_t>(width) + static_cast<size_t>(at.x);
}

}  // namespace

// One bot of the pass: where its draws begin, its trial run's records, and
// the cells the trial painted past its first conflict.
struct ParallelStepper::Trial {
    std::atomic<uint32_t> phase{kOpen};
    uint32_t draws = 0;
    RandomGenerator start;
    // The helper whose copy holds the trial run (-1: none), and how many of
    // its steps held.
    int32_t helper = -1;
    uint32_t exact = 0;
    // The steps up to the first that read a marked cell: their cells are
    // in the helper's copy as in the habitat.
    uint32_t held = 0;
    std::vector<StepRecord> records;
    std::vector<TrailPoint> strayCells;
    // The cells of the trial run's trail, and every cell the bot painted in
    // this pass (in the habitat or, past a conflict, in a copy).
    Box tried;
    Box painted;
    // Whether its painted cells carry this pass's mark yet: they are marked
    // only once a later bot's trail comes near them.
    bool marked = false;
};

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
    // Where each bot's draws begin: after the draws of the bots before it.
    RandomGenerator position = randomGenerator;
    for (uint32_t i = 0; i < bots_; ++i) {
        Trial& trial = trials_[i];
        trial.phase.store(kOpen, std::memory_order_relaxed);
        trial.draws = static_cast<uint32_t>(BotDraws(world.bots[i]));
        trial.start = position;
        trial.strayCells.clear();
        trial.helper = -1;
        trial.tried = Box();
        trial.painted = Box();
        trial.marked = false;
        position.Discard(uint64_t{trailLength_} * trial.draws);
    }
    committed_.store(0, std::memory_order_relaxed);
    helpersDone_.store(0, std::memory_order_relaxed);
    stage_.fetch_add(1, std::memory_order_release);
    stage_.notify_all();

    for (uint32_t i = 0; i < bots_; ++i) {
        Trial& trial = trials_[i];
        uint32_t expected = kOpen;
        if (trial.phase.compare_exchange_strong(expected, kTaken, std::memory_order_acq_rel)) {
            // No helper has begun this bot: it runs here, on the habitat.
            randomGenerator = trial.start;
            RunRecorded(world.bots[i], habitat_, 0, trial.records.data());
            trial.painted.Take(world.bots[i].trailPoints, trailLength_);
        } else {
            for (uint32_t phase; (phase = trial.phase.load(std::memory_order_acquire)) != kTried;)
                AwaitChange(trial.phase, phase, spin_);
            Commit(i);
            ++botsTried_;
        }
        committed_.store(i + 1, std::memory_order_release);
        committed_.notify_all();
    }
    randomGenerator = position;
    stepsRun_ += uint64_t{bots_} * trailLength_;

    const uint32_t helpers = static_cast<uint32_t>(helpers_.size());
    for (uint32_t done; (done = helpersDone_.load(std::memory_order_acquire)) != helpers;)
        AwaitChange(helpersDone_, done, spin_);
    copiesEdits_ = ++world.edits;
    // The helpers' share is every bot but the stepping thread's own. Each
    // pass in which they got to fewer than half of theirs doubles the plain
    // passes that follow, up to 32 times as many; a pass they keep up with
    // resets that.
    const uint64_t helpersShare = bots_ - (bots_ + Threads() - 1) / Threads();
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
        // Helper h takes bots h + 1, h + 1 + Threads(), ...: while the
        // stepping thread runs one bot, the helpers try the next ones.
        for (uint32_t index = helper + 1; index < bots_; index += Threads()) {
            uint32_t expected = kOpen;
            if (trials_[index].phase.compare_exchange_strong(expected, kTaken,
                                                             std::memory_order_acq_rel))
                RunTrial(helper, index);
        }
        TakeUpPass(helper);
        helpersDone_.fetch_add(1, std::memory_order_release);
        helpersDone_.notify_all();
    }
}

void ParallelStepper::RunTrial(uint32_t helper, uint32_t index) {
    Trial& trial = trials_[index];
    randomGenerator = trial.start;
    const PassTarget copy = {copies_[helper].data(), nullptr, habitat_.width, habitat_.height};
    RunRecorded(world_->bots[index], copy, 0, trial.records.data());
    trial.tried.Take(world_->bots[index].trailPoints, trailLength_);
    trial.helper = static_cast<int32_t>(helper);
    trial.phase.store(kTried, std::memory_order_release);
    trial.phase.notify_one();
}

void ParallelStepper::Commit(uint32_t index) {
    Trial& trial = trials_[index];
    Bot& bot = world_->bots[index];
    // Only bots whose painted cells come near the trial's trail can have
    // painted a cell it read: their cells are marked now, and the trail is
    // checked cell by cell against the marks. Far from every one, the
    // whole trial holds.
    const Box reads = trial.tried.Grown(habitat_.width, habitat_.height);
    bool near = false;
    for (uint32_t before = 0; before < index; ++before) {
        Trial& earlier = trials_[before];
        if (!earlier.painted.Meets(reads))
            continue;
        near = true;
        if (!earlier.marked) {
            Mark(world_->bots[before].trailPoints, trailLength_);
            Mark(earlier.strayCells.data(), static_cast<uint32_t>(earlier.strayCells.size()));
            earlier.marked = true;
        }
    }
    trial.painted = trial.tried;
    trial.exact = near ? CheckSteps(index) : trailLength_;
    if (!near) {
        trial.held = trailLength_;
        PaintSteps(bot, trial.records.data(), 0, trailLength_);
    }
}

// Walks the trial's steps in order, painting each into the habitat. A step
// whose 3 x 3 cells hold a marked one runs again on the habitat, from its
// recorded state; while it gives the trial's colour, state and heading the
// trial holds. From the first step that gives another result the bot runs
// on from that result on the habitat. Returns that step, or the trail
// length when the whole trial held.
uint32_t ParallelStepper::CheckSteps(uint32_t index) {
    Trial& trial = trials_[index];
    Bot& bot = world_->bots[index];
    StepRecord* records = trial.records.data();
    const BotEnding ending(bot);
    randomGenerator = trial.start;
    uint32_t drawnTo = 0;
    trial.held = trailLength_;
    uint32_t painted = 0;
    for (uint32_t slot = 0; slot < trailLength_; ++slot) {
        if (slot + kAhead < trailLength_) {
            const TrailPoint ahead = bot.trailPoints[slot + kAhead];
            const uint8_t* row = marks_.data() + CellIndex(ahead, habitat_.width);
            __builtin_prefetch(row - habitat_.width);
            __builtin_prefetch(row + habitat_.width);
        }
        if (!MarkedAround(bot.trailPoints[slot]))
            continue;
        PaintSteps(bot, records, painted, slot);
        painted = slot + 1;
        trial.held = std::min(trial.held, slot);
        randomGenerator.Discard(uint64_t{slot - drawnTo} * trial.draws);
        drawnTo = slot + 1;
        const HslPixel triedColour = records[slot].colour;
        const bool last = slot + 1 == trailLength_;
        const int32_t triedState = last ? ending.state : records[slot + 1].state;
        const int32_t triedHeading = last ? ending.heading : records[slot + 1].heading;
        bot.state = records[slot].state;
        bot.heading = records[slot].heading;
        bot.x = bot.trailPoints[slot].x;
        bot.y = bot.trailPoints[slot].y;
        RunRecordedSteps<Gather::kPortable, true>(bot, habitat_, slot, slot + 1, records,
                                                  bot.rule);
        if (std::memcmp(&records[slot].colour, &triedColour, 3) == 0 &&
            bot.state == triedState && bot.heading == triedHeading)
            continue;
        // The trial's cells past this step count as painted: the helper's
        // copy still holds them.
        trial.strayCells.assign(bot.trailPoints + slot + 1, bot.trailPoints + trailLength_);
        if (!last)
            RunRecorded(bot, habitat_, slot + 1, records);
        trial.painted.Take(bot.trailPoints + slot, trailLength_ - slot);
        stepsRunAgain_ += trailLength_ - slot;
        return slot;
    }
    PaintSteps(bot, records, painted, trailLength_);
    ending.Restore(bot);
    return trailLength_;
}

void ParallelStepper::PaintSteps(const Bot& bot, const StepRecord* records, uint32_t first,
                                 uint32_t end) {
    for (uint32_t slot = first; slot < end; ++slot) {
        if (slot + kAhead < end) {
            const size_t ahead = CellIndex(bot.trailPoints[slot + kAhead], habitat_.width);
            __builtin_prefetch(habitat_.hsl + ahead * 3, 1);
            __builtin_prefetch(habitat_.rgb + ahead * 3, 1);
        }
        const size_t cell = CellIndex(bot.trailPoints[slot], habitat_.width);
        std::memcpy(habitat_.hsl + cell * 3, &records[slot].colour, 3);
        std::memcpy(habitat_.rgb + cell * 3, &bot.trailColours[slot], 3);
    }
}

bool ParallelStepper::MarkedAround(const TrailPoint& at) const {
    const int32_t width = habitat_.width;
    const int32_t height = habitat_.height;
    const uint8_t* marks = marks_.data();
    const uint8_t mark = mark_;
    if (at.x >= 1 && at.x < width - 1 && at.y >= 1 && at.y < height - 1) {
        const uint8_t* row = marks + CellIndex({at.x - 1, at.y - 1}, width);
        bool met = false;
        for (int r = 0; r < 3; ++r, row += width)
            met |= (row[0] == mark) | (row[1] == mark) | (row[2] == mark);
        return met;
    }
    for (int dy = -1; dy <= 1; ++dy) {
        const int32_t y = at.y + dy < 0 ? height - 1 : (at.y + dy == height ? 0 : at.y + dy);
        for (int dx = -1; dx <= 1; ++dx) {
            const int32_t x = at.x + dx < 0 ? width - 1 : (at.x + dx == width ? 0 : at.x + dx);
            if (marks[CellIndex({x, y}, width)] == mark)
                return true;
        }
    }
    return false;
}

void ParallelStepper::Mark(const TrailPoint* points, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        if (i + kAhead < count)
            __builtin_prefetch(marks_.data() + CellIndex(points[i + kAhead], habitat_.width), 1);
        marks_[CellIndex(points[i], habitat_.width)] = mark_;
    }
}

void ParallelStepper::TakeUpPass(uint32_t helper) {
    // The copy takes up the cells of each bot once it is committed, in bot
    // order, so that it ends with the last colour of every painted cell;
    // then the cells that its trial runs painted past a conflict, from the
    // habitat, which no longer changes in this pass. The cells of its own
    // trial runs up to their first conflict it already holds: no bot before
    // painted them (the trial would have met the cell), and a bot after
    // that painted one brings it in its own trail.
    uint8_t* copy = copies_[helper].data();
    const int32_t width = habitat_.width;
    for (uint32_t i = 0; i < bots_; ++i) {
        for (uint32_t done; (done = committed_.load(std::memory_order_acquire)) <= i;)
            AwaitChange(committed_, done, spin_);
        const TrailPoint* points = world_->bots[i].trailPoints;
        const StepRecord* records = trials_[i].records.data();
        const uint32_t held =
            trials_[i].helper == static_cast<int32_t>(helper) ? trials_[i].held : 0;
        for (uint32_t slot = held; slot < trailLength_; ++slot) {
            if (slot + kAhead < trailLength_)
                __builtin_prefetch(copy + CellIndex(points[slot + kAhead], width) * 3, 1);
            std::memcpy(copy + CellIndex(points[slot], width) * 3, &records[slot].colour, 3);
        }
    }
    for (uint32_t i = 0; i < bots_; ++i) {
        for (const TrailPoint& at : trials_[i].strayCells) {
            const size_t offset = CellIndex(at, width) * 3;
            std::memcpy(copy + offset, habitat_.hsl + offset, 3);
        }
    }
}

}  // namespace tintwalk

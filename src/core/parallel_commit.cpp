// The checking side of a parallel pass: a trial run is checked against the
// cells painted before it in the pass and painted into the habitat, and the
// helpers' copies take up what the pass painted.
#include <cstring>

#include "core/parallel_step.h"
#include "core/parallel_trial.h"

namespace tintwalk {

void ParallelStepper::Commit(uint32_t index) {
    Trial& trial = trials_[index];
    Bot& bot = world_->bots[index];
    // Only bots whose painted cells come near the trial's trail can have
    // painted a cell it read: their cells are marked now, and the trail is
    // checked step by step against the marks. Far from every one, the
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
    const uint32_t exact = near ? FirstConflict(bot) : trailLength_;
    trial.exact = exact;
    trial.painted = trial.tried;
    PaintSteps(bot, trial.records.data(), 0, exact);
    if (exact == trailLength_)
        return;
    // From the first step that read a cell painted by a bot before it, the
    // bot runs again on the habitat. The cells its trial painted from there
    // on count as painted, as the helper's copy still holds them.
    trial.strayCells.assign(bot.trailPoints + exact, bot.trailPoints + trailLength_);
    const StepRecord& from = trial.records[exact];
    bot.state = from.state;
    bot.heading = from.heading;
    bot.x = bot.trailPoints[exact].x;
    bot.y = bot.trailPoints[exact].y;
    randomGenerator = trial.start;
    randomGenerator.Discard(uint64_t{exact} * trial.draws);
    RunRecorded(bot, habitat_, exact, trial.records.data());
    trial.painted.Take(bot.trailPoints + exact, trailLength_ - exact);
    stepsRunAgain_ += trailLength_ - exact;
}

uint32_t ParallelStepper::FirstConflict(const Bot& bot) const {
    // A step read a painted cell exactly when its own cell is marked.
    const uint8_t* marks = marks_.data();
    for (uint32_t slot = 0; slot < trailLength_; ++slot) {
        if (slot + kAhead < trailLength_)
            __builtin_prefetch(marks + CellIndex(bot.trailPoints[slot + kAhead], habitat_.width));
        if (marks[CellIndex(bot.trailPoints[slot], habitat_.width)] == mark_)
            return slot;
    }
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

void ParallelStepper::Mark(const TrailPoint* points, uint32_t count) {
    // A cell is marked when a painted cell lies among its 3 x 3 cells, so
    // that checking a step reads one mark.
    const int32_t width = habitat_.width;
    const int32_t height = habitat_.height;
    uint8_t* marks = marks_.data();
    const uint8_t mark = mark_;
    for (uint32_t i = 0; i < count; ++i) {
        if (i + kAhead < count) {
            uint8_t* row = marks + CellIndex(points[i + kAhead], width);
            __builtin_prefetch(row - width, 1);
            __builtin_prefetch(row + width, 1);
        }
        const TrailPoint at = points[i];
        if (at.x >= 1 && at.x < width - 1 && at.y >= 1 && at.y < height - 1) {
            uint8_t* row = marks + CellIndex({at.x - 1, at.y - 1}, width);
            for (int r = 0; r < 3; ++r, row += width)
                std::memset(row, mark, 3);
            continue;
        }
        for (int dy = -1; dy <= 1; ++dy) {
            const int32_t y = at.y + dy < 0 ? height - 1 : (at.y + dy == height ? 0 : at.y + dy);
            for (int dx = -1; dx <= 1; ++dx) {
                const int32_t x = at.x + dx < 0 ? width - 1 : (at.x + dx == width ? 0 : at.x + dx);
                marks[CellIndex({x, y}, width)] = mark;
            }
        }
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
            trials_[i].helper == static_cast<int32_t>(helper) ? trials_[i].exact : 0;
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

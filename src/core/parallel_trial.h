// What the threads of a parallel pass (core/parallel_step.h) share about
// each bot of the pass, and the pieces both the running and the checking of
// trial runs use. Only the parallel pass includes it.
#pragma once

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/biotope.h"
#include "core/parallel_step.h"
#include "core/random.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tintwalk {

// A bot's course through a pass: open, taken by a helper for a trial run
// or by the stepping thread, and tried.
inline constexpr uint32_t kOpen = 0;
inline constexpr uint32_t kTaken = 1;
inline constexpr uint32_t kTried = 2;

// How far ahead along a trail the scattered cells are asked for.
inline constexpr uint32_t kAhead = 16;

// Waits until `value` no longer holds `old`. A thread put to sleep wakes
// late on a busy machine, later than a bot takes to run: with no more
// threads than processors the wait spins for a tenth of a millisecond
// first, then sleeps.
inline void AwaitChange(const std::atomic<uint32_t>& value, uint32_t old, bool spin) {
    for (int round = 0; spin && round < 2000; ++round) {
        if (value.load(std::memory_order_acquire) != old)
            return;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
    value.wait(old, std::memory_order_acquire);
}

inline size_t CellIndex(const TrailPoint& at, int32_t width) {
    return static_cast<size_t>(at.y) * static_cast<size_t>(width) + static_cast<size_t>(at.x);
}

// Runs `bot` from step `first` to the end of its trail on `target`,
// recording every step.
void RunRecorded(Bot& bot, const PassTarget& target, uint32_t first, StepRecord* records);

// A rectangle of cells, [x0, x1] x [y0, y1]; empty when x0 > x1.
struct Box {
    int32_t x0 = INT32_MAX;
    int32_t y0 = INT32_MAX;
    int32_t x1 = INT32_MIN;
    int32_t y1 = INT32_MIN;

    void Take(const TrailPoint* points, uint32_t count) {
        uint32_t i = 0;
#if defined(__SSE2__)
        // Two points a register: lanes x, y, x, y. SSE2 has no 32-bit
        // minimum, so each is a compare and a select.
        if (count >= 2) {
            const auto load = [&](uint32_t at) {
                return _mm_loadu_si128(reinterpret_cast<const __m128i*>(points + at));
            };
            const auto select = [](__m128i mask, __m128i a, __m128i b) {
                return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
            };
            __m128i low = load(0);
            __m128i high = low;
            for (i = 2; i + 1 < count; i += 2) {
                const __m128i pair = load(i);
                low = select(_mm_cmplt_epi32(pair, low), pair, low);
                high = select(_mm_cmpgt_epi32(pair, high), pair, high);
            }
            alignas(16) int32_t lows[4];
            alignas(16) int32_t highs[4];
            _mm_store_si128(reinterpret_cast<__m128i*>(lows), low);
            _mm_store_si128(reinterpret_cast<__m128i*>(highs), high);
            Take({std::min(lows[0], lows[2]), std::min(lows[1], lows[3]),
                  std::max(highs[0], highs[2]), std::max(highs[1], highs[3])});
        }
#endif
        for (; i < count; ++i)
            TakePoint(points[i]);
    }
    void TakePoint(const TrailPoint& at) {
        x0 = at.x < x0 ? at.x : x0;
        x1 = at.x > x1 ? at.x : x1;
        y0 = at.y < y0 ? at.y : y0;
        y1 = at.y > y1 ? at.y : y1;
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

// One bot of the pass: where its draws begin, its trial run's records, and
// the cells the trial painted past its first conflict.
struct ParallelStepper::Trial {
    std::atomic<uint32_t> phase{kOpen};
    uint32_t draws = 0;
    // Where its draws begin and end in the sequence.
    RandomGenerator start;
    RandomGenerator end;
    // The helper whose copy holds the trial run (-1: none), and how many of
    // its steps held.
    int32_t helper = -1;
    uint32_t exact = 0;
    std::vector<StepRecord> records;
    std::vector<TrailPoint> strayCells;
    // How long its run took (the trial's, or the stepping thread's), and
    // its commit.
    double seconds = 0;
    double commitSeconds = 0;
    // The cells of the trial run's trail, and every cell the bot painted in
    // this pass (in the habitat or, past a conflict, in a copy).
    Box tried;
    Box painted;
    // Whether its painted cells carry this pass's mark yet: they are marked
    // only once a later bot's trail comes near them.
    bool marked = false;
};

}  // namespace tintwalk

#include "saver/picture.h"

#include <utility>

#include "communities/clock_choice.h"
#include "communities/community.h"
#include "core/biotope.h"
#include "draw/dirty_tiles.h"
#include "draw/gl_presenter.h"

#if defined(TINTWALK_PARALLEL)
#include <memory>
#include <system_error>

#include "core/parallel_step.h"
#include "core/random.h"
#include "platform/memory_budget.h"
#include "platform/usable_cores.h"
#include "saver/job_thread.h"
#endif

namespace tintwalk {

namespace {

Presenter* presenter = nullptr;
// What a tick painted. There are two: while the presenter draws one tick's,
// the next tick, run ahead, marks the other.
DirtyTiles painted[2];
DirtyTiles* shown = &painted[0];
DirtyTiles* next = &painted[1];
bool firstTick = true;

void StepPass();

// The passes of one tick, each followed by marking what it painted; then
// the colours of the painted cells, for a presenter that draws them.
void RunTick(DirtyTiles& tiles) {
    StepTickWith(StepPass, [&tiles] { tiles.MarkPass(biotope); });
    tiles.KeepColours(biotope.rgbHabitat);
}

#if defined(TINTWALK_PARALLEL)
// The passes run on every processor the saver may use, where that pays and
// the habitat copies fit in memory; the Windows saver runs on one thread.
// Not while ticks overlap (below): the drawing takes the other processors,
// and plain passes made the ticks shorter (BENCHMARKS.md).
std::unique_ptr<ParallelStepper> stepper;
std::unique_ptr<JobThread> ahead;

void ChooseStepper() {
    stepper.reset();
    uint32_t threads = ParallelPays(biotope.trailLength) && !ahead ? UsableCores() : 1;
    const uint64_t usable = UsableMemory();
    while (threads > 1 &&
           ParallelStepper::ExtraBytes(threads, biotope.hslHabitat.width, biotope.hslHabitat.height,
                                       biotope.botCount) > usable)
        --threads;
    if (threads > 1)
        stepper = std::make_unique<ParallelStepper>(threads);
}

void DropStepper() {
    stepper.reset();
}

void StepPass() {
    if (stepper)
        stepper->Step(biotope);
    else
        biotope.Step();
}

// Running ahead: while the presenter draws tick N from what that tick kept
// (its cells and colours, or its atlas), tick N + 1 runs on a thread of its
// own, so that a tick takes about the longer of the two instead of their
// sum. Only for a presenter that draws from what was kept: the others read
// the habitat.
bool overlapWanted = false;
bool aheadRunning = false;

bool DrawsFromKept() {
    return presenter->WantsCells() || presenter->WantsAtlas().width > 0;
}

void ChooseAhead() {
    if (!overlapWanted || !DrawsFromKept())
        return;
    try {
        ahead = std::make_unique<JobThread>();
    } catch (const std::system_error&) {
        return;  // no thread to spare: the ticks run in turn
    }
    // Each thread draws from a generator of its own (core/random.h): the
    // thread takes over the one the community was seeded with, and runs
    // every tick of the picture from the first on.
    ahead->Start([seeded = randomGenerator] { randomGenerator = seeded; });
    ahead->Wait();
}

void WaitForAhead() {
    if (aheadRunning)
        ahead->Wait();
    aheadRunning = false;
}

void DropAhead() {
    WaitForAhead();
    ahead.reset();
}

void RunAhead() {
    if (!ahead)
        return;
    ahead->Start([&tiles = *next] { RunTick(tiles); });
    aheadRunning = true;
}

// Waits for the tick run ahead (starting it now on the first tick); false
// where ticks run in turn.
bool TakeAhead() {
    if (!ahead)
        return false;
    if (!aheadRunning)
        RunAhead();
    WaitForAhead();
    return true;
}
#else
void ChooseStepper() {}

void DropStepper() {}

void StepPass() {
    biotope.Step();
}

void ChooseAhead() {}

void DropAhead() {}

void RunAhead() {}

bool TakeAhead() {
    return false;
}
#endif

// The tick run ahead, else one run now, becomes the one shown.
void TakeTick() {
    if (!TakeAhead())
        RunTick(*next);
    std::swap(shown, next);
}

}  // namespace

Presenter& OpenGlPresenter() {
    static GlPresenter instance;
    return instance;
}

void OverlapTicks(bool on) {
#if defined(TINTWALK_PARALLEL)
    overlapWanted = on;
#else
    (void)on;
#endif
}

bool StartPicture(int32_t width, int32_t height) {
    // One reading of the clock chooses both the community and its seed.
    const int64_t now = ClockSeconds();
    return StartPicture(OpenGlPresenter(), width, height, CommunityRowFromTime(now),
                        SeedFromTime(now));
}

bool StartPicture(Presenter& chosen, int32_t width, int32_t height, int32_t row, uint32_t seed) {
    DropAhead();
    if (presenter != nullptr)
        presenter->Stop();
    presenter = &chosen;
    presenter->Start(width, height);
    for (DirtyTiles& tiles : painted) {
        tiles.Resize(width, height);
        tiles.TrackCells(presenter->WantsCells());
        const AtlasPageSize page = presenter->WantsAtlas();
        tiles.KeepAtlas(page.width, page.height);
    }
    firstTick = true;
    const bool loaded = InitCommunity(row, seed);
    ChooseAhead();
    ChooseStepper();
    return loaded;
}

void FrameTick() {
    TakeTick();
    if (firstTick) {
        shown->MarkAll();
        firstTick = false;
    }
    // A tick with every tile dirty is drawn from the habitat itself, so the
    // next tick starts after it; any other from the kept cells and colours.
    const bool whole = shown->AllDirty();
    if (!whole)
        RunAhead();
    if (presenter != nullptr)
        presenter->Present(biotope.rgbHabitat, *shown);
    if (whole)
        RunAhead();
    shown->Clear();
}

void StopPicture() {
    DropAhead();
    if (presenter != nullptr)
        presenter->Stop();
    presenter = nullptr;
    DropStepper();
    biotope.Release();
}

}  // namespace tintwalk

#include "saver/picture.h"

#include "communities/clock_choice.h"
#include "communities/community.h"
#include "core/biotope.h"
#include "draw/dirty_tiles.h"
#include "draw/gl_presenter.h"

#if defined(TINTWALK_PARALLEL)
#include <memory>

#include "core/parallel_step.h"
#include "platform/memory_budget.h"
#include "platform/usable_cores.h"
#endif

namespace tintwalk {

namespace {

Presenter* presenter = nullptr;
DirtyTiles dirtyTiles;
bool firstTick = true;

#if defined(TINTWALK_PARALLEL)
// The passes run on every processor the saver may use, where that pays and
// the habitat copies fit in memory; the Windows saver runs on one thread.
std::unique_ptr<ParallelStepper> stepper;

void ChooseStepper() {
    stepper.reset();
    uint32_t threads = ParallelPays(biotope.trailLength) ? UsableCores() : 1;
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
#else
void ChooseStepper() {}

void DropStepper() {}

void StepPass() {
    biotope.Step();
}
#endif

}  // namespace

Presenter& OpenGlPresenter() {
    static GlPresenter instance;
    return instance;
}

bool StartPicture(int32_t width, int32_t height) {
    // One reading of the clock chooses both the community and its seed.
    const int64_t now = ClockSeconds();
    return StartPicture(OpenGlPresenter(), width, height, CommunityRowFromTime(now),
                        SeedFromTime(now));
}

bool StartPicture(Presenter& chosen, int32_t width, int32_t height, int32_t row, uint32_t seed) {
    if (presenter != nullptr)
        presenter->Stop();
    presenter = &chosen;
    presenter->Start(width, height);
    dirtyTiles.Resize(width, height);
    dirtyTiles.TrackCells(presenter->WantsCells());
    firstTick = true;
    const bool loaded = InitCommunity(row, seed);
    ChooseStepper();
    return loaded;
}

void FrameTick() {
    StepTickWith(StepPass, [] { dirtyTiles.MarkPass(biotope); });
    if (firstTick) {
        dirtyTiles.MarkAll();
        firstTick = false;
    }
    if (presenter != nullptr)
        presenter->Present(biotope, dirtyTiles);
    dirtyTiles.Clear();
}

void StopPicture() {
    if (presenter != nullptr)
        presenter->Stop();
    presenter = nullptr;
    DropStepper();
    biotope.Release();
}

}  // namespace tintwalk

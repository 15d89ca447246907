#include "saver/picture.h"

#include "communities/clock_choice.h"
#include "communities/community.h"
#include "core/biotope.h"
#include "draw/dirty_tiles.h"
#include "draw/gl_presenter.h"

namespace tintwalk {

namespace {

Presenter* presenter = nullptr;
DirtyTiles dirtyTiles;
bool firstTick = true;

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
    return InitCommunity(row, seed);
}

void FrameTick() {
    StepTick(biotope, [] { dirtyTiles.MarkPass(biotope); });
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
    biotope.Release();
}

}  // namespace tintwalk

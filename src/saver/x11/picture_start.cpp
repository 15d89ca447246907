#include "saver/x11/picture_start.h"

#include <string>

#include "communities/clock_choice.h"
#include "communities/community.h"
#include "communities/community_memory.h"
#include "platform/memory_budget.h"
#include "saver/picture.h"
#include "saver/x11/messages.h"

namespace tintwalk {

bool BeginPicture(Drawer& drawer, const SaverOptions& options, int32_t width, int32_t height) {
    // Under a control group's limit a habitat too large is allocated all
    // the same, and the kernel kills the saver when it is touched: ask first.
    const std::string noMemory = NoMemoryText(width, height);
    if (!MemoryFits(CommunityBytes(width, height))) {
        Fail(noMemory);
        return false;
    }
    surfaceWidth = width;
    surfaceHeight = height;
    const PictureChoice choice = ChoosePicture(options, ClockSeconds());
    StartPicture(drawer.WindowPresenter(), width, height, choice.row, choice.seed);
    // The habitat's allocation can fail all the same (an address-space limit).
    if (!CommunityLoaded(static_cast<uint32_t>(width), static_cast<uint32_t>(height))) {
        StopPicture();
        Fail(noMemory);
        return false;
    }
    return true;
}

}  // namespace tintwalk

#include "communities/community_memory.h"

#include "communities/community.h"
#include "core/biotope.h"

namespace tintwalk {

uint64_t CommunityBytes(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0)
        return 0;
    const uint64_t cells = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    const uint64_t trail =
        uint64_t{TrailLength(width, height)} * (sizeof(TrailPoint) + sizeof(RgbPixel));
    return 2 * cells * 3 + kCommunityBots * trail;
}

bool CommunityLoaded(uint32_t width, uint32_t height) {
    if (biotope.rgbHabitat.pixels == nullptr || biotope.hslHabitat.pixels == nullptr ||
        biotope.rgbHabitat.width != width || biotope.rgbHabitat.height != height ||
        biotope.bots == nullptr || biotope.botCount == 0)
        return false;
    for (uint32_t i = 0; i < biotope.botCount; ++i) {
        if (biotope.bots[i].trailLength != biotope.trailLength)
            return false;
    }
    return true;
}

std::string NoMemoryText(int64_t width, int64_t height) {
    return "not enough memory for a " + std::to_string(width) + "x" + std::to_string(height) +
           " picture";
}

}  // namespace tintwalk

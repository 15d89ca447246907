#include "draw/dirty_tiles.h"

#include <algorithm>

#include "core/biotope.h"

namespace tintwalk {

void DirtyTiles::Resize(int32_t newWidth, int32_t newHeight) {
    width = newWidth > 0 ? newWidth : 0;
    height = newHeight > 0 ? newHeight : 0;
    columns = (width + kTileSide - 1) >> kTileShift;
    rows = (height + kTileSide - 1) >> kTileShift;
    flags.assign(static_cast<size_t>(columns) * static_cast<size_t>(rows), 0);
    dirtyCount = 0;
}

void DirtyTiles::MarkAll() {
    std::fill(flags.begin(), flags.end(), uint8_t{1});
    dirtyCount = static_cast<uint32_t>(flags.size());
}

void DirtyTiles::MarkPass(const Biotope& biotope) {
    if (flags.empty())
        return;
    const size_t stride = static_cast<size_t>(columns);
    uint32_t marked = 0;
    for (uint32_t b = 0; b < biotope.botCount; ++b) {
        const Bot& bot = biotope.bots[b];
        const TrailPoint* points = bot.trailPoints;
        if (points == nullptr)
            continue;
        const uint32_t count = std::min(bot.stepIndex, bot.trailLength);
        for (uint32_t i = 0; i < count; ++i) {
            // Trail points always lie inside the habitat; anything else
            // (a habitat that changed under the bots) is left alone.
            const uint32_t x = static_cast<uint32_t>(points[i].x);
            const uint32_t y = static_cast<uint32_t>(points[i].y);
            if (x >= static_cast<uint32_t>(width) || y >= static_cast<uint32_t>(height))
                continue;
            uint8_t& flag = flags[(y >> kTileShift) * stride + (x >> kTileShift)];
            marked += flag ^ 1u;
            flag = 1;
        }
    }
    dirtyCount += marked;
}

void DirtyTiles::Clear() {
    if (dirtyCount != 0)
        std::fill(flags.begin(), flags.end(), uint8_t{0});
    dirtyCount = 0;
}

}  // namespace tintwalk

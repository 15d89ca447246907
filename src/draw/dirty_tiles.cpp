#include "draw/dirty_tiles.h"

#include <algorithm>

#include "core/biotope.h"

namespace tintwalk {

namespace {

size_t CellCount(int32_t width, int32_t height) {
    return static_cast<size_t>(width) * static_cast<size_t>(height);
}

}  // namespace

void DirtyTiles::Resize(int32_t newWidth, int32_t newHeight) {
    width = newWidth > 0 ? newWidth : 0;
    height = newHeight > 0 ? newHeight : 0;
    columns = (width + kTileSide - 1) >> kTileShift;
    rows = (height + kTileSide - 1) >> kTileShift;
    flags.assign(static_cast<size_t>(columns) * static_cast<size_t>(rows), 0);
    dirtyCount = 0;
    cells.clear();
    colours.clear();
    atlas.Clear();
    cellBits.assign(trackCells ? (CellCount(width, height) + 63) / 64 : 0, 0);
}

void DirtyTiles::TrackCells(bool on) {
    trackCells = on;
    cells.clear();
    colours.clear();
    cellBits.assign(on ? (CellCount(width, height) + 63) / 64 : 0, 0);
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
            if (trackCells) {
                const size_t cell = static_cast<size_t>(y) * static_cast<size_t>(width) + x;
                uint64_t& word = cellBits[cell >> 6];
                const uint64_t bit = uint64_t{1} << (cell & 63);
                if ((word & bit) == 0) {
                    word |= bit;
                    cells.push_back(points[i]);
                }
            }
        }
    }
    dirtyCount += marked;
}

void DirtyTiles::Clear() {
    if (dirtyCount != 0)
        std::fill(flags.begin(), flags.end(), uint8_t{0});
    dirtyCount = 0;
    // Only the listed cells have their bit set.
    for (const TrailPoint& point : cells) {
        const size_t cell = static_cast<size_t>(point.y) * static_cast<size_t>(width) +
                            static_cast<size_t>(point.x);
        cellBits[cell >> 6] = 0;
    }
    cells.clear();
    colours.clear();
}

void DirtyTiles::KeepAtlas(int32_t pageWidth, int32_t pageHeight) {
    atlas.SetPageSize(pageWidth, pageHeight);
}

void DirtyTiles::KeepColours(const Image& habitat) {
    colours.clear();
    atlas.Clear();
    if (habitat.pixels == nullptr || habitat.width != static_cast<uint32_t>(width) ||
        habitat.height != static_cast<uint32_t>(height))
        return;
    if (atlas.PageWidth() > 0 && !Empty() && !AllDirty()) {
        CollectRects(rects);
        atlas.Pack(rects, habitat.pixels, width);
    }
    colours.resize(cells.size());
    RgbPixel* out = colours.data();
    for (const TrailPoint& point : cells) {
        // The habitat's rows are packed, whatever its pitch.
        const uint8_t* rgb =
            habitat.pixels +
            (static_cast<size_t>(point.y) * habitat.width + static_cast<size_t>(point.x)) * 3;
        *out++ = {rgb[0], rgb[1], rgb[2]};
    }
}

void DirtyTiles::CollectRects(std::vector<CellRect>& out) const {
    out.clear();
    // Indices into out of the rectangles that reach the top of the tile row
    // below, in column order; a run with the same columns extends one.
    std::vector<size_t> below;
    std::vector<size_t> reaching;
    size_t cursor = 0;
    int32_t lastRow = -2;
    ForEachRun([&](int32_t row, int32_t first, int32_t end) {
        if (row != lastRow) {
            below.swap(reaching);
            if (row != lastRow + 1)
                below.clear();
            reaching.clear();
            cursor = 0;
            lastRow = row;
        }
        const int32_t x0 = CellX(first);
        const int32_t x1 = CellEndX(end);
        while (cursor < below.size() && out[below[cursor]].x0 < x0)
            ++cursor;
        if (cursor < below.size() && out[below[cursor]].x0 == x0 && out[below[cursor]].x1 == x1) {
            out[below[cursor]].y1 = CellEndY(row);
            reaching.push_back(below[cursor]);
        } else {
            out.push_back({x0, CellY(row), x1, CellEndY(row)});
            reaching.push_back(out.size() - 1);
        }
    });
}

}  // namespace tintwalk

// Which parts of the habitat a frame tick painted, as a map of 8 x 8 cell
// tiles. It is filled from the bots' trails after every pass, so the step
// itself pays nothing for it; the drawing code then copies only the dirty
// tiles of the RGB habitat to the screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/biotope.h"
#include "draw/cell_rect.h"
#include "draw/tile_atlas.h"

namespace tintwalk {

class DirtyTiles {
  public:
    static constexpr int32_t kTileShift = 3;
    static constexpr int32_t kTileSide = 1 << kTileShift;

    // A habitat of width x height cells, every tile clean.
    void Resize(int32_t width, int32_t height);
    // Whether MarkPass also lists each painted cell once (Cells). Off at
    // first: it costs a bit test per trail point that tiles alone do not.
    void TrackCells(bool on);
    // Every tile dirty: the first frame shows the whole habitat.
    void MarkAll();
    // The tiles under every trail point of the pass just run.
    void MarkPass(const Biotope& biotope);
    void Clear();

    bool Empty() const { return dirtyCount == 0; }
    bool AllDirty() const { return !flags.empty() && dirtyCount == flags.size(); }
    // The distinct cells painted since the last Clear, in painting order;
    // empty unless TrackCells is on.
    const std::vector<TrailPoint>& Cells() const { return cells; }
    // Whether KeepColours also packs the cells of the dirty tiles into an
    // atlas of pages of that size (0 x 0: no atlas, the default).
    void KeepAtlas(int32_t pageWidth, int32_t pageHeight);
    // Keeps the colour that each listed cell has in `habitat` (the RGB
    // habitat after the tick's passes) and, unless every tile is dirty, the
    // atlas of the dirty tiles, so that the tick can be drawn while the next
    // one already paints the habitat.
    void KeepColours(const Image& habitat);
    // The atlas kept by the last KeepColours; emptied by Clear.
    const TileAtlas& Atlas() const { return atlas; }
    // The kept colour of each listed cell: CellColours()[i] is Cells()[i]'s.
    const std::vector<RgbPixel>& CellColours() const { return colours; }
    // The dirty tiles as few rectangles of cells, clipped to the habitat:
    // the runs of each tile row, merged with the same run of the row below.
    void CollectRects(std::vector<CellRect>& out) const;
    int32_t Width() const { return width; }
    int32_t Height() const { return height; }

    // Calls visit(row, firstColumn, endColumn) for each run of dirty tiles
    // along a tile row, tile row 0 (habitat row 0, the bottom) first.
    template <typename Visit>
    void ForEachRun(Visit visit) const {
        if (dirtyCount == 0)
            return;
        for (int32_t row = 0; row < rows; ++row) {
            const uint8_t* line = &flags[static_cast<size_t>(row) * static_cast<size_t>(columns)];
            int32_t column = 0;
            while (column < columns) {
                if (line[column] == 0) {
                    ++column;
                    continue;
                }
                const int32_t first = column;
                while (column < columns && line[column] != 0)
                    ++column;
                visit(row, first, column);
            }
        }
    }

    // The cells a run of tiles covers, clipped to the habitat.
    int32_t CellX(int32_t column) const { return column << kTileShift; }
    int32_t CellY(int32_t row) const { return row << kTileShift; }
    int32_t CellEndX(int32_t endColumn) const {
        const int32_t end = endColumn << kTileShift;
        return end < width ? end : width;
    }
    int32_t CellEndY(int32_t row) const {
        const int32_t end = (row + 1) << kTileShift;
        return end < height ? end : height;
    }

  private:
    int32_t width = 0;
    int32_t height = 0;
    int32_t columns = 0;
    int32_t rows = 0;
    uint32_t dirtyCount = 0;
    std::vector<uint8_t> flags;
    bool trackCells = false;
    std::vector<uint64_t> cellBits;  // one bit per cell, set while listed
    std::vector<TrailPoint> cells;
    std::vector<RgbPixel> colours;
    TileAtlas atlas;
    std::vector<CellRect> rects;  // KeepColours' scratch
};

}  // namespace tintwalk

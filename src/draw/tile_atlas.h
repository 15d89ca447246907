// The cells of a tick's dirty tiles packed side by side into one small
// picture of opaque RGBA texels, so that a presenter can send them to the
// OpenGL in one upload and draw each rectangle from its place in the atlas.
// A software rasteriser copies such an upload as one block, where hundreds
// of rectangle uploads into a habitat-sized texture each cost a call and
// scatter their rows over the whole texture.
//
// The atlas is made of pages of a fixed size (one texture each); rectangles
// are cut to fit a page and laid out on shelves: rows of pieces, the
// tallest first. A tick rarely needs more than one page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "draw/cell_rect.h"

namespace tintwalk {

// Copies `count` packed RGB cells to RGBA texels with alpha 255.
void CopyOpaqueTexels(const uint8_t* rgb, uint8_t* rgba, int32_t count);

// Cells of the habitat and where they lie in the atlas: page `page`, its
// lower left corner at (x, y) of that page.
struct AtlasPiece {
    CellRect cells;
    int32_t page;
    int32_t x;
    int32_t y;
};

class TileAtlas {
  public:
    // Pages of pageWidth x pageHeight texels (each at least 1); 0 leaves the
    // atlas empty at every Pack.
    void SetPageSize(int32_t pageWidth, int32_t pageHeight);
    int32_t PageWidth() const { return pageWidth_; }
    int32_t PageHeight() const { return pageHeight_; }

    // Lays out `rects` and copies their cells from `rgb` (packed RGB rows of
    // a habitat `habitatWidth` cells wide, row 0 first), replacing what the
    // atlas held.
    void Pack(const std::vector<CellRect>& rects, const uint8_t* rgb, int32_t habitatWidth);
    void Clear();

    // In page order, and within a page shelf by shelf.
    const std::vector<AtlasPiece>& Pieces() const { return pieces_; }
    int32_t Pages() const { return static_cast<int32_t>(usedRows_.size()); }
    // The rows of page `page` that hold pieces, from row 0 up.
    int32_t UsedRows(int32_t page) const { return usedRows_[static_cast<size_t>(page)]; }
    // The texels of page `page`: UsedRows(page) rows of PageWidth() RGBA texels.
    const uint8_t* PageTexels(int32_t page) const {
        return texels_.data() + pageStarts_[static_cast<size_t>(page)];
    }

  private:
    int32_t pageWidth_ = 0;
    int32_t pageHeight_ = 0;
    std::vector<AtlasPiece> pieces_;
    std::vector<int32_t> usedRows_;
    // Where each page's rows begin in texels_: the pages lie back to back,
    // each only as tall as its used rows.
    std::vector<size_t> pageStarts_;
    std::vector<uint8_t> texels_;
};

}  // namespace tintwalk

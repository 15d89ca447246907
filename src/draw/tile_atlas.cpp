#include "draw/tile_atlas.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tintwalk {

namespace {

// How many pieces ahead of the copy their habitat rows are asked for.
constexpr size_t kPiecesAhead = 4;

inline void Prefetch(const uint8_t* address) {
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

}  // namespace

// Copies `count` RGB cells to RGBA texels with alpha 255. On a
// little-endian machine each cell is read as a 4-byte word whose top byte
// (the next cell's) becomes the alpha, except the last, which may end the
// habitat.
void CopyOpaqueTexels(const uint8_t* in, uint8_t* out, int32_t count) {
    int32_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 1 < count; ++i, in += 3, out += 4) {
            uint32_t texel;
            std::memcpy(&texel, in, 4);
            texel |= 0xff000000u;
            std::memcpy(out, &texel, 4);
        }
    }
    for (; i < count; ++i, in += 3, out += 4) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = 255;
    }
}

void TileAtlas::SetPageSize(int32_t pageWidth, int32_t pageHeight) {
    pageWidth_ = pageWidth > 0 && pageHeight > 0 ? pageWidth : 0;
    pageHeight_ = pageWidth > 0 && pageHeight > 0 ? pageHeight : 0;
    Clear();
}

void TileAtlas::Clear() {
    pieces_.clear();
    usedRows_.clear();
    pageStarts_.clear();
}

void TileAtlas::Pack(const std::vector<CellRect>& rects, const uint8_t* rgb, int32_t habitatWidth) {
    Clear();
    if (pageWidth_ == 0 || rgb == nullptr)
        return;
    // Rectangles cut to fit a page, then the tallest first, so that each
    // shelf is as tall as its first piece and wastes little above the rest.
    for (const CellRect& r : rects) {
        for (int32_t y0 = r.y0; y0 < r.y1; y0 += pageHeight_) {
            for (int32_t x0 = r.x0; x0 < r.x1; x0 += pageWidth_) {
                const CellRect cut = {x0, y0, std::min(r.x1, x0 + pageWidth_),
                                      std::min(r.y1, y0 + pageHeight_)};
                pieces_.push_back({cut, 0, 0, 0});
            }
        }
    }
    std::stable_sort(pieces_.begin(), pieces_.end(), [](const AtlasPiece& a, const AtlasPiece& b) {
        return a.cells.y1 - a.cells.y0 > b.cells.y1 - b.cells.y0;
    });
    int32_t page = 0;
    int32_t x = 0;
    int32_t shelfY = 0;
    int32_t shelfHeight = 0;
    for (AtlasPiece& piece : pieces_) {
        const int32_t width = piece.cells.x1 - piece.cells.x0;
        const int32_t height = piece.cells.y1 - piece.cells.y0;
        if (x + width > pageWidth_) {
            shelfY += shelfHeight;
            x = 0;
            shelfHeight = 0;
        }
        if (shelfY + height > pageHeight_) {
            ++page;
            shelfY = 0;
            x = 0;
            shelfHeight = 0;
        }
        if (usedRows_.size() <= static_cast<size_t>(page))
            usedRows_.resize(static_cast<size_t>(page) + 1, 0);
        piece.page = page;
        piece.x = x;
        piece.y = shelfY;
        x += width;
        shelfHeight = std::max(shelfHeight, height);
        usedRows_[static_cast<size_t>(page)] =
            std::max(usedRows_[static_cast<size_t>(page)], shelfY + height);
    }
    size_t bytes = 0;
    const size_t rowBytes = static_cast<size_t>(pageWidth_) * 4;
    for (int32_t rows : usedRows_) {
        pageStarts_.push_back(bytes);
        bytes += static_cast<size_t>(rows) * rowBytes;
    }
    if (texels_.size() < bytes)
        texels_.resize(bytes);
    // The rows of a piece lie a habitat row apart, each in a cache line of
    // its own: ask for those of a piece a few ahead while copying this one.
    const auto rowStart = [&](const CellRect& cells, int32_t row) {
        return rgb + (static_cast<size_t>(row) * static_cast<size_t>(habitatWidth) +
                      static_cast<size_t>(cells.x0)) *
                         3;
    };
    for (size_t i = 0; i < pieces_.size(); ++i) {
        if (i + kPiecesAhead < pieces_.size()) {
            const CellRect& ahead = pieces_[i + kPiecesAhead].cells;
            const size_t bytes = static_cast<size_t>(ahead.x1 - ahead.x0) * 3;
            for (int32_t row = ahead.y0; row < ahead.y1; ++row) {
                for (size_t at = 0; at < bytes; at += 64)
                    Prefetch(rowStart(ahead, row) + at);
                Prefetch(rowStart(ahead, row) + bytes - 1);
            }
        }
        const AtlasPiece& piece = pieces_[i];
        const int32_t width = piece.cells.x1 - piece.cells.x0;
        uint8_t* page = texels_.data() + pageStarts_[static_cast<size_t>(piece.page)];
        for (int32_t row = piece.cells.y0; row < piece.cells.y1; ++row) {
            const uint8_t* in = rowStart(piece.cells, row);
            uint8_t* out = page + static_cast<size_t>(piece.y + row - piece.cells.y0) * rowBytes +
                           static_cast<size_t>(piece.x) * 4;
            CopyOpaqueTexels(in, out, width);
        }
    }
}

}  // namespace tintwalk

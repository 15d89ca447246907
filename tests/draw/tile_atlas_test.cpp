// The atlas of dirty tiles: every cell of every rectangle lands exactly once
// in some page, with its colour and alpha 255, and pieces neither overlap
// nor leave their page, whatever the shapes of rectangles and pages.
#include "draw/tile_atlas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tintwalk {
namespace {

struct Habitat {
    Habitat(int32_t w, int32_t h, uint32_t seed) : width(w), height(h), rgb(size_t(w) * h * 3) {
        std::mt19937 random(seed);
        for (uint8_t& byte : rgb)
            byte = static_cast<uint8_t>(random());
    }
    int32_t width;
    int32_t height;
    std::vector<uint8_t> rgb;
};

// Checks the atlas against the rectangles it was packed from.
void ExpectFaithful(const TileAtlas& atlas, const std::vector<CellRect>& rects,
                    const Habitat& habitat) {
    const int32_t pw = atlas.PageWidth();
    const int32_t ph = atlas.PageHeight();
    // How often each habitat cell was placed, and which page texels are taken.
    std::vector<int> placed(habitat.rgb.size() / 3, 0);
    std::vector<std::vector<bool>> taken(atlas.Pages(), std::vector<bool>(size_t(pw) * ph, false));
    int32_t lastPage = 0;
    for (const AtlasPiece& piece : atlas.Pieces()) {
        ASSERT_GE(piece.page, lastPage) << "pieces come in page order";
        lastPage = piece.page;
        ASSERT_LT(piece.page, atlas.Pages());
        const int32_t w = piece.cells.x1 - piece.cells.x0;
        const int32_t h = piece.cells.y1 - piece.cells.y0;
        ASSERT_GT(w, 0);
        ASSERT_GT(h, 0);
        ASSERT_GE(piece.x, 0);
        ASSERT_GE(piece.y, 0);
        ASSERT_LE(piece.x + w, pw);
        ASSERT_LE(piece.y + h, atlas.UsedRows(piece.page));
        ASSERT_LE(atlas.UsedRows(piece.page), ph);
        const uint8_t* page = atlas.PageTexels(piece.page);
        for (int32_t dy = 0; dy < h; ++dy) {
            for (int32_t dx = 0; dx < w; ++dx) {
                const size_t texel = size_t(piece.y + dy) * pw + (piece.x + dx);
                ASSERT_FALSE(taken[piece.page][texel]) << "pieces overlap";
                taken[piece.page][texel] = true;
                const size_t cell =
                    size_t(piece.cells.y0 + dy) * habitat.width + (piece.cells.x0 + dx);
                ++placed[cell];
                const uint8_t* want = &habitat.rgb[cell * 3];
                const uint8_t* got = page + texel * 4;
                ASSERT_EQ(std::vector<uint8_t>(got, got + 4),
                          (std::vector<uint8_t>{want[0], want[1], want[2], 255}))
                    << "cell " << piece.cells.x0 + dx << "," << piece.cells.y0 + dy;
            }
        }
    }
    std::vector<int> wanted(placed.size(), 0);
    for (const CellRect& r : rects) {
        for (int32_t y = r.y0; y < r.y1; ++y) {
            for (int32_t x = r.x0; x < r.x1; ++x)
                ++wanted[size_t(y) * habitat.width + x];
        }
    }
    EXPECT_EQ(placed, wanted);
}

TEST(TileAtlas, PacksEveryRectangleFaithfullyIntoPagesOfAnyShape) {
    // Habitats with odd widths, a side of 1, 2 or 3, and one wider than a
    // page; pages from one tile to far larger than the picture, square or not.
    const int32_t habitats[][2] = {{203, 117}, {1, 300}, {300, 2}, {3, 3}, {1000, 40}};
    const int32_t pages[][2] = {{8, 8}, {16, 8}, {8, 64}, {64, 64}, {2048, 2048}, {1, 1}};
    uint32_t seed = 1;
    for (const auto& [hw, hh] : habitats) {
        const Habitat habitat(hw, hh, seed++);
        // Rectangles of every size from one cell to the whole habitat.
        std::mt19937 random(seed);
        std::vector<CellRect> rects = {{0, 0, hw, hh}, {0, 0, 1, 1}};
        for (int i = 0; i < 40; ++i) {
            const int32_t x0 = int32_t(random() % hw);
            const int32_t y0 = int32_t(random() % hh);
            rects.push_back({x0, y0, x0 + 1 + int32_t(random() % (hw - x0)),
                             y0 + 1 + int32_t(random() % (hh - y0))});
        }
        for (const auto& [pw, ph] : pages) {
            SCOPED_TRACE(std::to_string(hw) + "x" + std::to_string(hh) + " in pages of " +
                         std::to_string(pw) + "x" + std::to_string(ph));
            TileAtlas atlas;
            atlas.SetPageSize(pw, ph);
            atlas.Pack(rects, habitat.rgb.data(), hw);
            ExpectFaithful(atlas, rects, habitat);
            // Packing again replaces what was there.
            atlas.Pack({rects.front()}, habitat.rgb.data(), hw);
            ExpectFaithful(atlas, {rects.front()}, habitat);
        }
    }
}

TEST(TileAtlas, NothingToPackOrNoPagesLeavesItEmpty) {
    const Habitat habitat(16, 16, 7);
    TileAtlas atlas;
    atlas.Pack({{0, 0, 8, 8}}, habitat.rgb.data(), 16);  // no page size yet
    EXPECT_TRUE(atlas.Pieces().empty());
    EXPECT_EQ(atlas.Pages(), 0);
    atlas.SetPageSize(8, 8);
    atlas.Pack({}, habitat.rgb.data(), 16);
    EXPECT_EQ(atlas.Pages(), 0);
    atlas.Pack({{0, 0, 8, 8}}, nullptr, 16);
    EXPECT_EQ(atlas.Pages(), 0);
    atlas.SetPageSize(0, 8);
    EXPECT_EQ(atlas.PageWidth(), 0);
}

}  // namespace
}  // namespace tintwalk

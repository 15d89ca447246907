#pragma once

#include <cstdint>

namespace tintwalk {

// A rectangle of cells, [x0, x1) x [y0, y1), row 0 at the bottom.
struct CellRect {
    int32_t x0;
    int32_t y0;
    int32_t x1;
    int32_t y1;
};

}  // namespace tintwalk

// The page's C interface refuses what the renderer refuses. The page checks
// its parameters before it calls, so the browser test never gets here.
#include <gtest/gtest.h>

#include <cstdint>

#include "tintwalk_web.h"

namespace {

TEST(WebGlue, RefusesWhatTheRendererRefuses) {
    const int32_t kBad[][3] = {{-1, 10, 10}, {10, 10, 10},  {0, 0, 10},
                               {0, 10, -3},  {0, 32769, 1}, {0, 1, 32769}};
    for (const auto& [row, width, height] : kBad) {
        EXPECT_EQ(tw_start(row, 1, width, height), -1);
        EXPECT_EQ(tw_rgba(), nullptr);
        tw_ticks(1);
    }
}

}  // namespace

#include "core/random.h"

#include <gtest/gtest.h>

namespace tintwalk {
namespace {

TEST(RandomGenerator, PublishedSequences) {
    struct Case {
        int32_t seed;
        int32_t first[5];
    };
    const Case cases[] = {
        {1, {1804289383, 846930886, 1681692777, 1714636915, 1957747793}},
        {0, {1804289383, 846930886, 1681692777, 1714636915, 1957747793}},
        {12345, {383100999, 858300821, 357768173}},
    };
    for (const Case& c : cases) {
        RandomGenerator g;
        g.Seed(c.seed);
        for (int32_t expected : c.first) {
            if (expected != 0) {
                EXPECT_EQ(g.Next(), expected) << "seed " << c.seed;
            }
        }
    }
}

TEST(RandomGenerator, UnseededEqualsSeedOneAndReseedingRestarts) {
    RandomGenerator fresh;
    RandomGenerator g;
    g.Seed(-7);
    int32_t first[1000];
    for (int32_t& v : first)
        v = g.Next();
    g.Seed(-7);
    RandomGenerator one;
    one.Seed(1);
    // Well past one turn of the table, so both index wraps are exercised.
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(g.Next(), first[i]);
        EXPECT_EQ(fresh.Next(), one.Next());
    }
    for (int i = 0; i < 100000; ++i)
        ASSERT_GE(g.Next(), 0);
}

}  // namespace
}  // namespace tintwalk

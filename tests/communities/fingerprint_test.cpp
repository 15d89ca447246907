// Pictures against recorded fingerprints: every community at ordinary, odd
// and one-cell-wide sizes.
#include <gtest/gtest.h>

#include "support/fingerprint_check.h"

namespace tintwalk {
namespace {

TEST(Fingerprints, EveryRecordedCaseHolds) {
    EXPECT_EQ(CheckFingerprintTable([] { biotope.Step(); }, ""), 50);
}

}  // namespace
}  // namespace tintwalk

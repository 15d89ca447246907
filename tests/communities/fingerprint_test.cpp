// Pictures against the recorded fingerprints (tests/data/fingerprints.tsv):
// every community at ordinary, odd and one-cell-wide sizes.
// Each case runs its frame ticks (two passes each) and hashes both habitats.
#include <gtest/gtest.h>

#include "support/fingerprint_check.h"

namespace tintwalk {
namespace {

TEST(Fingerprints, EveryRecordedPictureMatches) {
    EXPECT_EQ(CheckFingerprintTable([] { biotope.Step(); }, ""), 50);
}

}  // namespace
}  // namespace tintwalk

// The stored speed value, of any length and content: values of up to four
// bytes are taken whole, least significant byte first and the missing high
// bytes 0; longer ones leave the speed as it was.
#include <cstdint>

#include "fuzz_input.h"
#include "saver/settings_value.h"

using namespace tintwalk;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr int32_t kBefore = 49;
    int32_t speed = kBefore;
    const bool taken = SpeedFromStoredBytes(data, size, speed);
    if (size > 4) {
        Check(!taken && speed == kBefore, "a value longer than four bytes is not read");
        return 0;
    }
    int64_t expected = 0;
    for (size_t i = size; i-- > 0;)
        expected = expected * 256 + data[i];
    if (expected > INT32_MAX)
        expected -= int64_t{1} << 32;
    Check(taken && speed == expected, "a value of up to four bytes is taken whole");
    return 0;
}

// The stored "speed" value as the registry hands it over, kept apart from
// the registry calls so that it can be tested and fuzzed anywhere.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tintwalk {

// The bytes of the stored value, of whatever type, least significant first.
// A value shorter than four bytes fills the low bytes and leaves the others
// 0. A longer one does not fit the four-byte buffer it is read into: false,
// and `speed` keeps its value. No range check is made.
bool SpeedFromStoredBytes(const uint8_t* bytes, size_t size, int32_t& speed);

}  // namespace tintwalk

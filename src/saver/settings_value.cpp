#include "saver/settings_value.h"

namespace tintwalk {

bool SpeedFromStoredBytes(const uint8_t* bytes, size_t size, int32_t& speed) {
    if (size > 4)
        return false;
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i)
        value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    speed = static_cast<int32_t>(value);
    return true;
}

}  // namespace tintwalk

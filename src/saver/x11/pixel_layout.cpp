#include "saver/x11/pixel_layout.h"

#include <bit>
#include <cstring>

namespace tintwalk {

bool PixelLayout::Set(const PixelFormatDescription& format) {
    if (format.bitsPerPixel != 24 && format.bitsPerPixel != 32)
        return false;
    const uint32_t masks[3] = {format.redMask, format.greenMask, format.blueMask};
    const uint32_t pixelBits =
        format.bitsPerPixel == 32 ? 0xffffffffu : (1u << format.bitsPerPixel) - 1;
    uint32_t seen = 0;
    for (int c = 0; c < 3; ++c) {
        const uint32_t mask = masks[c];
        if (mask == 0 || (mask & ~pixelBits) != 0 || (mask & seen) != 0)
            return false;
        seen |= mask;
        Channel& channel = channels[c];
        channel.mask = mask;
        channel.shift = std::countr_zero(mask);
        channel.bits = std::popcount(mask);
        // One contiguous run of bits, nothing else.
        if ((mask >> channel.shift) !=
            (channel.bits == 32 ? 0xffffffffu : (1u << channel.bits) - 1))
            return false;
        for (uint32_t value = 0; value < 256; ++value) {
            // Narrow channels keep the high bits; wide ones repeat the byte
            // downwards, so that 255 is always full intensity.
            uint64_t scaled = 0;
            for (int filled = 0; filled < channel.bits; filled += 8)
                scaled = (scaled << 8) | value;
            const int produced = ((channel.bits + 7) / 8) * 8;
            scaled >>= produced - channel.bits;
            table[c][value] = static_cast<uint32_t>(scaled) << channel.shift;
        }
    }
    // Opaque by construction: red's table carries the alpha bits.
    const uint32_t depthBits = format.depth >= 32 ? 0xffffffffu : (1u << format.depth) - 1;
    const uint32_t alpha = depthBits & pixelBits & ~seen;
    for (uint32_t& entry : table[0])
        entry |= alpha;
    bytesPerPixel = format.bitsPerPixel / 8;
    mostSignificantFirst = format.mostSignificantFirst;
    native32 =
        bytesPerPixel == 4 && mostSignificantFirst == (std::endian::native == std::endian::big);
    return true;
}

void PixelLayout::FromRgb(const uint8_t* rgb, uint8_t* pixels, size_t count) const {
    for (size_t i = 0; i < count; ++i, rgb += 3, pixels += bytesPerPixel)
        FromRgb(rgb, pixels);
}

uint32_t PixelLayout::Expand(const Channel& channel, uint32_t pixel) const {
    const uint32_t value = (pixel & channel.mask) >> channel.shift;
    // The top eight bits of the channel; narrow channels repeat their bits.
    if (channel.bits >= 8)
        return value >> (channel.bits - 8);
    uint32_t wide = 0;
    for (int filled = 0; filled < 8; filled += channel.bits)
        wide = (wide << channel.bits) | value;
    const int produced = ((8 + channel.bits - 1) / channel.bits) * channel.bits;
    return wide >> (produced - 8);
}

void PixelLayout::ToRgb(const uint8_t* pixels, uint8_t* rgb, size_t count) const {
    for (size_t i = 0; i < count; ++i, rgb += 3, pixels += bytesPerPixel) {
        uint32_t pixel = 0;
        for (int b = 0; b < bytesPerPixel; ++b) {
            const int shift = mostSignificantFirst ? 8 * (bytesPerPixel - 1 - b) : 8 * b;
            pixel |= static_cast<uint32_t>(pixels[b]) << shift;
        }
        for (int c = 0; c < 3; ++c)
            rgb[c] = static_cast<uint8_t>(Expand(channels[c], pixel));
    }
}

}  // namespace tintwalk

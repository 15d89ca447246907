// How habitat cells (three bytes red, green, blue) become the pixels of an
// X image and back, for TrueColor visuals of 24 or 32 bits per pixel with
// any channel masks and either byte order. Nothing here talks to X: the
// caller hands over what the visual and the image say.
//
// A visual's bits that no colour mask covers are its alpha (a 32-bit visual
// of depth 32): every pixel has them all set, so that a compositing window
// manager shows the picture opaque rather than not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tintwalk {

struct PixelFormatDescription {
    uint32_t redMask = 0;
    uint32_t greenMask = 0;
    uint32_t blueMask = 0;
    int bitsPerPixel = 0;               // 24 or 32
    bool mostSignificantFirst = false;  // the image's byte order
    int depth = 0;                      // the visual's; 0 for the colour bits alone
};

class PixelLayout {
  public:
    // False when the format is not one we can write: other pixel sizes,
    // empty or overlapping masks, or masks that are not one run of bits.
    bool Set(const PixelFormatDescription& format);

    int BytesPerPixel() const { return bytesPerPixel; }

    // Converts `count` RGB cells at `rgb` to pixels at `pixels`.
    void FromRgb(const uint8_t* rgb, uint8_t* pixels, size_t count) const;
    // The same for one cell, inline for callers that convert scattered cells.
    void FromRgb(const uint8_t* rgb, uint8_t* pixel) const {
        const uint32_t value = table[0][rgb[0]] | table[1][rgb[1]] | table[2][rgb[2]];
        if (native32) {
            std::memcpy(pixel, &value, 4);
            return;
        }
        for (int b = 0; b < bytesPerPixel; ++b) {
            const int shift = mostSignificantFirst ? 8 * (bytesPerPixel - 1 - b) : 8 * b;
            pixel[b] = static_cast<uint8_t>(value >> shift);
        }
    }
    // Converts `count` pixels back to RGB cells, exactly inverting FromRgb
    // for channels of 8 or more bits.
    void ToRgb(const uint8_t* pixels, uint8_t* rgb, size_t count) const;

  private:
    struct Channel {
        uint32_t mask = 0;
        int shift = 0;  // lowest bit of the mask
        int bits = 0;   // width of the mask
    };
    uint32_t Expand(const Channel& channel, uint32_t pixel) const;

    Channel channels[3];
    uint32_t table[3][256] = {};  // each channel's byte value, placed in the pixel
    int bytesPerPixel = 0;
    bool mostSignificantFirst = false;
    bool native32 = false;  // 32 bits in this machine's byte order: one store per pixel
};

}  // namespace tintwalk

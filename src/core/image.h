// A pixel buffer with a described format: any depth from 1 to 32 bits, an
// optional grey palette for palettized depths, and pixel memory that is
// either owned or supplied by the caller. The habitat uses two 24-bit images.
#pragma once

#include <cstdint>

namespace tintwalk {

struct PixelFormat {
    uint32_t bitsPerPixel;
    uint32_t redMask;
    uint32_t greenMask;
    uint32_t blueMask;
    uint32_t alphaMask;
};

class Image {
  public:
    Image() = default;
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Validates the request and (re)creates the image. A null `memory` asks the
    // image to allocate height x pitch bytes itself. Every failure prints one
    // line on stderr and leaves the image empty.
    bool Create(uint32_t width, uint32_t height, uint32_t pitch, const PixelFormat& format,
                uint8_t* memory = nullptr);
    // Default masks for 1, 2, 4, 8, 16, 24 and 32 bits, rows aligned to 4 bytes.
    bool CreateWithDepth(uint32_t width, uint32_t height, uint32_t bitsPerPixel);
    void Destroy();

    // Bytes per row for `width` pixels of `bitsPerPixel`, rounded up to
    // `alignment` (1 or a power of two). Returns 0 when the row would not fit
    // in 32 bits, so that no caller can size a buffer from a wrapped value.
    static uint32_t ComputePitch(uint32_t width, uint32_t bitsPerPixel, uint32_t alignment);
    static bool GrayPalette(uint32_t* palette, uint32_t count);

    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t pitch = 0;
    uint8_t* pixels = nullptr;
    uint32_t* palette = nullptr;
    PixelFormat format = {0, 0, 0, 0, 0};
    bool ownsPixels = false;
};

}  // namespace tintwalk

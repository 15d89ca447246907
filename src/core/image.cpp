#include "core/image.h"

#include <cstdio>
#include <limits>
#include <new>

#include "core/diagnostics.h"

namespace tintwalk {

namespace {

// The packed row size in 64 bits: width x bits per pixel can exceed 32 bits.
uint64_t PackedRowBytes(uint32_t width, uint32_t bitsPerPixel) {
    return (static_cast<uint64_t>(width) * bitsPerPixel + 7) >> 3;
}

bool Fail(const char* reason) {
    Diagnostic(stderr, "Image::Create() failure: %s\n", reason);
    return false;
}

}  // namespace

Image::~Image() {
    Destroy();
}

void Image::Destroy() {
    if (ownsPixels)
        delete[] pixels;
    delete[] palette;
    pixels = nullptr;
    palette = nullptr;
    ownsPixels = false;
    width = 0;
    height = 0;
}

uint32_t Image::ComputePitch(uint32_t width, uint32_t bitsPerPixel, uint32_t alignment) {
    uint64_t bytes = PackedRowBytes(width, bitsPerPixel);
    if (alignment > 1 && (bytes & (alignment - 1)) != 0) {
        bytes = bytes + alignment - (bytes & (alignment - 1));
    }
    if (bytes > std::numeric_limits<uint32_t>::max())
        return 0;
    return static_cast<uint32_t>(bytes);
}

bool Image::GrayPalette(uint32_t* palette, uint32_t count) {
    if (palette == nullptr) {
        Diagnostic(stderr, "Image::GrayPalette() failure: no palette\n");
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t v = (i * 255) / (count - 1);
        palette[i] = v + v * 256 + v * 65536;
    }
    return true;
}

bool Image::Create(uint32_t newWidth, uint32_t newHeight, uint32_t newPitch,
                   const PixelFormat& newFormat, uint8_t* memory) {
    Destroy();

    const uint32_t bpp = newFormat.bitsPerPixel;
    if (bpp == 0 || bpp > 32)
        return Fail("unsupported bits per pixel");
    if (newPitch < PackedRowBytes(newWidth, bpp))
        return Fail("pitch too small");

    const uint32_t masks[4] = {newFormat.redMask, newFormat.greenMask, newFormat.blueMask,
                               newFormat.alphaMask};
    uint32_t* newPalette = nullptr;
    if ((masks[0] | masks[1] | masks[2] | masks[3]) == 0) {
        if (bpp > 8)
            return Fail("unsupported palettized image bpp");
        const uint32_t entries = 1u << bpp;
        newPalette = new (std::nothrow) uint32_t[entries];
        if (newPalette == nullptr)
            return Fail("palette not allocated");
        GrayPalette(newPalette, entries);
    } else {
        for (int i = 0; i < 4; ++i) {
            for (int j = i + 1; j < 4; ++j) {
                if ((masks[i] & masks[j]) != 0)
                    return Fail("argb masks overlap");
            }
        }
        const uint32_t all = masks[0] | masks[1] | masks[2] | masks[3];
        if (all > (0xFFFFFFFFu >> (32 - bpp)))
            return Fail("wrong rgba masks for bpp");
    }

    if (memory != nullptr) {
        pixels = memory;
        ownsPixels = false;
    } else {
        // height x pitch is computed in 64 bits: a wrapped 32-bit product would
        // give a buffer smaller than the rows the image describes.
        const uint64_t size = static_cast<uint64_t>(newHeight) * newPitch;
        uint8_t* allocated = nullptr;
        if (size <= std::numeric_limits<size_t>::max()) {
            allocated = new (std::nothrow) uint8_t[static_cast<size_t>(size)];
        }
        if (allocated == nullptr) {
            delete[] newPalette;
            return Fail("pixels not allocated");
        }
        pixels = allocated;
        ownsPixels = true;
    }
    palette = newPalette;
    width = newWidth;
    height = newHeight;
    pitch = newPitch;
    format = newFormat;
    return true;
}

bool Image::CreateWithDepth(uint32_t newWidth, uint32_t newHeight, uint32_t bitsPerPixel) {
    PixelFormat f = {bitsPerPixel, 0, 0, 0, 0};
    switch (bitsPerPixel) {
        case 1:
        case 2:
        case 4:
        case 8:
            break;
        case 16:
            f = {16, 0x7C00, 0x03E0, 0x001F, 0x8000};
            break;
        case 24:
            f = {24, 0xFF0000, 0x00FF00, 0x0000FF, 0};
            break;
        case 32:
            f = {32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000};
            break;
        default:
            return Fail("unsupported bits per pixel");
    }
    return Create(newWidth, newHeight, ComputePitch(newWidth, bitsPerPixel, 4), f);
}

}  // namespace tintwalk

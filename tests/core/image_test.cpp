#include "core/image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tintwalk {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

constexpr PixelFormat kRgb24 = {24, 0xFF0000, 0x00FF00, 0x0000FF, 0};

void ExpectEmpty(const Image& image) {
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.palette, nullptr);
    EXPECT_EQ(image.width, 0u);
    EXPECT_EQ(image.height, 0u);
}

TEST(ImagePitch, PacksBitsAndAlignsRows) {
    EXPECT_EQ(Image::ComputePitch(5, 24, 4), 16u);
    EXPECT_EQ(Image::ComputePitch(4, 24, 4), 12u);
    EXPECT_EQ(Image::ComputePitch(3, 1, 1), 1u);
    EXPECT_EQ(Image::ComputePitch(9, 1, 1), 2u);
    EXPECT_EQ(Image::ComputePitch(0, 24, 4), 0u);
}

TEST(ImageCreate, PitchOneBelowThePackedRowFailsAndEmptiesTheImage) {
    Image image;
    ASSERT_TRUE(image.CreateWithDepth(10, 10, 24));
    CaptureStderr();
    EXPECT_FALSE(image.Create(10, 4, 29, kRgb24));
    EXPECT_EQ(GetCapturedStderr(), "Image::Create() failure: pitch too small\n");
    ExpectEmpty(image);
    EXPECT_TRUE(image.Create(10, 4, 30, kRgb24));  // exactly packed is enough
}

TEST(ImageCreate, RejectsBadFormatsWithTheirOwnLines) {
    struct Case {
        PixelFormat format;
        const char* message;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0}, "Image::Create() failure: unsupported bits per pixel\n"},
        {{33, 1, 2, 4, 0}, "Image::Create() failure: unsupported bits per pixel\n"},
        {{16, 0xFF0000, 0x00FF00, 0x0000FF, 0},
         "Image::Create() failure: wrong rgba masks for bpp\n"},
        {{16, 0xFF00, 0x0FF0, 0, 0}, "Image::Create() failure: argb masks overlap\n"},
        {{12, 0, 0, 0, 0}, "Image::Create() failure: unsupported palettized image bpp\n"},
    };
    for (const Case& c : cases) {
        Image image;
        CaptureStderr();
        EXPECT_FALSE(image.Create(8, 8, 64, c.format));
        EXPECT_EQ(GetCapturedStderr(), c.message);
        ExpectEmpty(image);
    }
    // With 32 bits every mask fits.
    Image image;
    EXPECT_TRUE(image.Create(2, 2, 8, {32, 0xFF000000, 0xFF0000, 0xFF00, 0xFF}));
}

TEST(ImageCreate, EightBitsGetAnEvenGreyPalette) {
    Image image;
    ASSERT_TRUE(image.CreateWithDepth(3, 3, 8));
    ASSERT_NE(image.palette, nullptr);
    EXPECT_EQ(image.pitch, 4u);
    EXPECT_EQ(image.palette[0], 0u);
    EXPECT_EQ(image.palette[1], 0x010101u);
    EXPECT_EQ(image.palette[128], 0x808080u);
    EXPECT_EQ(image.palette[255], 0xFFFFFFu);

    Image mono;
    ASSERT_TRUE(mono.CreateWithDepth(3, 3, 1));
    EXPECT_EQ(mono.palette[0], 0u);
    EXPECT_EQ(mono.palette[1], 0xFFFFFFu);

    Image nibble;
    ASSERT_TRUE(nibble.CreateWithDepth(3, 3, 4));
    EXPECT_EQ(nibble.palette[1], 0x111111u);  // steps of 17
}

TEST(ImageCreate, UnsupportedDepthLeavesTheImageAsItWas) {
    Image image;
    ASSERT_TRUE(image.CreateWithDepth(4, 4, 24));
    uint8_t* before = image.pixels;
    CaptureStderr();
    EXPECT_FALSE(image.CreateWithDepth(4, 4, 12));
    EXPECT_EQ(GetCapturedStderr(), "Image::Create() failure: unsupported bits per pixel\n");
    EXPECT_EQ(image.pixels, before);
    EXPECT_EQ(image.width, 4u);
}

TEST(ImageCreate, CallerMemoryIsNeverFreedOrTouched) {
    std::vector<uint8_t> memory(48, 0xAB);
    {
        Image image;
        ASSERT_TRUE(image.Create(4, 4, 12, kRgb24, memory.data()));
        EXPECT_FALSE(image.ownsPixels);
        EXPECT_EQ(image.pixels, memory.data());
        image.Destroy();
        ExpectEmpty(image);
    }
    for (uint8_t byte : memory)
        EXPECT_EQ(byte, 0xAB);
}

TEST(ImageCreate, GreyPaletteNeedsEntries) {
    CaptureStderr();
    EXPECT_FALSE(Image::GrayPalette(nullptr, 4));
    EXPECT_EQ(GetCapturedStderr(), "Image::GrayPalette() failure: no palette\n");
}

// Sizes whose row or buffer size does not fit in 32 bits must fail instead
// of allocating a buffer from a wrapped product.
TEST(ImageCreate, RowSizeBeyondThirtyTwoBitsFails) {
    Image image;
    // 0x55555556 pixels x 3 bytes = 0x100000002 bytes: wraps to 2 in 32 bits.
    CaptureStderr();
    EXPECT_FALSE(image.Create(0x55555556u, 1, 2, kRgb24));
    EXPECT_EQ(GetCapturedStderr(), "Image::Create() failure: pitch too small\n");
    ExpectEmpty(image);
    EXPECT_EQ(Image::ComputePitch(0x55555556u, 24, 4), 0u);
    CaptureStderr();
    EXPECT_FALSE(image.CreateWithDepth(0x55555556u, 1, 24));
    EXPECT_EQ(GetCapturedStderr(), "Image::Create() failure: pitch too small\n");
    ExpectEmpty(image);
}

TEST(ImageCreate, BufferBeyondMemoryFailsCleanly) {
    Image image;
    ASSERT_TRUE(image.CreateWithDepth(2, 2, 24));
    // 0xFFFFFFFF rows of 0xFFFFFFFC bytes: no machine has that memory, and
    // the 32-bit product would have wrapped to a few bytes.
    CaptureStderr();
    EXPECT_FALSE(image.Create(0x55555554u, 0xFFFFFFFFu, 0xFFFFFFFCu, kRgb24));
    // A sanitizer's allocator may warn first; our line must come last.
    const std::string err = GetCapturedStderr();
    const std::string line = "Image::Create() failure: pixels not allocated\n";
    ASSERT_GE(err.size(), line.size());
    EXPECT_EQ(err.substr(err.size() - line.size()), line);
    ExpectEmpty(image);
}

}  // namespace
}  // namespace tintwalk

#include "render/png_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace tintwalk {
namespace {

// A scratch file in the test's working directory, removed afterwards.
class ScratchFile {
  public:
    explicit ScratchFile(const std::string& name) : path_(name) { std::remove(path_.c_str()); }
    ~ScratchFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

bool Exists(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return file.good();
}

std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>());
}

TEST(PngWriter, RoundTripKeepsEveryChannelAndTheRowOrder) {
    // Three columns, two rows, every channel distinct: a swapped channel
    // order (RGB against BGR) or a flipped row order shows at once.
    const std::vector<uint8_t> pixels = {
        255, 0, 0, 0,  255, 0,  0,  0,  255,  // top row: red, green, blue
        1,   2, 3, 40, 50,  60, 70, 80, 90,   // bottom row
    };
    ScratchFile file("png_round_trip.png");
    std::string error;
    ASSERT_TRUE(WritePng(file.path(), pixels.data(), 3, 2, error)) << error;

    std::vector<uint8_t> read;
    uint32_t width = 0;
    uint32_t height = 0;
    ASSERT_TRUE(ReadPng(file.path(), read, width, height, error)) << error;
    EXPECT_EQ(width, 3u);
    EXPECT_EQ(height, 2u);
    EXPECT_EQ(read, pixels);
}

TEST(PngWriter, BottomUpRowsComeOutWithTheLastRowOnTop) {
    // Memory row 0 is the bottom of the image: it must be the PNG's last row.
    const std::vector<uint8_t> bottomUp = {
        10, 11, 12, 13, 14, 15,  // memory row 0: bottom of the image
        20, 21, 22, 23, 24, 25,  // memory row 1
        30, 31, 32, 33, 34, 35,  // memory row 2: top of the image
    };
    const std::vector<uint8_t> topDown = {
        30, 31, 32, 33, 34, 35, 20, 21, 22, 23, 24, 25, 10, 11, 12, 13, 14, 15,
    };
    ScratchFile file("png_bottom_up.png");
    std::string error;
    ASSERT_TRUE(WritePngBottomUp(file.path(), bottomUp.data(), 2, 3, error)) << error;
    std::vector<uint8_t> read;
    uint32_t width = 0;
    uint32_t height = 0;
    ASSERT_TRUE(ReadPng(file.path(), read, width, height, error)) << error;
    EXPECT_EQ(width, 2u);
    EXPECT_EQ(height, 3u);
    EXPECT_EQ(read, topDown);
}

TEST(PngWriter, BandsOfManyRowsKeepTheirOrder) {
    // More rows than one encoding band, each row a different grey, in both
    // memory orders.
    const uint32_t width = 3;
    const uint32_t height = 150;
    std::vector<uint8_t> topDown;
    std::vector<uint8_t> bottomUp;
    for (uint32_t row = 0; row < height; ++row) {
        topDown.insert(topDown.end(), width * 3, static_cast<uint8_t>(row));
        bottomUp.insert(bottomUp.end(), width * 3, static_cast<uint8_t>(height - 1 - row));
    }
    ScratchFile first("png_bands_top_down.png");
    ScratchFile second("png_bands_bottom_up.png");
    std::string error;
    ASSERT_TRUE(WritePng(first.path(), topDown.data(), width, height, error)) << error;
    ASSERT_TRUE(WritePngBottomUp(second.path(), bottomUp.data(), width, height, error)) << error;
    for (const ScratchFile* file : {&first, &second}) {
        std::vector<uint8_t> read;
        uint32_t readWidth = 0;
        uint32_t readHeight = 0;
        ASSERT_TRUE(ReadPng(file->path(), read, readWidth, readHeight, error)) << error;
        EXPECT_EQ(read, topDown) << file->path();
    }
}

TEST(PngWriter, ReplacesAnExistingFileWhole) {
    ScratchFile file("png_replace.png");
    {
        std::ofstream old(file.path(), std::ios::binary);
        old << std::string(100000, 'x');
    }
    const std::vector<uint8_t> pixels = {9, 8, 7};
    std::string error;
    ASSERT_TRUE(WritePng(file.path(), pixels.data(), 1, 1, error)) << error;
    std::vector<uint8_t> read;
    uint32_t width = 0;
    uint32_t height = 0;
    ASSERT_TRUE(ReadPng(file.path(), read, width, height, error)) << error;
    EXPECT_EQ(read, pixels);
    EXPECT_LT(Bytes(file.path()).size(), 1000u);
}

TEST(PngWriter, AnUnwritablePlaceFailsWithoutLeavingAFile) {
    const std::string path = "no_such_directory_for_png/out.png";
    const std::vector<uint8_t> pixels = {1, 2, 3};
    std::string error;
    EXPECT_FALSE(WritePng(path, pixels.data(), 1, 1, error));
    EXPECT_NE(error.find("no_such_directory_for_png/out.png"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    EXPECT_FALSE(Exists(path));
}

TEST(PngReader, RejectsAFileThatIsNoPng) {
    ScratchFile file("png_not_a_png.png");
    {
        std::ofstream text(file.path(), std::ios::binary);
        text << "this is plain text, not an image";
    }
    std::vector<uint8_t> read = {1};
    uint32_t width = 7;
    uint32_t height = 7;
    std::string error;
    EXPECT_FALSE(ReadPng(file.path(), read, width, height, error));
    EXPECT_TRUE(read.empty());
    EXPECT_EQ(width, 0u);
    EXPECT_EQ(height, 0u);
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace tintwalk

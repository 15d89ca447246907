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
    ~ScratchFile() {
        std::remove(path_.c_str());
        std::remove(TemporaryPngPath(path_).c_str());
    }
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
    EXPECT_FALSE(Exists(TemporaryPngPath(file.path())));

    std::vector<uint8_t> read;
    uint32_t width = 0;
    uint32_t height = 0;
    ASSERT_TRUE(ReadPng(file.path(), read, width, height, error)) << error;
    EXPECT_EQ(width, 3u);
    EXPECT_EQ(height, 2u);
    EXPECT_EQ(read, pixels);
}

TEST(PngWriter, WritesTheSignatureAndAnRgbHeader) {
    const std::vector<uint8_t> pixels(5 * 4 * 3, 196);
    ScratchFile file("png_header.png");
    std::string error;
    ASSERT_TRUE(WritePng(file.path(), pixels.data(), 5, 4, error)) << error;
    const std::vector<uint8_t> bytes = Bytes(file.path());
    ASSERT_GE(bytes.size(), 33u);
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(bytes[i], signature[i]) << "signature byte " << i;
    // IHDR: width 5, height 4, depth 8, colour type 2 (truecolour).
    EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "IHDR");
    EXPECT_EQ(bytes[19], 5);
    EXPECT_EQ(bytes[23], 4);
    EXPECT_EQ(bytes[24], 8);
    EXPECT_EQ(bytes[25], 2);
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
    EXPECT_FALSE(Exists(TemporaryPngPath(path)));
}

TEST(PngWriter, ADirectoryInTheWayFailsAndLeavesNoTemporaryFile) {
    // The encoding succeeds; the final rename onto a directory cannot.
    const std::vector<uint8_t> pixels = {1, 2, 3};
    std::string error;
    EXPECT_FALSE(WritePng(".", pixels.data(), 1, 1, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(Exists(TemporaryPngPath(".")));
}

TEST(PngWriter, RefusesAnEmptyImageOrName) {
    const std::vector<uint8_t> pixels = {1, 2, 3};
    std::string error;
    EXPECT_FALSE(WritePng("", pixels.data(), 1, 1, error));
    EXPECT_FALSE(WritePng("png_empty.png", pixels.data(), 0, 1, error));
    EXPECT_FALSE(WritePng("png_empty.png", pixels.data(), 1, 0, error));
    EXPECT_FALSE(Exists("png_empty.png"));
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

#include "render/png_writer.h"

#include "render/png_codec.h"

namespace tintwalk {

bool PngFile::Open(const std::string& path, std::string& error) {
    path_ = path;
    if (path.empty()) {
        error = "no output file name";
        return false;
    }
    return output_.Open(path, error);
}

bool PngFile::Write(const uint8_t* rgbRows, uint32_t width, uint32_t height, bool bottomUp,
                    std::string& error) {
    if (width == 0 || height == 0 || rgbRows == nullptr) {
        error = "cannot write '" + path_ + "': empty image";
        return false;
    }
    return output_.Write(
        [&](std::FILE* file, std::string& reason) {
            return png_codec::Encode(file, rgbRows, width, height, bottomUp, reason);
        },
        error);
}

bool WritePng(const std::string& path, const uint8_t* rgbTopDownRows, uint32_t width,
              uint32_t height, std::string& error) {
    PngFile file;
    return file.Open(path, error) && file.Write(rgbTopDownRows, width, height, false, error);
}

bool WritePngBottomUp(const std::string& path, const uint8_t* rgbBottomUpRows, uint32_t width,
                      uint32_t height, std::string& error) {
    PngFile file;
    return file.Open(path, error) && file.Write(rgbBottomUpRows, width, height, true, error);
}

bool ReadPng(const std::string& path, std::vector<uint8_t>& rgbTopDownRows, uint32_t& width,
             uint32_t& height, std::string& error) {
    rgbTopDownRows.clear();
    width = 0;
    height = 0;
    if (png_codec::Decode(path, rgbTopDownRows, width, height, error))
        return true;
    rgbTopDownRows.clear();
    width = 0;
    height = 0;
    error = "cannot read '" + path + "': " + error;
    return false;
}

}  // namespace tintwalk

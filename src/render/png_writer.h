// Writing and reading 24-bit RGB PNG files. Linux builds use libpng; Windows
// builds use the system's own imaging codecs, so the bytes of a file may
// differ between the two while the decoded pixels are the same.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tintwalk {

// Writes width x height RGB pixels, three bytes each, rows from the top of
// the image down with no padding between them. The file is written beside
// `path` under a temporary name and renamed into place only when complete,
// so a failure never leaves a partial PNG at `path`. On failure returns
// false with a one-line reason in `error`.
bool WritePng(const std::string& path, const uint8_t* rgbTopDownRows, uint32_t width,
              uint32_t height, std::string& error);
// The same for rows stored from the bottom of the image up, as an OpenGL
// read-back or a habitat whose row 0 is the bottom of the screen holds them.
bool WritePngBottomUp(const std::string& path, const uint8_t* rgbBottomUpRows, uint32_t width,
                      uint32_t height, std::string& error);

// Reads a PNG of any colour type as top-down RGB rows (alpha dropped, 16-bit
// channels reduced to 8). On failure returns false with a reason in `error`.
bool ReadPng(const std::string& path, std::vector<uint8_t>& rgbTopDownRows, uint32_t& width,
             uint32_t& height, std::string& error);

// The temporary name WritePng uses beside `path` in this process.
std::string TemporaryPngPath(const std::string& path);

}  // namespace tintwalk

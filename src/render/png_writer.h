// Writing and reading 24-bit RGB PNG files. Linux builds use libpng; Windows
// builds use the system's own imaging codecs, so the bytes of a file may
// differ between the two while the decoded pixels are the same.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/png_output.h"

namespace tintwalk {

// Writes width x height RGB pixels, three bytes each, rows from the top of
// the image down with no padding between them. A regular file at `path`, or
// none, is replaced whole: the picture is written beside it under a
// temporary name and renamed into place only when complete, so a reader sees
// the old picture or the new one and a failure or a signal leaves nothing
// behind. A symbolic link is followed and its target replaced; a device or
// pipe is written directly; "-" is standard output. On failure returns false
// with a one-line reason (the system's, for a failed write) in `error`.
bool WritePng(const std::string& path, const uint8_t* rgbTopDownRows, uint32_t width,
              uint32_t height, std::string& error);
// The same for rows stored from the bottom of the image up, as an OpenGL
// read-back or a habitat whose row 0 is the bottom of the screen holds them.
bool WritePngBottomUp(const std::string& path, const uint8_t* rgbBottomUpRows, uint32_t width,
                      uint32_t height, std::string& error);

// A PNG file whose place is taken before its picture is made (see WritePng),
// so that an output that cannot be written fails before a long render.
class PngFile {
  public:
    bool Open(const std::string& path, std::string& error);
    bool Write(const uint8_t* rgbRows, uint32_t width, uint32_t height, bool bottomUp,
               std::string& error);

  private:
    std::string path_;
    OutputFile output_;
};

// Reads a PNG of any colour type as top-down RGB rows (alpha dropped, 16-bit
// channels reduced to 8). On failure returns false with a reason in `error`.
bool ReadPng(const std::string& path, std::vector<uint8_t>& rgbTopDownRows, uint32_t& width,
             uint32_t& height, std::string& error);

}  // namespace tintwalk

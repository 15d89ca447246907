// The platform's PNG encoder and decoder behind WritePng and ReadPng.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tintwalk::png_codec {

// Encodes the image into the open stream, which the caller flushes and
// closes. The first row in memory is the top of the image, or the bottom
// when `bottomUp` is set. A failed write leaves errno set and the stream's
// error indicator on, so that the caller can report the system's reason.
bool Encode(std::FILE* file, const uint8_t* rgbRows, uint32_t width, uint32_t height, bool bottomUp,
            std::string& error);

bool Decode(const std::string& path, std::vector<uint8_t>& rgbTopDownRows, uint32_t& width,
            uint32_t& height, std::string& error);

}  // namespace tintwalk::png_codec

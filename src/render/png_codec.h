// The platform's PNG encoder and decoder behind WritePng and ReadPng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tintwalk::png_codec {

// Encodes the image into a new file at `path`, replacing any file there.
// The first row in memory is the top of the image, or the bottom when
// `bottomUp` is set. The caller removes the file when this fails.
bool Encode(const std::string& path, const uint8_t* rgbRows, uint32_t width, uint32_t height,
            bool bottomUp, std::string& error);

bool Decode(const std::string& path, std::vector<uint8_t>& rgbTopDownRows, uint32_t& width,
            uint32_t& height, std::string& error);

}  // namespace tintwalk::png_codec

// Putting an encoded picture in its place, by the platform's rules: a regular
// file (or a missing one) is replaced whole through a temporary file beside
// it, a symbolic link's target receives the picture, a device or pipe is
// written directly, and "-" is standard output.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace tintwalk {

// Writes what `encode` puts into the stream it is given. On failure returns
// false with a one-line reason naming `path` in `error`.
using Encoder = std::function<bool(std::FILE* file, std::string& error)>;
bool WriteOutput(const std::string& path, const Encoder& encode, std::string& error);

}  // namespace tintwalk

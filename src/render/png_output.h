// Putting an encoded picture in its place, by the platform's rules: a regular
// file (or a missing one) is replaced whole through a temporary file beside
// it, a symbolic link's target receives the picture, a device or pipe is
// written directly, and "-" is standard output.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace tintwalk {

// Writes what `encode` puts into the stream it is given. On failure returns
// false with a one-line reason naming the path in `error`.
using Encoder = std::function<bool(std::FILE* file, std::string& error)>;

// The place of one picture, taken before the picture is made: a place that
// cannot be written fails at once, not after a long render. A temporary file
// that never received its picture goes with the object.
class OutputFile {
  public:
    OutputFile();
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file beside `path`, or opens the device or pipe
    // it names. On failure returns false with a one-line reason in `error`.
    bool Open(const std::string& path, std::string& error);
    // Encodes into the opened place and, for a file, moves it over the
    // target once complete and on disk. Once after each successful Open.
    bool Write(const Encoder& encode, std::string& error);

  private:
    struct Place;
    std::unique_ptr<Place> place_;
};

}  // namespace tintwalk

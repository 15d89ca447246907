// Turning a fuzzer's bytes into what the parsers read.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tintwalk::fuzz {

// The input cut at every zero byte: one argument per piece, so that the
// fuzzer controls both the arguments and their number.
inline std::vector<std::string> SplitArguments(const uint8_t* data, size_t size) {
    std::vector<std::string> arguments;
    if (size == 0)
        return arguments;
    std::string piece;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.push_back(piece);
            piece.clear();
        } else {
            piece.push_back(static_cast<char>(data[i]));
        }
    }
    arguments.push_back(piece);
    return arguments;
}

// `text` of digits only (nothing else, at least one), as a number no
// larger than `limit`: the reference the parsers' own loops are held to.
inline bool ReferenceDecimal(const std::string& text, uint64_t limit, uint64_t& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const size_t first = text.find_first_not_of('0');
    const std::string digits = first == std::string::npos ? "0" : text.substr(first);
    if (digits.size() > 20)
        return false;
    errno = 0;
    value = std::strtoull(digits.c_str(), nullptr, 10);
    return errno != ERANGE && value <= limit;
}

// Ends the run as a finding, naming the broken promise.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

inline void Check(bool holds, const char* what) {
    if (!holds)
        Fail(what);
}

}  // namespace tintwalk::fuzz

#include "render/png_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "render/png_codec.h"

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tintwalk {

namespace {

unsigned long ProcessId() {
#ifdef _WIN32
    return static_cast<unsigned long>(_getpid());
#else
    return static_cast<unsigned long>(getpid());
#endif
}

// Moves the finished file over the target in one step, replacing it.
bool ReplaceFile(const std::string& from, const std::string& to, std::string& error) {
#ifdef _WIN32
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD code = GetLastError();
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text, sizeof(text) - 1, nullptr);
    // The system's message ends in a line break; the error is one line.
    size_t length = std::strlen(text);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                          text[length - 1] == ' ' || text[length - 1] == '.'))
        text[--length] = '\0';
    error = "cannot write '" + to + "': " + (length > 0 ? text : "rename failed");
    return false;
#else
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    error = "cannot write '" + to + "': " + std::strerror(errno);
    return false;
#endif
}

}  // namespace

std::string TemporaryPngPath(const std::string& path) {
    // Beside the target, so that the final rename stays on one file system.
    return path + ".tmp" + std::to_string(ProcessId());
}

namespace {

bool WriteRows(const std::string& path, const uint8_t* rgbRows, uint32_t width, uint32_t height,
               bool bottomUp, std::string& error) {
    if (path.empty()) {
        error = "no output file name";
        return false;
    }
    if (width == 0 || height == 0 || rgbRows == nullptr) {
        error = "cannot write '" + path + "': empty image";
        return false;
    }
    const std::string temporary = TemporaryPngPath(path);
    if (!png_codec::Encode(temporary, rgbRows, width, height, bottomUp, error)) {
        std::remove(temporary.c_str());
        error = "cannot write '" + path + "': " + error;
        return false;
    }
    if (!ReplaceFile(temporary, path, error)) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool WritePng(const std::string& path, const uint8_t* rgbTopDownRows, uint32_t width,
              uint32_t height, std::string& error) {
    return WriteRows(path, rgbTopDownRows, width, height, false, error);
}

bool WritePngBottomUp(const std::string& path, const uint8_t* rgbBottomUpRows, uint32_t width,
                      uint32_t height, std::string& error) {
    return WriteRows(path, rgbBottomUpRows, width, height, true, error);
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

// Windows: the temporary file is created new (never over an existing name)
// under a random name of fixed length in the target's folder, and moved over
// the target only when complete and flushed. Ctrl+C or a closing console
// marks it for deletion, so that it goes with the process.
// rand_s comes with this switch.
#define _CRT_RAND_S
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdlib.h>

#include <cstring>
#include <cwchar>
#include <iterator>
#include <memory>
#include <utility>

#include "render/png_output.h"
#include "render/windows_text.h"

namespace tintwalk {

namespace {

// The system's message for `code` on one line, as the error names it.
std::string Failure(const std::string& path, DWORD code) {
    const std::string text = SystemMessage(code);
    return "cannot write '" + path +
           "': " + (text.empty() ? "error " + std::to_string(code) : text);
}

// Room for the longest name a wide call takes.
wchar_t temporaryName[32768];
volatile LONG temporaryExists = 0;

// Runs on a thread of its own when the console is interrupted or closed.
// The file is opened with FILE_SHARE_DELETE, so deleting it now removes it
// when the process, ending next, closes it.
BOOL WINAPI RemoveTemporary(DWORD) {
    if (InterlockedCompareExchange(&temporaryExists, 0, 0) != 0)
        DeleteFileW(temporaryName);
    return FALSE;
}

std::string RandomSuffix() {
    unsigned int high = 0;
    unsigned int low = 0;
    if (rand_s(&high) != 0 || rand_s(&low) != 0) {
        high = GetTickCount() ^ GetCurrentProcessId();
        low = static_cast<unsigned int>(GetCurrentThreadId());
    }
    char text[17];
    std::snprintf(text, sizeof(text), "%08x%08x", high, low);
    return text;
}

// Runs the encoder and flushes everything to the file. Closes it.
bool EncodeAndClose(std::FILE* file, const std::string& path, const Encoder& encode,
                    std::string& error) {
    bool written = encode(file, error);
    if (written && std::fflush(file) != 0) {
        written = false;
        error = "cannot write '" + path + "': " + std::strerror(errno);
    } else if (!written) {
        error = "cannot write '" + path + "': " + error;
    }
    // Only a file on disk has buffers to flush: a device (NUL, a console) or a
    // pipe refuses the call, each with an error of its own.
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (written && GetFileType(handle) == FILE_TYPE_DISK && !FlushFileBuffers(handle)) {
        written = false;
        error = Failure(path, GetLastError());
    }
    std::fclose(file);
    return written;
}

std::FILE* OpenHandle(HANDLE handle) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr)
        _close(fd);
    return file;
}

// Creates the temporary file, new, in the folder of `path`, and makes it
// known to the console handler.
HANDLE CreateTemporary(const std::string& path, std::wstring& temporary, std::string& error) {
    const size_t slash = path.find_last_of("\\/:");
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = FileCallName(folder + ".tintwalk-" + RandomSuffix() + ".tmp");
        if (temporary.empty() || temporary.size() >= std::size(temporaryName)) {
            error =
                Failure(path, temporary.empty() ? ERROR_INVALID_NAME : ERROR_FILENAME_EXCED_RANGE);
            return INVALID_HANDLE_VALUE;
        }
        std::wmemcpy(temporaryName, temporary.c_str(), temporary.size() + 1);
        const HANDLE handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE,
                                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            InterlockedExchange(&temporaryExists, 1);
            SetConsoleCtrlHandler(RemoveTemporary, TRUE);
            return handle;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            error = Failure(path, GetLastError());
            return INVALID_HANDLE_VALUE;
        }
    }
    error = Failure(path, ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

// Moves the finished temporary file over `path` when `keep`, removes it
// otherwise; returns the move's error, 0 on success.
DWORD FinishTemporary(const std::wstring& temporary, const std::string& path, bool keep) {
    DWORD code = 0;
    if (keep && !MoveFileExW(temporary.c_str(), FileCallName(path).c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        code = GetLastError();
    if (!keep || code != 0)
        DeleteFileW(temporary.c_str());
    InterlockedExchange(&temporaryExists, 0);
    SetConsoleCtrlHandler(RemoveTemporary, FALSE);
    return code;
}

}  // namespace

// Standard output (no file), a device (NUL, a console, a named pipe) written
// as it is, or a temporary file beside the target (its name set).
struct OutputFile::Place {
    std::string path;
    std::wstring temporary;
    std::FILE* file = nullptr;
};

OutputFile::OutputFile() = default;

OutputFile::~OutputFile() {
    if (place_ == nullptr)
        return;
    if (place_->file != nullptr && place_->file != stdout)
        std::fclose(place_->file);
    if (!place_->temporary.empty())
        FinishTemporary(place_->temporary, place_->path, false);
}

bool OutputFile::Open(const std::string& path, std::string& error) {
    place_ = std::make_unique<Place>();
    Place& place = *place_;
    place.path = path;
    if (path == "-") {
        place.file = stdout;
        return true;
    }
    const std::wstring name = FileCallName(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = Failure(path, ERROR_DIRECTORY);
        return false;
    }
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE && GetFileType(handle) == FILE_TYPE_DISK) {
        CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
    if (handle == INVALID_HANDLE_VALUE) {
        handle = CreateTemporary(path, place.temporary, error);
        if (handle == INVALID_HANDLE_VALUE) {
            place.temporary.clear();
            return false;
        }
    }
    place.file = OpenHandle(handle);
    if (place.file == nullptr) {
        error = Failure(path, GetLastError());
        return false;
    }
    return true;
}

bool OutputFile::Write(const Encoder& encode, std::string& error) {
    Place& place = *place_;
    std::FILE* file = std::exchange(place.file, nullptr);
    if (file == stdout) {
        std::fflush(stdout);
        _setmode(_fileno(stdout), _O_BINARY);
        const bool written = encode(stdout, error) && std::fflush(stdout) == 0;
        if (!written)
            error = "cannot write to standard output: " + error;
        return written;
    }
    bool written = EncodeAndClose(file, place.path, encode, error);
    if (place.temporary.empty())
        return written;
    const DWORD code = FinishTemporary(place.temporary, place.path, written);
    place.temporary.clear();
    if (written && code != 0) {
        written = false;
        error = Failure(place.path, code);
    }
    return written;
}

}  // namespace tintwalk

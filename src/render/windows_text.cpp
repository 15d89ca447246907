#include "render/windows_text.h"

#include <cwchar>
#include <vector>

namespace tintwalk {

namespace {

bool StartsWith(const std::wstring& text, const wchar_t* start) {
    return text.compare(0, std::wcslen(start), start) == 0;
}

}  // namespace

bool WideFromUtf8(const std::string& text, std::wstring& wide) {
    wide.clear();
    if (text.empty())
        return true;
    const int size = static_cast<int>(text.size());
    const int count =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (count <= 0)
        return false;
    wide.resize(static_cast<size_t>(count));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(),
                               count) == count;
}

bool Utf8FromWide(const wchar_t* text, std::string& utf8) {
    utf8.clear();
    if (text[0] == L'\0')
        return true;
    const int count =
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, nullptr, 0, nullptr, nullptr);
    if (count <= 0)
        return false;
    utf8.resize(static_cast<size_t>(count));
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, utf8.data(), count, nullptr,
                            nullptr) != count)
        return false;
    utf8.pop_back();
    return true;
}

std::wstring FileCallName(const std::string& path) {
    std::wstring wide;
    if (!WideFromUtf8(path, wide) || wide.empty())
        return std::wstring();
    if (StartsWith(wide, L"\\\\?\\") || StartsWith(wide, L"\\\\.\\"))
        return wide;
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return wide;
    std::vector<wchar_t> full(size);
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return wide;
    const std::wstring absolute(full.data(), length);
    if (StartsWith(absolute, L"\\\\.\\"))
        return absolute;
    if (StartsWith(absolute, L"\\\\"))
        return L"\\\\?\\UNC\\" + absolute.substr(2);
    return L"\\\\?\\" + absolute;
}

std::string SystemMessage(DWORD code) {
    wchar_t text[512] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, 511, nullptr);
    while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r' ||
                          text[length - 1] == L' ' || text[length - 1] == L'.'))
        text[--length] = L'\0';
    std::string message;
    return Utf8FromWide(text, message) ? message : std::string();
}

}  // namespace tintwalk

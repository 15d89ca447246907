// Text at the edge of the Windows calls: every string inside the renderer is
// UTF-8, as on Linux, while the system's wide calls take and give UTF-16.
#pragma once

#include <windows.h>

#include <string>

namespace tintwalk {

// UTF-8 as UTF-16; false for bytes that are not UTF-8.
bool WideFromUtf8(const std::string& text, std::wstring& wide);

// UTF-16 as UTF-8; false for a lone surrogate, which UTF-8 cannot carry.
bool Utf8FromWide(const wchar_t* text, std::string& utf8);

// A file name as the wide file calls take it: made absolute and given the
// \\?\ prefix, under which a name may be longer than MAX_PATH. A device
// name (NUL, CON, \\.\pipe\...) stays as the system resolves it. Bytes that
// are not UTF-8 give an empty name, which no call opens.
std::wstring FileCallName(const std::string& path);

// The system's message for an error or HRESULT `code` on one line, without
// its full stop; empty when the system has none.
std::string SystemMessage(DWORD code);

}  // namespace tintwalk

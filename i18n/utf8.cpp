#include "i18n/utf8.h"

#include <windows.h>

#include <vector>

std::wstring WideFromUtf8(const char* utf8) {
    // One buffer for the whole process, grown as needed and never shrunk: the
    // settings code converts a few dozen short names on every dialog start.
    static std::vector<wchar_t> scratch;
    if (!utf8) return std::wstring();
    const int needed = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (needed <= 0) return std::wstring();
    if (scratch.size() < static_cast<size_t>(needed)) scratch.resize(static_cast<size_t>(needed));
    const int written =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, scratch.data(), static_cast<int>(scratch.size()));
    if (written <= 0) return std::wstring();
    return std::wstring(scratch.data());
}

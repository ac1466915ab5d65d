// Records the access rights of every registry open and create that goes
// through the registry seam, then makes the real call: Wine ignores the view
// flags, so a test can only see them here.
#pragma once

#include <windows.h>

#include <vector>

namespace test_support {

struct AccessRecorder {
    static inline std::vector<REGSAM> opened;
    static inline std::vector<REGSAM> created;
    static LSTATUS WINAPI Open(HKEY root, LPCWSTR path, DWORD options, REGSAM access, PHKEY key) {
        opened.push_back(access);
        return ::RegOpenKeyExW(root, path, options, access, key);
    }
    static LSTATUS WINAPI Create(HKEY root, LPCWSTR path, DWORD reserved, LPWSTR cls, DWORD options, REGSAM access,
                                 const LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition) {
        created.push_back(access);
        return ::RegCreateKeyExW(root, path, reserved, cls, options, access, security, key, disposition);
    }
};

}  // namespace test_support

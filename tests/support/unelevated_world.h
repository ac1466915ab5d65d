// Windows' world for a user who has not elevated, built for real under Wine:
// a key with the access a key made under HKEY_LOCAL_MACHINE\Software gets
// (Administrators and SYSTEM full control, Users read), a token whose
// Administrators group is for deny only, and the program started with it in
// a job that counts every process it starts.
#pragma once

#include "framework/handles.h"

#include <windows.h>

#include <string>

namespace test_support {

inline constexpr wchar_t kShippedKeyAccess[] = L"D:P(A;OICI;KA;;;BA)(A;OICI;KA;;;SY)(A;OICI;KR;;;BU)";

// Gives a key under HKEY_LOCAL_MACHINE (in the program's view) the access of
// the SDDL text, making the key when it is missing.
void SetKeyAccess(const std::wstring& path, const std::wstring& sddl);
// The key's access as SDDL; "<missing>" when there is no such key.
std::wstring KeyAccess(const std::wstring& path);

// A copy of this process's token with the Administrators group for deny
// only, as an administrator who has not elevated has it.
framework::UniqueHandle UnelevatedToken();

struct JobbedProcess {
    framework::UniqueHandle process;
    framework::UniqueHandle job;
    DWORD id = 0;
    // Every process that has run in the job, this one included.
    DWORD ProcessesStarted() const;
};

// Starts the screensaver program with the arguments, with the token (null:
// this process's own), in a job of its own.
JobbedProcess StartScreensaverWith(HANDLE token, const std::wstring& arguments);

}  // namespace test_support

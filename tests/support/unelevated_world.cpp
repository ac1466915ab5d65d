#include "tests/support/unelevated_world.h"

#include "tests/support/scratch_key.h"
#include "tests/support/screensaver_process.h"

#include <sddl.h>

#include <gtest/gtest.h>

namespace test_support {

void SetKeyAccess(const std::wstring& path, const std::wstring& sddl) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                WRITE_DAC | READ_CONTROL | ViewOf(HKEY_LOCAL_MACHINE, path), nullptr, &key, nullptr),
              ERROR_SUCCESS)
        << "cannot make " << std::string(path.begin(), path.end());
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor,
                                                                       nullptr));
    const framework::LocalMemory<> owned(descriptor);
    EXPECT_EQ(::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    ::RegCloseKey(key);
}

std::wstring KeyAccess(const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, READ_CONTROL | ViewOf(HKEY_LOCAL_MACHINE, path), &key) !=
        ERROR_SUCCESS) {
        return L"<missing>";
    }
    DWORD size = 0;
    ::RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    std::vector<BYTE> descriptor(size ? size : 1);
    std::wstring text = L"<unreadable>";
    if (::RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor.data(), &size) == ERROR_SUCCESS) {
        wchar_t* sddl = nullptr;
        if (::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.data(), SDDL_REVISION_1,
                                                                   DACL_SECURITY_INFORMATION, &sddl, nullptr)) {
            text = sddl;
            ::LocalFree(sddl);
        }
    }
    ::RegCloseKey(key);
    return text;
}

framework::UniqueHandle UnelevatedToken() {
    HANDLE full = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ALL_ACCESS, &full)) return framework::UniqueHandle();
    const framework::UniqueHandle ownedFull(full);
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    if (!::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size)) return framework::UniqueHandle();
    SID_AND_ATTRIBUTES disabled = {sid, 0};
    HANDLE restricted = nullptr;
    if (!::CreateRestrictedToken(full, 0, 1, &disabled, 0, nullptr, 0, nullptr, &restricted)) {
        return framework::UniqueHandle();
    }
    return framework::UniqueHandle(restricted);
}

DWORD JobbedProcess::ProcessesStarted() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    if (!::QueryInformationJobObject(job.Get(), JobObjectBasicAccountingInformation, &accounting, sizeof(accounting),
                                     nullptr)) {
        return 0;
    }
    return accounting.TotalProcesses;
}

JobbedProcess StartScreensaverWith(HANDLE token, const std::wstring& arguments) {
    JobbedProcess started;
    started.job.Reset(::CreateJobObjectW(nullptr, nullptr));
    if (!started.job) {
        ADD_FAILURE() << "no job, error " << ::GetLastError();
        return started;
    }
    started.process = StartScreensaver(arguments, L"", &started.id, token, started.job.Get());
    return started;
}

}  // namespace test_support

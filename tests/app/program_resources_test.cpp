// The built program's manifest and version, read from the file as Windows
// reads them.
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring ScreensaverPath() { return test_support::TestBuildFile(L"Marrowdale 3D Screensaver.scr"); }

std::string ManifestOf(const std::wstring& path) {
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return std::string();
    std::string text;
    if (HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
        if (HGLOBAL loaded = ::LoadResource(module, found)) {
            text.assign(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(module, found));
        }
    }
    ::FreeLibrary(module);
    return text;
}

TEST(ProgramManifest, DeclaresWhatTheProgramRelies) {
    const std::string manifest = ManifestOf(ScreensaverPath());
    ASSERT_FALSE(manifest.empty());
    const char* required[] = {
        // Without it a write to HKEY_LOCAL_MACHINE by a standard user would be
        // silently redirected to the virtual store instead of failing.
        "level=\"asInvoker\"",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "<dpiAware>true</dpiAware>",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
    };
    for (const char* text : required) EXPECT_NE(manifest.find(text), std::string::npos) << text;
}

std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!::VerQueryValueW(info.data(), query.c_str(), &value, &length) || !value) return std::wstring();
    return static_cast<const wchar_t*>(value);
}

TEST(ProgramVersion, NamesTheProductAtVersionOne) {
    const std::wstring path = ScreensaverPath();
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(0, 1)));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(VersionString(info, L"ProductName"), L"Marrowdale 3D Screensaver");
    EXPECT_EQ(VersionString(info, L"ProductVersion"), L"1.0");
    EXPECT_EQ(VersionString(info, L"CompanyName"), L"Tidewright");
}

}  // namespace

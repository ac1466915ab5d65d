// Which libraries the program loads, and from where. Runs with Wine told to
// prefer a native copy of d3d9, ole32, comctl32 and mpr (WINEDLLOVERRIDES
// "...=n,b", set where the program is registered with ctest): otherwise Wine
// would take its built-in DLL whatever lies beside the program, and a planted
// copy could never be caught. Each guard has a control in which a plain load
// by the bare name does pick up the planted copy.
#include "app/run_modes.h"
#include "config/product.h"
#include "tests/app/preview_parent.h"
#include "tests/support/case_name.h"
#include "tests/support/scratch_key.h"
#include "tests/support/screensaver_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows_finder.h"

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <string>

namespace {

using framework::UniqueHandle;
using test_support::ExitCodeAfter;
using test_support::TempFolder;

const wchar_t kScrName[] = L"Marrowdale 3D Screensaver.scr";
const wchar_t kCaption[] = L"Marrowdale 3D Screensaver 1.0 Configuration";
const wchar_t* const kPlanted[] = {L"d3d9.dll", L"ole32.dll", L"comctl32.dll", L"mpr.dll"};

// The DLLs that only the dialogs and the preview need, and what they bring
// along under Wine: the run mode must load none of them.
const wchar_t* const kNotForTheRunMode[] = {
    L"user32.dll", L"gdi32.dll",   L"comctl32.dll", L"comdlg32.dll", L"ole32.dll", L"oleaut32.dll",
    L"combase.dll", L"rpcrt4.dll", L"shell32.dll",  L"shcore.dll",   L"shlwapi.dll", L"uxtheme.dll",
    L"d3d9.dll",   L"d3d11.dll",   L"winex11.drv"};

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

UniqueHandle Start(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder,
                   DWORD* processId = nullptr) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                          &process)) {
        ADD_FAILURE() << "cannot start " << std::string(program.begin(), program.end());
        return UniqueHandle();
    }
    ::CloseHandle(process.hThread);
    if (processId) *processId = process.dwProcessId;
    return UniqueHandle(process.hProcess);
}

// The modules a running process has loaded: base name to full path, both in
// lower case.
std::map<std::wstring, std::wstring> LoadedModules(DWORD processId) {
    std::map<std::wstring, std::wstring> names;
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
    if (!snapshot) return names;
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Module32FirstW(snapshot.Get(), &entry); more; more = ::Module32NextW(snapshot.Get(), &entry)) {
        names[Lower(entry.szModule)] = Lower(entry.szExePath);
    }
    return names;
}

// A copy of the program in a folder of its own, with the planted libraries
// and the plain loader beside it, and the stub renderer installed elsewhere.
class PlantedFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        exitEvent_.Reset(::CreateEventW(nullptr, TRUE, FALSE, L"MarrowdaleStubRendererExit"));
        ASSERT_TRUE(exitEvent_);
        ::ResetEvent(exitEvent_.Get());
        ASSERT_TRUE(test_support::CopyFileTo(test_support::ScreensaverPath(), Scr()));
        ASSERT_TRUE(test_support::CopyFileTo(test_support::TestBuildFile(L"tests\\app\\plain_loader.exe"),
                                             folder_.Path() + L"\\plain_loader.exe"));
        for (const wchar_t* name : kPlanted) {
            ASSERT_TRUE(test_support::CopyFileTo(test_support::TestBuildFile(L"tests\\app\\planted_library.dll"),
                                                 folder_.Path() + L"\\" + name));
        }
        ASSERT_TRUE(test_support::CopyFileTo(test_support::TestBuildFile(L"tests\\app\\stub_renderer.exe"),
                                             install_.Path() + L"\\Marrowdale 3D Screensaver.exe"));
        test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", install_.Path());
    }
    void TearDown() override { ::SetEvent(exitEvent_.Get()); }

    std::wstring Scr() const { return folder_.Path() + L"\\" + kScrName; }
    bool Recorded(const wchar_t* name) const { return Exists(folder_.Path() + L"\\" + name + L".loaded"); }
    bool RendererStarted() const { return Exists(install_.Path() + L"\\stub-record.txt"); }

    // Waits for the stub renderer's record, which it writes once started.
    bool WaitForRenderer() {
        for (int i = 0; i < 400 && !RendererStarted(); ++i) ::Sleep(50);
        return RendererStarted();
    }

    test_support::ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
    UniqueHandle exitEvent_;
    TempFolder folder_;
    TempFolder install_;
};

struct PlantedCase {
    const char* name;
    const wchar_t* dll;
};

class PlainLoadControl : public PlantedFolderTest, public ::testing::WithParamInterface<PlantedCase> {};

// The control: without the program's guard, the ordinary search finds the
// planted copy first, so the tests below can see a fault.
TEST_P(PlainLoadControl, PicksUpThePlantedCopy) {
    UniqueHandle loader = Start(folder_.Path() + L"\\plain_loader.exe", GetParam().dll, folder_.Path());
    EXPECT_EQ(ExitCodeAfter(loader, 20000), 0);
    EXPECT_TRUE(Recorded(GetParam().dll));
}

INSTANTIATE_TEST_SUITE_P(Dlls, PlainLoadControl,
                         ::testing::Values(PlantedCase{"d3d9", L"d3d9.dll"}, PlantedCase{"ole32", L"ole32.dll"},
                                           PlantedCase{"comctl32", L"comctl32.dll"}, PlantedCase{"mpr", L"mpr.dll"}),
                         test_support::CaseName<PlantedCase>);

class PlantedCopies : public PlantedFolderTest {
protected:
    void ExpectNoneRecorded() {
        for (const wchar_t* name : kPlanted) {
            EXPECT_FALSE(Recorded(name)) << "the planted " << std::string(name, name + wcslen(name)) << " was loaded";
        }
    }
};

TEST_F(PlantedCopies, NeverLoadedWhileTheScreensaverRuns) {
    ::SetEvent(exitEvent_.Get());  // the renderer ends at once
    UniqueHandle process = Start(Scr(), L"/s", folder_.Path());
    EXPECT_EQ(ExitCodeAfter(process, 20000), 0);
    EXPECT_TRUE(RendererStarted());
    ExpectNoneRecorded();
}

TEST_F(PlantedCopies, NeverLoadedByTheSettingsDialog) {
    DWORD processId = 0;
    UniqueHandle process = Start(Scr(), L"/c", folder_.Path(), &processId);
    // A planted copy without the system DLL's exports may stop the program
    // before its dialog shows: the records tell in either case.
    const HWND dialog = test_support::WaitForTopLevelWindow(L"#32770", kCaption, 60000, processId);
    EXPECT_NE(dialog, nullptr) << "no settings dialog";
    if (dialog) ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(ExitCodeAfter(process, 20000), 0);
    ExpectNoneRecorded();
}

TEST_F(PlantedCopies, NeverLoadedByThePreview) {
    test_support::PreviewParent parent(152, 112);
    const long number = static_cast<long>(reinterpret_cast<INT_PTR>(parent.Get()));
    UniqueHandle process = Start(Scr(), L"/p " + std::to_wstring(number), folder_.Path());
    EXPECT_TRUE(test_support::PumpUntil([&] { return ::GetWindow(parent.Get(), GW_CHILD) != nullptr; }, 20000));
    parent.Destroy();
    EXPECT_EQ(ExitCodeAfter(process, 10000), 0);
    ExpectNoneRecorded();
}

TEST_F(PlantedCopies, NeverLoadedByThePasswordChangeOrNoAction) {
    for (const wchar_t* arguments : {L"/a", L"/t"}) {
        UniqueHandle process = Start(Scr(), arguments, folder_.Path());
        EXPECT_EQ(ExitCodeAfter(process, 20000), 0);
    }
    ExpectNoneRecorded();
}

// The password provider asked for in this process, with a copy planted
// beside the test program; the control then loads the bare name and gets it.
TEST(PasswordProviderTest, LibraryPlantedBesideTheProgramIsNotLoaded) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring planted(self);
    planted = planted.substr(0, planted.rfind(L'\\') + 1) + L"mpr.dll";
    const std::wstring record = planted + L".loaded";
    ::DeleteFileW(record.c_str());
    ASSERT_TRUE(test_support::CopyFileTo(test_support::TestBuildFile(L"tests\\app\\planted_library.dll"), planted));

    EXPECT_TRUE(RequestPasswordChange(L"mpr.dll"));
    EXPECT_FALSE(Exists(record));

    const HMODULE plain = ::LoadLibraryW(L"mpr.dll");
    EXPECT_NE(plain, nullptr);
    EXPECT_TRUE(Exists(record)) << "control: a plain load should have found the planted copy";
    if (plain) ::FreeLibrary(plain);
    ::DeleteFileW(planted.c_str());
    ::DeleteFileW(record.c_str());
}

class LoadedLibraries : public PlantedFolderTest {};

// Observed while the renderer runs: by then the run mode has done all it
// does before it waits.
TEST_F(LoadedLibraries, RunModeLoadsNoneOfTheDialogLibraries) {
    DWORD processId = 0;
    UniqueHandle process = Start(Scr(), L"/s", folder_.Path(), &processId);
    ASSERT_TRUE(WaitForRenderer());
    const std::map<std::wstring, std::wstring> loaded = LoadedModules(processId);
    ::SetEvent(exitEvent_.Get());
    EXPECT_EQ(ExitCodeAfter(process, 20000), 0);

    ASSERT_TRUE(loaded.count(L"kernel32.dll")) << "the module list could not be read";
    for (const wchar_t* name : kNotForTheRunMode) {
        EXPECT_FALSE(loaded.count(name)) << "loaded " << std::string(name, name + wcslen(name));
    }
}

// The control: the same listing sees the dialog's libraries in the settings
// dialog's process.
TEST_F(LoadedLibraries, ControlSettingsDialogLoadsThem) {
    DWORD processId = 0;
    UniqueHandle process = Start(Scr(), L"/c", folder_.Path(), &processId);
    const HWND dialog = test_support::WaitForTopLevelWindow(L"#32770", kCaption, 60000, processId);
    ASSERT_NE(dialog, nullptr) << "no settings dialog";
    const std::map<std::wstring, std::wstring> loaded = LoadedModules(processId);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(ExitCodeAfter(process, 20000), 0);

    for (const wchar_t* name : {L"user32.dll", L"comctl32.dll", L"ole32.dll", L"d3d9.dll"}) {
        EXPECT_TRUE(loaded.count(name)) << "not loaded: " << std::string(name, name + wcslen(name));
    }
    // Loaded late and from the system folder, the common controls are still
    // the version 6 that the manifest asks for, from the side-by-side store.
    EXPECT_NE(loaded.count(L"comctl32.dll") ? loaded.at(L"comctl32.dll").find(L"\\winsxs\\") : std::wstring::npos,
              std::wstring::npos);
}

}  // namespace

#include "tests/support/dialog_look.h"

#include "framework/gdi.h"
#include "framework/handles.h"
#include "tests/support/scoped_value.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <cwctype>
#include <memory>
#include <vector>

namespace test_support {

namespace {

constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
constexpr wchar_t kSubstitutes[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes";

// A value set for the lifetime of the object, in one registry view, and put
// back as it was afterwards.
class ScopedSetting {
public:
    ScopedSetting(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type, const void* data, DWORD size,
                  REGSAM view)
        : removal_(root, path, name, view) {
        HKEY key = nullptr;
        if (::RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | view, nullptr, &key,
                              nullptr) != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot open the key of a registry value to set";
            return;
        }
        EXPECT_EQ(::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        ::RegCloseKey(key);
    }

private:
    ScopedValueRemoval removal_;
};

// One of Wine's own fonts (Debian's fonts-wine) in the prefix's font folder
// for the lifetime of the object, where every process starting meanwhile
// finds it; removed afterwards unless it was there before.
class ScopedWineFont {
public:
    explicit ScopedWineFont(const std::wstring& file) {
        wchar_t windows[MAX_PATH] = {};
        ::GetWindowsDirectoryW(windows, MAX_PATH);
        installed_ = std::wstring(windows) + L"\\Fonts\\" + file;
        if (::GetFileAttributesW(installed_.c_str()) != INVALID_FILE_ATTRIBUTES) {
            installed_.clear();
            return;
        }
        const std::wstring source = L"Z:\\usr\\share\\wine\\fonts\\" + file;
        if (!::CopyFileW(source.c_str(), installed_.c_str(), TRUE)) {
            ADD_FAILURE() << "cannot install Wine's font " << source.c_str();
            installed_.clear();
        }
    }
    ~ScopedWineFont() {
        if (!installed_.empty()) ::DeleteFileW(installed_.c_str());
    }
    ScopedWineFont(const ScopedWineFont&) = delete;
    ScopedWineFont& operator=(const ScopedWineFont&) = delete;

private:
    std::wstring installed_;
};

// A REG_SZ value of HKEY_LOCAL_MACHINE in the view given; empty when missing
// or of another type.
std::wstring MachineString(const wchar_t* path, const wchar_t* name, REGSAM view) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!GetRegistryRaw(HKEY_LOCAL_MACHINE, path, name, type, data, view) || type != REG_SZ) return L"";
    return std::wstring(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t)).c_str();
}

std::wstring ThisProgram() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
}

// A font of the face at the dialog's size, as the dialog manager makes it.
HFONT DialogFont(const wchar_t* face, int dpi) {
    LOGFONTW wanted{};
    wanted.lfHeight = -MulDiv(8, dpi, 72);
    wanted.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    return ::CreateFontIndirectW(&wanted);
}

// What tells faces apart: the metrics and the width of a sample text.
std::vector<LONG> Fingerprint(HDC dc, const wchar_t* face, int dpi) {
    framework::GdiObject font(DialogFont(face, dpi));
    framework::Selection selected(dc, font.Get());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    SIZE sample{};
    const wchar_t text[] = L"Sphinx of black quartz, judge my vow";
    ::GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &sample);
    return {metrics.tmHeight, metrics.tmAveCharWidth, metrics.tmMaxCharWidth, metrics.tmPitchAndFamily, sample.cx};
}

}  // namespace

DialogLook CurrentDialogLook() {
    DialogLook look{96, L""};
    framework::WindowDc screen(nullptr);
    look.dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    framework::GdiObject font(DialogFont(L"MS Shell Dlg", look.dpi));
    {
        framework::Selection selected(screen.Get(), font.Get());
        // The outline's own family: for a substituted face GetTextFace
        // answers with the name asked for.
        std::vector<BYTE> metrics(::GetOutlineTextMetricsW(screen.Get(), 0, nullptr));
        if (!metrics.empty() && ::GetOutlineTextMetricsW(screen.Get(), static_cast<UINT>(metrics.size()),
                                                         reinterpret_cast<OUTLINETEXTMETRICW*>(metrics.data()))) {
            const auto* outline = reinterpret_cast<const OUTLINETEXTMETRICW*>(metrics.data());
            look.face = reinterpret_cast<const wchar_t*>(metrics.data() +
                                                         reinterpret_cast<size_t>(outline->otmpFamilyName));
            return look;
        }
    }
    // A bitmap face has no outline: it is the substitute asked for when it
    // draws exactly as that face does.
    const std::wstring substitute = MachineString(kSubstitutes, L"MS Shell Dlg", KEY_WOW64_64KEY);
    if (!substitute.empty() && Fingerprint(screen.Get(), L"MS Shell Dlg", look.dpi) ==
                                   Fingerprint(screen.Get(), substitute.c_str(), look.dpi)) {
        look.face = substitute;
    } else {
        look.face = L"unknown";
    }
    return look;
}

std::wstring LookName(const DialogLook& look) {
    std::wstring name = std::to_wstring(look.dpi) + L"dpi";
    if (look.face == L"Tahoma") return name;
    name += L"-";
    for (wchar_t c : look.face) name += c == L' ' ? L'-' : static_cast<wchar_t>(std::towlower(c));
    return name;
}

namespace {

// The child's exit code (0 when every case passed), or -1 when it could not
// be started.
int RunCasesInLook(const std::string& filter, int dpi, const wchar_t* face,
                   const std::vector<std::wstring>& fontFiles) {
    const DWORD logPixels = static_cast<DWORD>(dpi);
    ScopedSetting scale(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &logPixels, sizeof(logPixels), 0);
    std::vector<std::unique_ptr<ScopedWineFont>> fonts;
    for (const std::wstring& file : fontFiles) fonts.push_back(std::make_unique<ScopedWineFont>(file));
    // Wine's font code reads the substitutes in the registry's native view.
    // Wine shares that key with the 32-bit view; were it not shared, the
    // 32-bit view is set as well (and put back first).
    std::unique_ptr<ScopedSetting> native, wow64;
    if (face) {
        const DWORD size = static_cast<DWORD>((::lstrlenW(face) + 1) * sizeof(wchar_t));
        native = std::make_unique<ScopedSetting>(HKEY_LOCAL_MACHINE, kSubstitutes, L"MS Shell Dlg", REG_SZ, face, size,
                                                 KEY_WOW64_64KEY);
        if (MachineString(kSubstitutes, L"MS Shell Dlg", KEY_WOW64_32KEY) != face) {
            wow64 = std::make_unique<ScopedSetting>(HKEY_LOCAL_MACHINE, kSubstitutes, L"MS Shell Dlg", REG_SZ, face,
                                                    size, KEY_WOW64_32KEY);
        }
    }
    std::wstring commandLine = L"\"" + ThisProgram() + L"\" --gtest_filter=" + std::wstring(filter.begin(), filter.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started)) {
        return -1;
    }
    framework::UniqueHandle process(started.hProcess);
    framework::UniqueHandle thread(started.hThread);
    ::WaitForSingleObject(process.Get(), INFINITE);
    DWORD code = 0;
    if (!::GetExitCodeProcess(process.Get(), &code)) return -1;
    return static_cast<int>(code);
}

}  // namespace

void ExpectCasesPassInLook(const std::string& filter, int dpi, const wchar_t* face,
                           const std::vector<std::wstring>& fontFiles, const std::vector<std::wstring>& pictures) {
    for (const std::wstring& picture : pictures) ::DeleteFileW(picture.c_str());
    EXPECT_EQ(RunCasesInLook(filter, dpi, face, fontFiles), 0) << filter;
    for (const std::wstring& picture : pictures) {
        EXPECT_NE(::GetFileAttributesW(picture.c_str()), INVALID_FILE_ATTRIBUTES) << picture.c_str();
    }
}

}  // namespace test_support

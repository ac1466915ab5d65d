#include "app/run_modes.h"

#include "app/claimed_settings_dlg.h"
#include "app/grant_mode.h"
#include "app/preview_wnd.h"
#include "app/renderer_launch.h"
#include "app/settings_claim.h"
#include "framework/app_module.h"
#include "framework/handles.h"
#include "ui/settings_dlg.h"

#include <commctrl.h>
#include <objbase.h>

#include <memory>

namespace {

// Configure and Preview share this set-up: COM for the thread, the common
// controls' bar classes (the settings dialog's trackbars) and list view class
// (the playlist dialog's list), the module object. Undone in reverse order.
class InteractiveSession {
public:
    explicit InteractiveSession(HINSTANCE instance) {
        comInitialised_ = SUCCEEDED(::CoInitialize(nullptr));
        INITCOMMONCONTROLSEX controls = {};
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES;
        ::InitCommonControlsEx(&controls);
        framework::Module().Init(instance);
    }
    ~InteractiveSession() {
        framework::Module().Term();
        if (comInitialised_) ::CoUninitialize();
    }
    InteractiveSession(const InteractiveSession&) = delete;
    InteractiveSession& operator=(const InteractiveSession&) = delete;

private:
    bool comInitialised_ = false;
};

void RunConfigure(HINSTANCE instance, HWND owner) {
    // Before anything that makes a window or reads the settings: while
    // another process shows the dialog, this start only brings that to the
    // front. The dialog holds the claim until its window is gone.
    auto claim = std::make_unique<SettingsClaim>();
    if (claim->ClaimOrShowOpen() == SettingsClaim::Outcome::ShownOpen) return;
    InteractiveSession session(instance);
    // One dialog for the rest of the process, with the claim of this one
    // start; the result of the run says nothing. It is made on the heap: as
    // a static object its tables would be stored, initialised, in the
    // program file.
    static const std::unique_ptr<CSettingsDlg> dialog = std::make_unique<CClaimedSettingsDlg>(std::move(claim));
    dialog->DoModal(owner);
}

void RunPreviewMode(HINSTANCE instance, HWND parent) {
    InteractiveSession session(instance);
    RunPreview(parent, instance);
}

HWND WindowFromNumber(std::int32_t number) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(number));
}

}  // namespace

bool RequestPasswordChange(const wchar_t* providerLibrary) {
    framework::SystemLibrary library(providerLibrary);
    if (!library) return false;
    using PwdChangePasswordFn = DWORD(WINAPI*)(LPCSTR, HWND, UINT, UINT);
    auto changePassword = library.Find<PwdChangePasswordFn>("PwdChangePasswordA");
    if (!changePassword) return false;
    changePassword("SCRSAVE", nullptr, 0, 0);
    return true;
}

int RunProgram(HINSTANCE instance, const wchar_t* commandLine) {
    framework::HardenLibrarySearchPath();
    // The elevated mode answers by its exit code; every other mode by 0.
    if (const auto grant = GrantArgument(commandLine ? commandLine : L"")) {
        return static_cast<int>(RunGrantMode(*grant));
    }
    const ParsedCommandLine parsed = ParseCommandLine(commandLine ? commandLine : L"");
    switch (parsed.mode) {
        case RunMode::Configure: RunConfigure(instance, WindowFromNumber(parsed.window)); break;
        case RunMode::Preview: RunPreviewMode(instance, WindowFromNumber(parsed.window)); break;
        case RunMode::Run: RunRenderer(); break;
        case RunMode::NoAction: break;
        case RunMode::ChangePassword: RequestPasswordChange(); break;
    }
    return 0;
}

#include "ui/access_request.h"

#include "config/product.h"
#include "framework/handles.h"
#include "framework/token_user.h"
#include "ui/ui_seam.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

// How long the elevated program may take for its grant once it runs; the
// consent before it takes what the user takes.
constexpr DWORD kGrantTimeLimit = 60000;

std::wstring OwnProgramPath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
}

DWORD AskAndGrant(HWND window) {
    // The user to be granted is this one, also when the consent comes from
    // another account.
    const std::wstring sid = framework::CurrentUserSid();
    if (sid.empty()) return ERROR_NO_SUCH_USER;
    const std::wstring program = OwnProgramPath();
    if (program.empty()) return ::GetLastError();
    const std::wstring parameters = std::wstring(product::kGrantSwitch) + L" " + sid;

    SHELLEXECUTEINFOW execute = {};
    execute.cbSize = sizeof(execute);
    // The verb comes from the class of programs: the class of a .scr file
    // does not offer "runas".
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    execute.hwnd = window;
    execute.lpVerb = L"runas";
    execute.lpFile = program.c_str();
    execute.lpParameters = parameters.c_str();
    execute.lpClass = L"exefile";
    execute.nShow = SW_HIDE;
    if (!ui_seam::Current().shellExecuteEx(&execute)) return ::GetLastError();
    if (!execute.hProcess) return ERROR_INVALID_HANDLE;
    const framework::UniqueHandle process(execute.hProcess);
    if (::WaitForSingleObject(process.Get(), kGrantTimeLimit) != WAIT_OBJECT_0) return WAIT_TIMEOUT;
    DWORD exitCode = ERROR_INVALID_FUNCTION;
    if (!::GetExitCodeProcess(process.Get(), &exitCode)) return ::GetLastError();
    return exitCode;
}

}  // namespace

AccessRequest::AccessRequest(HWND window, UINT message) {
    auto ask = [window, message] {
        // The shell wants an apartment of its own on the thread that calls it.
        framework::ComScope com;
        const DWORD status = AskAndGrant(window);
        ::PostMessageW(window, message, status, 0);
    };
    thread_ = std::make_unique<framework::Thread>(ask);
    if (*thread_) return;
    thread_.reset();
    ::PostMessageW(window, message, ERROR_NOT_ENOUGH_MEMORY, 0);
}

AccessRequest::~AccessRequest() {
    if (thread_ && !thread_->Join(0)) thread_->Abandon();
}

void ShowShieldWhenAccessDenied(HWND button, LSTATUS writeAccess) {
    ::SendMessageW(button, BCM_SETSHIELD, 0, writeAccess == ERROR_ACCESS_DENIED ? TRUE : FALSE);
}

#include "ui/access_request.h"

#include "config/product.h"
#include "config/product_key_access.h"
#include "framework/handles.h"
#include "framework/program_path.h"
#include "framework/token_user.h"
#include "ui/ui_seam.h"

#include <commctrl.h>

#include <string>

namespace {

// How long the elevated program may take for its grant once it runs; the
// consent before it takes what the user takes.
constexpr DWORD kGrantTimeLimit = 60000;

DWORD AskAndGrant(HWND window) {
    // The user to be granted is this one, also when the consent comes from
    // another account.
    const std::wstring sid = framework::CurrentUserSid();
    if (sid.empty()) return ERROR_NO_SUCH_USER;
    const std::wstring program = framework::ProgramPath();
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

void SaveRights::Check(HWND dialog) {
    writeAccess_ = ProductKeyWriteAccess();
    const HWND button = ::GetDlgItem(dialog, IDOK);
    const bool shield = writeAccess_ == ERROR_ACCESS_DENIED;
    if (::SendMessageW(button, BCM_SETSHIELD, 0, shield ? TRUE : FALSE) == 1) return;
    // Buttons that do not draw the shield themselves show the system's shield
    // icon beside their text instead (shared: the system owns it).
    HANDLE icon = nullptr;
    if (shield) {
        icon = ::LoadImageW(nullptr, IDI_SHIELD, IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                            ::GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    }
    ::SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

bool SaveRights::AskFirst(HWND dialog, UINT message) {
    if (writeAccess_ != ERROR_ACCESS_DENIED || asked_) return false;
    asked_ = true;
    request_ = std::make_unique<AccessRequest>(dialog, message);
    return true;
}

bool SaveRights::Answered(HWND dialog, WPARAM status) {
    request_.reset();
    if (status != ERROR_SUCCESS) {
        asked_ = false;
        return false;
    }
    // From now on this user saves without asking.
    Check(dialog);
    return true;
}

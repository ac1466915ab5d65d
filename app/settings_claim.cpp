#include "app/settings_claim.h"

#include "framework/program_path.h"
#include "framework/token_user.h"

#include <sddl.h>

#include <string>
#include <vector>

namespace {

// How long a later start waits for the holder's dialog to stand: the holder
// takes the claim before it takes the display inventory and loads the
// settings, which may take a few seconds on a slow machine.
constexpr DWORD kWaitForDialogMs = 30000;
constexpr DWORD kPollMs = 50;

// The file name of a program path, after its last backslash.
std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring OwnProgramName() { return FileNameOf(framework::ProgramPath()); }

// True for a live process whose program file has this program's name. Any
// copy of the program counts: they all edit the same settings.
bool IsProcessOfThisProgram(DWORD processId) {
    if (processId == 0) return false;
    framework::UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId));
    if (!process || ::WaitForSingleObject(process.Get(), 0) != WAIT_TIMEOUT) return false;
    std::vector<wchar_t> path(1024);
    DWORD length = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process.Get(), 0, path.data(), &length)) return false;
    const std::wstring theirs = FileNameOf(std::wstring(path.data(), length));
    const std::wstring ours = OwnProgramName();
    return !ours.empty() && ::CompareStringOrdinal(theirs.c_str(), static_cast<int>(theirs.size()), ours.c_str(),
                                                   static_cast<int>(ours.size()), TRUE) == CSTR_EQUAL;
}

HWND WindowFromNumber(LONG number) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(number)); }

// The claim's objects belong to the user, whichever way the process runs:
// those an elevated start makes would otherwise carry the access of its
// elevated token, which an unelevated start of the same user may not open,
// and that start would show a second dialog. The medium label keeps them
// writable from an unelevated start.
class ClaimSecurity {
public:
    ClaimSecurity() {
        const std::wstring user = framework::CurrentUserSid();
        if (user.empty()) return;
        const std::wstring sddl = L"D:P(A;;GA;;;" + user + L")(A;;GA;;;SY)S:(ML;;NW;;;ME)";
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor,
                                                                    nullptr)) {
            return;
        }
        descriptor_.reset(descriptor);
        attributes_.nLength = sizeof(attributes_);
        attributes_.lpSecurityDescriptor = descriptor;
    }
    // Null (the token's default) when the user's SID cannot be had.
    SECURITY_ATTRIBUTES* Attributes() { return descriptor_ ? &attributes_ : nullptr; }

private:
    framework::LocalMemory<> descriptor_;
    SECURITY_ATTRIBUTES attributes_ = {};
};

}  // namespace

bool IsSettingsDialogOf(HWND window, DWORD processId) {
    // A dialog that is hidden is closing (or not yet shown): bringing it
    // forward would leave the user nothing.
    if (!window || !::IsWindow(window) || !::IsWindowVisible(window)) return false;
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != processId) return false;
    wchar_t className[16] = {};
    if (::GetClassNameW(window, className, 16) == 0 || std::wstring(className) != L"#32770") return false;
    return IsProcessOfThisProgram(processId);
}

void BringDialogToFront(HWND dialog) {
    // Asynchronous, so that a dialog whose thread does not answer cannot
    // hold this start.
    if (::IsIconic(dialog)) ::ShowWindowAsync(dialog, SW_RESTORE);
    HWND front = ::GetLastActivePopup(dialog);
    if (!front || !::IsWindowVisible(front)) front = dialog;
    ::SetForegroundWindow(front);
}

SettingsClaim::~SettingsClaim() {
    if (ownership_ && Section()) {
        // The window goes before the claim does, so that nobody finds a
        // handle that may soon name another window.
        ::InterlockedExchange(&Section()->window, 0);
        ::InterlockedExchange(&Section()->processId, 0);
    }
}

SettingsClaim::Outcome SettingsClaim::ClaimOrShowOpen() {
    ClaimSecurity security;
    mutex_.Reset(::CreateMutexW(security.Attributes(), FALSE, kMutexName));
    // The name is taken by an object of another kind: no claim to be had.
    if (!mutex_) return Outcome::Unclaimed;
    section_.Reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, security.Attributes(), PAGE_READWRITE, 0, sizeof(Published),
                                        kSectionName));
    if (section_) view_.Reset(::MapViewOfFile(section_.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(Published)));

    const ULONGLONG deadline = ::GetTickCount64() + kWaitForDialogMs;
    DWORD wait = 0;
    for (;;) {
        const DWORD result = ::WaitForSingleObject(mutex_.Get(), wait);
        // Abandoned: the last holder ended without letting go, and what it
        // published is stale.
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
            ownership_.Take(mutex_.Get());
            if (Section()) {
                ::InterlockedExchange(&Section()->window, 0);
                ::InterlockedExchange(&Section()->processId, static_cast<LONG>(::GetCurrentProcessId()));
            }
            return Outcome::Claimed;
        }
        if (result != WAIT_TIMEOUT || !Section()) return Outcome::Unclaimed;
        const HWND window = WindowFromNumber(Section()->window);
        const DWORD processId = static_cast<DWORD>(Section()->processId);
        if (IsSettingsDialogOf(window, processId)) {
            BringDialogToFront(window);
            return Outcome::ShownOpen;
        }
        // A holder that is not this program (or the name squatted with
        // something left in the section) would keep its claim for ever.
        if (processId != 0 && !IsProcessOfThisProgram(processId)) return Outcome::Unclaimed;
        if (::GetTickCount64() >= deadline) return Outcome::Unclaimed;
        wait = kPollMs;
    }
}

void SettingsClaim::Publish(HWND dialog) {
    if (!ownership_ || !Section()) return;
    ::InterlockedExchange(&Section()->window, static_cast<LONG>(reinterpret_cast<LONG_PTR>(dialog)));
}

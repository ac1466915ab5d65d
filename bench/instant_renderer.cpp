// The renderer for the run-mode benchmark: it ends at once. First it notes
// the peak working set of the process that started it, which by then has
// done everything it does before it waits, in parent-peak.txt beside itself.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <string>

namespace {

DWORD ParentProcessId() {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    DWORD parent = 0;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == ::GetCurrentProcessId()) parent = entry.th32ParentProcessID;
    }
    ::CloseHandle(snapshot);
    return parent;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    SIZE_T peak = 0;
    if (HANDLE parent = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ParentProcessId())) {
        PROCESS_MEMORY_COUNTERS counters = {};
        if (::GetProcessMemoryInfo(parent, &counters, sizeof(counters))) peak = counters.PeakWorkingSetSize;
        ::CloseHandle(parent);
    }
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path = path.substr(0, path.rfind(L'\\') + 1) + L"parent-peak.txt";
    const std::string text = std::to_string(peak);
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    return 0;
}

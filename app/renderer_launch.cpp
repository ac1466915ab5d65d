#include "app/renderer_launch.h"

#include "config/product.h"
#include "config/registry.h"
#include "framework/handles.h"
#include "i18n/translate.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace {

const std::wstring kUninstallRoot = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kRendererFile[] = L"\\Marrowdale 3D Screensaver.exe";
const wchar_t kDefaultFolder[] = L"\\Marrowdale 3D Screensaver";

std::wstring UninstallEntry(const wchar_t* suffix) { return kUninstallRoot + product::kName + suffix; }

std::wstring ReadHklmString(const std::wstring& key, const wchar_t* value, bool use64View) {
    std::wstring text;
    ReadRegistryString(HKEY_LOCAL_MACHINE, key.c_str(), value, text, use64View);
    return text;
}

std::wstring ReadAppPath() { return ReadHklmString(product::kKey, L"AppPath", true); }

void ShowError(const wchar_t* text) {
    ::MessageBoxW(nullptr, Translate(text).c_str(), Translate(L"Error!").c_str(), MB_ICONERROR);
}

// A job that ends the processes in it when its last handle closes, which is
// when this process ends, however it ends: a renderer must not outlive the
// screensaver that was ended from outside. What the renderer starts itself
// (a browser it opens) leaves the job silently and lives on. Null when the
// system offers no such job.
framework::UniqueHandle MakeRendererJob() {
    framework::UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (!job) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_SILENT_BREAKAWAY_OK;
    if (!::SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
        job.Reset();
    }
    return job;
}

}  // namespace

// The candidates in order, each looked up only when the ones before it do not
// exist: in the usual case the installation folder holds the renderer, and
// the shell library that knows the Program Files folder is never loaded.
std::wstring FindRendererPath() {
    // Paths are joined as they stand: a folder ending in a backslash gives a
    // doubled one, which Windows accepts.
    const std::wstring appPath = ReadAppPath();
    if (!appPath.empty()) {
        const std::wstring candidate = appPath + kRendererFile;
        if (FileExists(candidate)) return candidate;
    } else {
        for (const wchar_t* entry : {L"_is1", L" and Animated Wallpaper_is1"}) {
            const std::wstring location = ReadHklmString(UninstallEntry(entry), L"InstallLocation", false);
            if (location.empty()) continue;
            const std::wstring candidate = location + kRendererFile;
            if (FileExists(candidate)) return candidate;
        }
    }

    wchar_t programFiles[MAX_PATH] = {};
    if (::SHGetSpecialFolderPathW(nullptr, programFiles, CSIDL_PROGRAM_FILES, FALSE)) {
        const std::wstring candidate = std::wstring(programFiles) + kDefaultFolder + kRendererFile;
        if (FileExists(candidate)) return candidate;
    }

    constexpr DWORD kCurrentDirectoryRoom = 2048;
    std::vector<wchar_t> current(kCurrentDirectoryRoom, L'\0');
    const DWORD length = ::GetCurrentDirectoryW(kCurrentDirectoryRoom, current.data());
    if (length != 0 && length < kCurrentDirectoryRoom) {
        const std::wstring candidate = std::wstring(current.data(), length) + kRendererFile;
        if (FileExists(candidate)) return candidate;
    }
    return std::wstring();
}

std::wstring RendererWorkingDirectory(const std::wstring& rendererPath) {
    std::wstring folder = ReadAppPath();
    // The installer is a 32-bit program: its uninstall entry lives in the
    // 32-bit view (Wow6432Node on 64-bit Windows), which is this process's own.
    if (folder.empty()) folder = ReadHklmString(UninstallEntry(L"_is1"), L"InstallLocation", false);
    if (folder.empty()) {
        const size_t slash = rendererPath.rfind(L'\\');
        if (slash != std::wstring::npos) folder = rendererPath.substr(0, slash + 1);
    }
    return folder;
}

void RunRenderer() {
    const std::wstring path = FindRendererPath();
    if (path.empty() || !FileExists(path)) {
        ShowError(L"Can't find the main file! Please reinstall screensaver.");
        return;
    }
    const std::wstring workingDirectory = RendererWorkingDirectory(path);

    // Declared before the process handles: the job closes last, after the
    // wait, when the renderer has ended.
    framework::UniqueHandle job = MakeRendererJob();
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // Suspended until it is in the job, so that nothing it starts escapes
    // the job's rules.
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                          workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup, &process)) {
        ShowError(L"Can't start the screensaver! Please try to restart your computer.");
        return;
    }
    framework::UniqueHandle processHandle(process.hProcess);
    framework::UniqueHandle threadHandle(process.hThread);
    // A screensaver that already runs in a job that forbids another (Windows
    // before 8 nests no jobs) runs the renderer as it always did.
    if (job) ::AssignProcessToJobObject(job.Get(), processHandle.Get());
    if (::ResumeThread(threadHandle.Get()) == static_cast<DWORD>(-1)) {
        // A renderer that never runs would be waited for for ever.
        ::TerminateProcess(processHandle.Get(), 1);
        ShowError(L"Can't start the screensaver! Please try to restart your computer.");
        return;
    }
    ::WaitForSingleObject(processHandle.Get(), INFINITE);
}

#include "tests/support/stub_wallpaper.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace test_support {

namespace {

struct WindowSearch {
    const std::wstring* className;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchStubWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    wchar_t className[257] = {};
    ::GetClassNameW(window, className, 257);
    if (*search->className != className) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const WallpaperPost& post) {
    return out << "(" << static_cast<unsigned long long>(post.code) << ", " << static_cast<long long>(post.value)
               << ")";
}

StubWallpaper::StubWallpaper(Queue queue, const std::wstring& className, HWND parent)
    : recordPath_(folder_.Path() + L"\\record.txt"), queue_(queue) {
    std::wstring commandLine = L"\"" + TestBuildFile(L"tests\\wallpaper\\stub_wallpaper.exe") + L"\" \"" +
                               recordPath_ + L"\" --class \"" + className + L"\"";
    // Outlives any test program's time limit, so a stub never ends under a test.
    commandLine += L" --limit-ms 120000";
    if (queue == Queue::Stuck) commandLine += L" --stuck";
    if (parent) commandLine += L" --parent " + std::to_wstring(reinterpret_cast<UINT_PTR>(parent));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        ADD_FAILURE() << "cannot start the stub wallpaper, error " << ::GetLastError();
        return;
    }
    ::CloseHandle(process.hThread);
    process_.Reset(process.hProcess);
    processId_ = process.dwProcessId;

    const ULONGLONG deadline = ::GetTickCount64() + 20000;
    while (::GetTickCount64() < deadline) {
        WindowSearch search{&className, processId_, nullptr};
        if (parent) {
            ::EnumChildWindows(parent, &MatchStubWindow, reinterpret_cast<LPARAM>(&search));
        } else {
            ::EnumWindows(&MatchStubWindow, reinterpret_cast<LPARAM>(&search));
        }
        if (search.found) {
            window_ = search.found;
            return;
        }
        if (::WaitForSingleObject(process_.Get(), 20) == WAIT_OBJECT_0) break;
    }
    ADD_FAILURE() << "the stub wallpaper's window did not appear";
}

StubWallpaper::~StubWallpaper() { Close(); }

std::vector<WallpaperPost> StubWallpaper::Received() const {
    std::vector<WallpaperPost> posts;
    const std::string text = ReadBinaryFile(recordPath_);
    size_t start = 0;
    // Only whole lines: the stub may be writing the next one.
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        const std::string line = text.substr(start, end - start);
        char* rest = nullptr;
        const unsigned long long code = std::strtoull(line.c_str(), &rest, 10);
        const long long value = std::strtoll(rest, nullptr, 10);
        posts.push_back(WallpaperPost{static_cast<WPARAM>(code), static_cast<LPARAM>(value)});
        start = end + 1;
    }
    return posts;
}

std::vector<WallpaperPost> StubWallpaper::WaitForReceived(std::size_t count, DWORD timeoutMs) const {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    std::vector<WallpaperPost> posts = Received();
    while (posts.size() < count && ::GetTickCount64() < deadline) {
        ::Sleep(20);
        posts = Received();
    }
    return posts;
}

void StubWallpaper::Close() {
    if (!process_) return;
    if (queue_ == Queue::Pumped && window_) {
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(process_.Get(), 20000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the stub wallpaper did not close";
            ::TerminateProcess(process_.Get(), 1);
        }
    } else {
        ::TerminateProcess(process_.Get(), 1);
    }
    ::WaitForSingleObject(process_.Get(), 20000);
    process_.Reset();
}

}  // namespace test_support

// The stand-in animated wallpaper (tests/fixtures/stub_wallpaper.cpp), run as
// a separate process: it records every change message its window receives.
#pragma once

#include "framework/handles.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace test_support {

// One change message as the wallpaper received it.
struct WallpaperPost {
    WPARAM code;
    LPARAM value;
    bool operator==(const WallpaperPost& other) const { return code == other.code && value == other.value; }
};
std::ostream& operator<<(std::ostream& out, const WallpaperPost& post);

class StubWallpaper {
public:
    enum class Queue {
        Pumped,  // handles its messages as a live wallpaper does
        Stuck,   // never looks at its message queue
    };

    // Starts the stub and waits until its window exists; a failure to come up
    // is a test failure and leaves Window() null. `className` other than
    // "Direct3D Window" makes a listener that is no wallpaper. With a parent
    // the window is that window's child instead of a top-level window.
    explicit StubWallpaper(Queue queue = Queue::Pumped, const std::wstring& className = L"Direct3D Window",
                           HWND parent = nullptr);
    ~StubWallpaper();
    StubWallpaper(const StubWallpaper&) = delete;
    StubWallpaper& operator=(const StubWallpaper&) = delete;

    HWND Window() const { return window_; }
    DWORD ProcessId() const { return processId_; }

    // The changes recorded so far, in the order received.
    std::vector<WallpaperPost> Received() const;
    // Waits up to timeoutMs until at least `count` changes are recorded; what
    // was recorded by then.
    std::vector<WallpaperPost> WaitForReceived(std::size_t count, DWORD timeoutMs = 10000) const;

    // Ends the stub. A pumped one gets WM_CLOSE, which it handles after
    // everything posted before it, so Received() is complete afterwards; a
    // stuck one is terminated. The window is a stale handle from then on.
    void Close();

private:
    TempFolder folder_;
    std::wstring recordPath_;
    Queue queue_;
    framework::UniqueHandle process_;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

}  // namespace test_support

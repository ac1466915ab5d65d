// What one change notification costs while no wallpaper runs: each one
// searches the windows again, and a slider drag sends one per scroll step.
// Measured with 500 extra top-level windows of 10 children each, beside a
// walk that reads the class of every window and every child, as the search
// once did.
#include "bench/median.h"
#include "wallpaper/wallpaper_window.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTopLevelWindows = 500;
constexpr int kChildrenEach = 10;

BOOL CALLBACK ReadClass(HWND window, LPARAM context) {
    wchar_t name[257] = {};
    ::GetClassNameW(window, name, 257);
    *reinterpret_cast<long*>(context) += name[0] != 0;
    return TRUE;
}

BOOL CALLBACK ReadClassOfTopLevelAndChildren(HWND window, LPARAM context) {
    ReadClass(window, context);
    ::EnumChildWindows(window, &ReadClass, context);
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND, LPARAM context) {
    ++*reinterpret_cast<long*>(context);
    return TRUE;
}

BOOL CALLBACK CountTopLevelAndChildren(HWND window, LPARAM context) {
    ++*reinterpret_cast<long*>(context);
    ::EnumChildWindows(window, &CountWindow, context);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    const int notifications = argc > 1 ? std::atoi(argv[1]) : 200;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &::DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"MarrowdaleBenchWindow";
    ::RegisterClassW(&windowClass);

    std::vector<HWND> topLevel;
    for (int i = 0; i < kTopLevelWindows; ++i) {
        HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                        instance, nullptr);
        if (!window) {
            std::printf("cannot create window %d\n", i);
            return 1;
        }
        for (int j = 0; j < kChildrenEach; ++j) {
            ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_CHILD, 0, 0, 10, 10, window, nullptr, instance,
                              nullptr);
        }
        topLevel.push_back(window);
    }
    long windowsSearched = 0;
    ::EnumWindows(&CountTopLevelAndChildren, reinterpret_cast<LPARAM>(&windowsSearched));

    const UINT message = ::RegisterWindowMessageW(kWallpaperMessageName);
    std::vector<double> micros;
    HWND wallpaper = nullptr;
    for (int i = 0; i < notifications; ++i) {
        const Clock::time_point start = Clock::now();
        PostWallpaperChange(wallpaper, message, WallpaperChange::MusicVolume, i % 101);
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        if (wallpaper) {
            std::printf("a wallpaper window is running: the measurement needs none\n");
            return 1;
        }
    }
    // Every window and child with its class read, and the same walk without
    // the class names.
    std::vector<double> classWalkMicros, walkMicros;
    for (int i = 0; i < notifications; ++i) {
        long walked = 0;
        Clock::time_point start = Clock::now();
        ::EnumWindows(&ReadClassOfTopLevelAndChildren, reinterpret_cast<LPARAM>(&walked));
        classWalkMicros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        start = Clock::now();
        ::EnumWindows(&CountTopLevelAndChildren, reinterpret_cast<LPARAM>(&walked));
        walkMicros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }

    std::sort(micros.begin(), micros.end());
    std::printf("windows searched per notification: %ld (%d top-level of ours with %d children each)\n",
                windowsSearched, kTopLevelWindows, kChildrenEach);
    std::printf("notifications with no wallpaper: %d\n", notifications);
    std::printf("  median %10.1f us\n  min    %10.1f us\n  p90    %10.1f us\n  max    %10.1f us\n",
                micros[micros.size() / 2], micros.front(), micros[micros.size() * 9 / 10], micros.back());
    std::printf("the walk reading every window's class:      median %10.1f us\n", Median(classWalkMicros));
    std::printf("the bare walk over the same windows, no class names: median %10.1f us\n", Median(walkMicros));

    for (HWND window : topLevel) ::DestroyWindow(window);
    return 0;
}

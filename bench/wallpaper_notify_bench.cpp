// What one change notification costs while no wallpaper runs: each one
// searches the windows again, and a slider drag sends one per scroll step.
// Measured with 500 extra top-level windows of 10 children each, flat and
// with one more window under each child, beside a walk that reads the class
// of every window at every depth and the same walk without the class names.
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

struct Figures {
    long windows = 0;
    std::vector<double> search, classWalk, walk;
};

// One notification after another with no wallpaper running, then the two
// walks, over 500 top-level windows of ours with 10 children each, and with
// `grandchildren` children under each child.
bool Measure(const wchar_t* className, int grandchildren, int notifications, Figures& figures) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    std::vector<HWND> topLevel;
    for (int i = 0; i < kTopLevelWindows; ++i) {
        HWND window = ::CreateWindowExW(0, className, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, instance,
                                        nullptr);
        if (!window) {
            std::printf("cannot create window %d\n", i);
            return false;
        }
        for (int j = 0; j < kChildrenEach; ++j) {
            HWND child = ::CreateWindowExW(0, className, L"", WS_CHILD, 0, 0, 10, 10, window, nullptr, instance,
                                           nullptr);
            for (int k = 0; k < grandchildren; ++k) {
                ::CreateWindowExW(0, className, L"", WS_CHILD, 0, 0, 5, 5, child, nullptr, instance, nullptr);
            }
        }
        topLevel.push_back(window);
    }
    ::EnumWindows(&CountTopLevelAndChildren, reinterpret_cast<LPARAM>(&figures.windows));

    const UINT message = ::RegisterWindowMessageW(kWallpaperMessageName);
    HWND wallpaper = nullptr;
    for (int i = 0; i < notifications; ++i) {
        const Clock::time_point start = Clock::now();
        PostWallpaperChange(wallpaper, message, WallpaperChange::MusicVolume, i % 101);
        figures.search.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        if (wallpaper) {
            std::printf("a wallpaper window is running: the measurement needs none\n");
            return false;
        }
    }
    // Every window with its class read, and the same walk without the class
    // names.
    for (int i = 0; i < notifications; ++i) {
        long walked = 0;
        Clock::time_point start = Clock::now();
        ::EnumWindows(&ReadClassOfTopLevelAndChildren, reinterpret_cast<LPARAM>(&walked));
        figures.classWalk.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        start = Clock::now();
        ::EnumWindows(&CountTopLevelAndChildren, reinterpret_cast<LPARAM>(&walked));
        figures.walk.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    for (HWND window : topLevel) ::DestroyWindow(window);
    return true;
}

void Report(const char* layout, Figures& figures) {
    std::vector<double>& micros = figures.search;
    std::sort(micros.begin(), micros.end());
    std::printf("%s: %ld windows searched per notification\n", layout, figures.windows);
    std::printf("  notifications with no wallpaper: %zu\n", micros.size());
    std::printf("    median %10.1f us\n    min    %10.1f us\n    p90    %10.1f us\n    max    %10.1f us\n",
                micros[micros.size() / 2], micros.front(), micros[micros.size() * 9 / 10], micros.back());
    std::printf("  the walk reading every window's class:               median %10.1f us\n",
                Median(figures.classWalk));
    std::printf("  the bare walk over the same windows, no class names: median %10.1f us\n", Median(figures.walk));
}

}  // namespace

int main(int argc, char** argv) {
    const int notifications = argc > 1 ? std::atoi(argv[1]) : 100;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"MarrowdaleBenchWindow";
    ::RegisterClassW(&windowClass);

    Figures flat, nested;
    if (!Measure(windowClass.lpszClassName, 0, notifications, flat)) return 1;
    if (!Measure(windowClass.lpszClassName, 1, notifications, nested)) return 1;
    Report("flat (500 top-level windows, 10 children each)", flat);
    Report("nested (500 top-level windows, 10 children each, 1 child under each child)", nested);
    return 0;
}

#include "wallpaper/wallpaper_window.h"

namespace {

const wchar_t kRenderWindowClass[] = L"Direct3D Window";
const wchar_t kIconListClass[] = L"SysListView32";
const wchar_t kIconListParentClass[] = L"SHELLDLL_DefView";

// The icon list and its parent only serve to end the search early: on a
// normal desktop the wallpaper's window lies next to them.
struct Findings {
    HWND iconList = nullptr;
    HWND iconListParent = nullptr;
    HWND renderWindow = nullptr;
};

bool HasClass(HWND window, const wchar_t* className) {
    // Class names are at most 256 characters; a window that is gone gives "".
    wchar_t name[257] = {};
    ::GetClassNameW(window, name, 257);
    return ::lstrcmpW(name, className) == 0;
}

BOOL CALLBACK VisitDescendant(HWND window, LPARAM context) {
    Findings& found = *reinterpret_cast<Findings*>(context);
    if (HasClass(window, kIconListClass)) {
        const HWND parent = ::GetParent(window);
        if (parent && HasClass(parent, kIconListParentClass)) {
            found.iconList = window;
            found.iconListParent = parent;
            return found.renderWindow ? FALSE : TRUE;
        }
        return TRUE;
    }
    if (HasClass(window, kRenderWindowClass)) {
        found.renderWindow = window;
        return found.iconList ? FALSE : TRUE;
    }
    return TRUE;
}

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM context) {
    Findings& found = *reinterpret_cast<Findings*>(context);
    if (HasClass(window, kRenderWindowClass)) {
        found.renderWindow = window;
        return (found.iconList && found.iconListParent) ? FALSE : TRUE;
    }
    ::EnumChildWindows(window, &VisitDescendant, context);
    return (found.iconList && found.iconListParent && found.renderWindow) ? FALSE : TRUE;
}

}  // namespace

HWND FindWallpaperWindow() {
    Findings found;
    // EnumWindows reports failure when a callback stops it early; the
    // findings are complete either way.
    ::EnumWindows(&VisitTopLevel, reinterpret_cast<LPARAM>(&found));
    return found.renderWindow;
}

void PostWallpaperChange(HWND& window, UINT message, WallpaperChange code, std::int32_t value) {
    if (!::IsWindow(window)) window = FindWallpaperWindow();
    // A null window would post to this thread's own queue instead.
    if (!window) return;
    // The result is of no use: a wallpaper that has just ended is noticed by
    // the next change.
    ::PostMessageW(window, message, static_cast<WPARAM>(code), static_cast<LPARAM>(value));
}

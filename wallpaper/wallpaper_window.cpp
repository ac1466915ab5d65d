#include "wallpaper/wallpaper_window.h"

#include <algorithm>
#include <vector>

namespace {

const wchar_t kRenderWindowClass[] = L"Direct3D Window";
const wchar_t kIconListClass[] = L"SysListView32";
const wchar_t kIconListParentClass[] = L"SHELLDLL_DefView";

// The longest class name there is, and its null.
constexpr int kClassNameSize = 257;

bool HasClass(HWND window, const wchar_t* className) {
    wchar_t name[kClassNameSize] = {};
    if (::GetClassNameW(window, name, kClassNameSize) == 0) return false;
    return ::lstrcmpW(name, className) == 0;
}

// The search meets the top-level windows from the top of the Z order, each
// followed by all of its descendants, depth first: the wallpaper's render
// window lies wherever the shell put its host (a top-level WorkerW on
// Windows 10, a WorkerW inside Progman since Windows 11 24H2) or inside a
// frame of the wallpaper's own. The desktop's icon list (a list view whose
// parent is the shell's view window) lies next to the render window on a
// normal desktop, so the search ends once it has met both; the render window
// met last is kept.
struct Search {
    std::vector<HWND> renderTopLevels;
    HWND renderWindow = nullptr;
    bool iconListMet = false;

    // Both have been met: the search ends.
    bool Done() const { return renderWindow && iconListMet; }

    bool MeetDescendant(HWND window) {
        wchar_t name[kClassNameSize] = {};
        if (::GetClassNameW(window, name, kClassNameSize) == 0) return true;  // gone meanwhile
        if (::lstrcmpW(name, kRenderWindowClass) == 0) {
            renderWindow = window;
        } else if (::lstrcmpW(name, kIconListClass) == 0 && HasClass(::GetParent(window), kIconListParentClass)) {
            iconListMet = true;
        }
        return !Done();
    }

    bool MeetTopLevel(HWND window) {
        // A top-level render window's own children are not searched; the
        // system has told which top-level windows are render windows, in one
        // call instead of one for each.
        if (std::find(renderTopLevels.begin(), renderTopLevels.end(), window) != renderTopLevels.end()) {
            renderWindow = window;
            return !Done();
        }
        ::EnumChildWindows(window, &VisitDescendant, reinterpret_cast<LPARAM>(this));
        return !Done();
    }

    static BOOL CALLBACK VisitDescendant(HWND window, LPARAM context) {
        return reinterpret_cast<Search*>(context)->MeetDescendant(window) ? TRUE : FALSE;
    }

    static BOOL CALLBACK VisitTopLevel(HWND window, LPARAM context) {
        return reinterpret_cast<Search*>(context)->MeetTopLevel(window) ? TRUE : FALSE;
    }
};

// The top-level windows of the render class, in Z order.
std::vector<HWND> RenderTopLevels() {
    std::vector<HWND> found;
    for (HWND after = nullptr; (after = ::FindWindowExW(nullptr, after, kRenderWindowClass, nullptr)) != nullptr;) {
        // A window moved behind the one just found while the list was read
        // could send the search round for ever.
        if (std::find(found.begin(), found.end(), after) != found.end()) break;
        found.push_back(after);
    }
    return found;
}

}  // namespace

HWND FindWallpaperWindow() {
    Search search;
    search.renderTopLevels = RenderTopLevels();
    // EnumWindows reports failure when the search stops it early; the
    // findings are complete either way.
    ::EnumWindows(&Search::VisitTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.renderWindow;
}

void PostWallpaperChange(HWND& window, UINT message, WallpaperChange code, std::int32_t value) {
    if (!::IsWindow(window)) window = FindWallpaperWindow();
    // A null window would post to this thread's own queue instead.
    if (!window) return;
    // The result is of no use: a wallpaper that has just ended is noticed by
    // the next change.
    ::PostMessageW(window, message, static_cast<WPARAM>(code), static_cast<LPARAM>(value));
}

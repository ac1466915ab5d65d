#include "wallpaper/wallpaper_window.h"

#include <algorithm>
#include <vector>

namespace {

const wchar_t kRenderWindowClass[] = L"Direct3D Window";
const wchar_t kIconListClass[] = L"SysListView32";
const wchar_t kIconListParentClass[] = L"SHELLDLL_DefView";
// The shell's desktop windows, which hold the icon list's view window.
const wchar_t* const kDesktopHostClasses[] = {L"Progman", L"WorkerW"};

// The children of parent (or the top-level windows, parent null) of one
// class, in Z order: the system compares the class names, one call for each
// window found instead of one for every window there is.
std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* className) {
    std::vector<HWND> found;
    for (HWND after = nullptr; (after = ::FindWindowExW(parent, after, className, nullptr)) != nullptr;) {
        // A window moved behind the one just found while the list was read
        // could send the search round for ever.
        if (std::find(found.begin(), found.end(), after) != found.end()) break;
        found.push_back(after);
    }
    return found;
}

bool Contains(const std::vector<HWND>& windows, HWND window) {
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

// The search meets top-level windows from the top of the Z order, each
// followed by its children: render windows, and the desktop's icon list (a
// list view under the view window of a shell desktop window). The icon list
// and the render windows lie next to each other on a normal desktop, so the
// search ends once it has met both; the render window met last is kept.
struct Search {
    std::vector<HWND> renderTopLevels;
    std::vector<HWND> desktopHosts;
    HWND renderWindow = nullptr;
    bool iconListMet = false;

    // False once both have been met.
    bool Meet(HWND render) {
        if (render) {
            renderWindow = render;
        } else {
            iconListMet = true;
        }
        return !(renderWindow && iconListMet);
    }

    bool MeetAll(const std::vector<HWND>& renders) {
        for (HWND render : renders) {
            if (!Meet(render)) return false;
        }
        return true;
    }

    // A shell desktop window's children in their order: its render windows
    // and the view windows that hold an icon list.
    bool MeetDesktopChildren(HWND host, const std::vector<HWND>& renders) {
        const std::vector<HWND> views = ChildrenOfClass(host, kIconListParentClass);
        if (views.empty()) return MeetAll(renders);
        for (HWND child = ::GetWindow(host, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (Contains(renders, child)) {
                if (!Meet(child)) return false;
            } else if (Contains(views, child) && ::FindWindowExW(child, nullptr, kIconListClass, nullptr)) {
                if (!Meet(nullptr)) return false;
            }
        }
        return true;
    }

    bool MeetTopLevel(HWND window) {
        // A render window's own children are not searched.
        if (Contains(renderTopLevels, window)) return Meet(window);
        const std::vector<HWND> renders = ChildrenOfClass(window, kRenderWindowClass);
        if (Contains(desktopHosts, window)) return MeetDesktopChildren(window, renders);
        return MeetAll(renders);
    }
};

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM context) {
    return reinterpret_cast<Search*>(context)->MeetTopLevel(window) ? TRUE : FALSE;
}

}  // namespace

HWND FindWallpaperWindow() {
    Search search;
    search.renderTopLevels = ChildrenOfClass(nullptr, kRenderWindowClass);
    for (const wchar_t* hostClass : kDesktopHostClasses) {
        const std::vector<HWND> hosts = ChildrenOfClass(nullptr, hostClass);
        search.desktopHosts.insert(search.desktopHosts.end(), hosts.begin(), hosts.end());
    }
    // EnumWindows reports failure when the search stops it early; the
    // findings are complete either way.
    ::EnumWindows(&VisitTopLevel, reinterpret_cast<LPARAM>(&search));
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

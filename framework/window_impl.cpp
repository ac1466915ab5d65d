#include "framework/window_impl.h"

#include <cwchar>

namespace framework {

ATOM RegisterDefaultWindowClass(const void* identity, WNDPROC procedure) {
    wchar_t name[64];
    std::swprintf(name, sizeof(name) / sizeof(name[0]), L"Marrowdale:%p", identity);
    const HINSTANCE instance = Module().GetResourceInstance();
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (const ATOM atom = static_cast<ATOM>(::GetClassInfoExW(instance, name, &existing))) return atom;

    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = name;
    return ::RegisterClassExW(&windowClass);
}

}  // namespace framework

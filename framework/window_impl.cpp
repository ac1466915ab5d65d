#include "framework/window_impl.h"

#include "framework/decimal_text.h"

#include <cstdint>
#include <string>

namespace framework {

ATOM RegisterDefaultWindowClass(const void* identity, WNDPROC procedure) {
    // The object's address makes the name unique to it.
    const std::wstring name = L"Marrowdale:" + DecimalText(reinterpret_cast<std::uintptr_t>(identity));
    const HINSTANCE instance = Module().GetResourceInstance();
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (const ATOM atom = static_cast<ATOM>(::GetClassInfoExW(instance, name.c_str(), &existing))) return atom;

    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = name.c_str();
    return ::RegisterClassExW(&windowClass);
}

}  // namespace framework

#include "tests/app/preview_parent.h"

#include "tests/support/windows_finder.h"

namespace test_support {

namespace {

const wchar_t kClassName[] = L"MarrowdalePreviewParent";
const DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

void RegisterParentClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    // Dark grey, unlike the pane's window colour and unlike the picture's sky.
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH));
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExW(&windowClass);  // fails harmlessly when registered already
}

}  // namespace

PreviewParent::PreviewParent(int clientWidth, int clientHeight, bool closeOnChildCreated)
    : closeOnChildCreated_(closeOnChildCreated) {
    RegisterParentClass(&Procedure);
    RECT frame = {0, 0, clientWidth, clientHeight};
    ::AdjustWindowRect(&frame, kStyle, FALSE);
    window_ = ::CreateWindowExW(0, kClassName, L"Screen Saver preview", kStyle, 40, 40, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    ::UpdateWindow(window_);
}

PreviewParent::~PreviewParent() { Destroy(); }

RECT PreviewParent::ClientOnScreen() const {
    RECT client = {};
    ::GetClientRect(window_, &client);
    ::MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

void PreviewParent::Destroy() {
    if (::IsWindow(window_)) ::DestroyWindow(window_);
    window_ = nullptr;
}

LRESULT CALLBACK PreviewParent::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PreviewParent*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE) {
        self->childCreationNotified_ = true;
        // The child's creation is still under way: close once it has returned.
        if (self->closeOnChildCreated_) ::PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (self) self->window_ = nullptr;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= deadline) return false;
        PumpMessagesFor(20);
    }
    return true;
}

}  // namespace test_support

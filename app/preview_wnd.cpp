#include "app/preview_wnd.h"

#include "app/picture_resource.h"
#include "framework/app_module.h"
#include "framework/message_loop.h"
#include "res/resource_ids.h"

namespace {

// The loop is known to the module for as long as it runs, and only if this
// call is the one that made it known.
class LoopRegistration {
public:
    explicit LoopRegistration(framework::CMessageLoop& loop) : added_(framework::Module().AddMessageLoop(&loop)) {}
    ~LoopRegistration() {
        if (added_) framework::Module().RemoveMessageLoop();
    }
    LoopRegistration(const LoopRegistration&) = delete;
    LoopRegistration& operator=(const LoopRegistration&) = delete;

private:
    bool added_;
};

}  // namespace

HRESULT CPreviewWnd::LoadPicture(int resourceId) {
    const HMODULE module = framework::Module().GetResourceInstance();
    return LoadPictureResource(module, resourceId, picture_, widthHimetric_, heightHimetric_);
}

LRESULT CPreviewWnd::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT paint = {};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (dc && picture_) {
        RECT client = {};
        ::GetClientRect(m_hWnd, &client);
        // IPicture's source rectangle is in HIMETRIC with y growing upwards:
        // starting at the height and going down by it draws the picture upright.
        picture_->Render(dc, 0, 0, client.right - client.left, client.bottom - client.top, 0, heightHimetric_,
                         widthHimetric_, -heightHimetric_, nullptr);
    }
    ::EndPaint(m_hWnd, &paint);
    return 0;
}

LRESULT CPreviewWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
    ::PostQuitMessage(0);
    return 0;
}

void RunPreview(HWND parent, HINSTANCE /*instance*/) {
    framework::CMessageLoop loop;
    const LoopRegistration registration(loop);

    // A number that is no window (0, a closed settings page) has no client area.
    RECT rect = {};
    if (!::GetClientRect(parent, &rect)) return;
    const DWORD style = WS_CHILD | WS_VISIBLE;
    ::AdjustWindowRect(&rect, style, FALSE);

    CPreviewWnd preview;
    // The parent may have gone since its size was read.
    if (!preview.Create(parent, rect, L"", style, 0)) return;
    preview.LoadPicture(IDR_PREVIEW_PICTURE);
    preview.ShowWindow(SW_SHOW);
    loop.Run();

    // A quit message from anyone but the pane (posted to the thread from
    // outside) ends the loop with the pane still there. It must not outlive
    // its object: a later message would reach freed memory. Its own
    // WM_DESTROY then posts a quit message of its own, which is not meant
    // for whatever loop the thread runs next.
    if (preview.IsWindow()) {
        preview.DestroyWindow();
        MSG quit;
        ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
}

// The preview pane: the still picture the program shows inside the small
// monitor of the system's screensaver settings page, until that page
// destroys the area it gave us.
#pragma once

#include "framework/handles.h"
#include "framework/window_impl.h"

#include <windows.h>
#include <ocidl.h>

class CPreviewWnd : public framework::CWindowImpl<CPreviewWnd> {
public:
    BEGIN_MSG_MAP(CPreviewWnd)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

    // Decodes the JPEG resource of the module's resource instance into the
    // picture. S_OK, or a failure code with no picture held (the pane then
    // shows its background).
    HRESULT LoadPicture(int resourceId);

private:
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    framework::ComPtr<IPicture> picture_;
    LONG widthHimetric_ = 0;
    LONG heightHimetric_ = 0;
};

// The whole preview mode, with COM and the module object (initialised with
// the program's instance) set up: fills the parent's client area with the
// preview picture and runs the thread's message loop until the pane is
// destroyed with its parent. Returns at once when the parent is not a window
// or the pane cannot be made. The pane's class and picture come from the
// module object's resource instance.
void RunPreview(HWND parent, HINSTANCE instance);

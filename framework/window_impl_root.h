// What dialogs and windows of the program share: a message map over a window
// handle, and the way a new window finds its object.
//
// There are no executable thunks. The object that is about to create a window
// leaves its address in a per-thread slot just before creation; the first
// message of the new window takes it from there, stores it in the window
// itself and clears the slot. From then on the window's procedure reads it
// back from the window. The slot is per thread because each thread creates
// its own windows, and it is cleared at once so that a window created later
// by someone else can never pick up a stale object.
#pragma once

#include "framework/message_map.h"
#include "framework/window.h"

namespace framework {

// The object whose window is being created on this thread, or null.
void*& CreatingObject();

template <class TBase = CWindow>
class CWindowImplRoot : public CMessageMap, public TBase {
public:
    CWindowImplRoot() = default;
    CWindowImplRoot(const CWindowImplRoot&) = delete;
    CWindowImplRoot& operator=(const CWindowImplRoot&) = delete;
};

// Handler code runs inside window procedures that user32 calls: an exception
// must end at the procedure, because unwinding through the system's frames is
// undefined. A message whose handler threw counts as not handled, so it gets
// the default processing and the window keeps running.
template <class Map>
BOOL ProcessWithoutThrowing(Map& map, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT& result) noexcept {
    try {
        return map.ProcessWindowMessage(window, message, wParam, lParam, result, 0);
    } catch (...) {
        result = 0;
        return FALSE;
    }
}

}  // namespace framework

// One consent for the rights to save: starts this program elevated in its
// grant mode for the user who runs the dialog, as Windows programs ask for
// rights, and tells the dialog how it went. The consent and the grant run on
// a thread of their own, so that the dialog goes on painting and answering
// while Windows asks the user.
#pragma once

#include "framework/thread.h"

#include <windows.h>

#include <memory>

class AccessRequest {
public:
    // Starts at once. Posts `message` to `window` when done, with wParam
    // ERROR_SUCCESS once the user has been granted the rights, ERROR_CANCELLED
    // when the consent was declined, or another status when the start or the
    // grant failed.
    AccessRequest(HWND window, UINT message);
    // A request still under way is let go: its answer then finds no window.
    ~AccessRequest();
    AccessRequest(const AccessRequest&) = delete;
    AccessRequest& operator=(const AccessRequest&) = delete;

private:
    std::unique_ptr<framework::Thread> thread_;
};

// Whether the settings may be saved here (ERROR_SUCCESS), must be asked for
// (ERROR_ACCESS_DENIED), or cannot be told; the shield on an OK button.
void ShowShieldWhenAccessDenied(HWND button, LSTATUS writeAccess);

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

// Whether this user may save the settings here, and the one consent per OK
// that gives the rights where not: the OK of the settings dialog and of the
// playlist dialog both go through it.
class SaveRights {
public:
    // Finds out, writing nothing, whether this user may write the product
    // key, and shows the shield on the dialog's OK button when not.
    void Check(HWND dialog);
    // For an OK: true when the rights must be asked for first. The request is
    // then under way, and its status comes to the dialog as `message`.
    bool AskFirst(HWND dialog, UINT message);
    bool Asking() const { return static_cast<bool>(request_); }
    // The request's status: true once granted (the shield is checked
    // again); false when declined or failed, and the next OK asks again.
    bool Answered(HWND dialog, WPARAM status);
    // A save that failed all the same: the next OK asks again.
    void SaveFailed() { asked_ = false; }
    // Lets go of a request still under way (the dialog ends).
    void Abandon() { request_.reset(); }

private:
    LSTATUS writeAccess_ = ERROR_SUCCESS;
    bool asked_ = false;
    std::unique_ptr<AccessRequest> request_;
};

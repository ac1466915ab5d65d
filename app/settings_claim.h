// One settings dialog per session. Every dialog writes the whole product key
// on OK, so a second dialog opened behind the first would silently undo what
// the user saved in the first. The configuration mode therefore claims the
// dialog first: the process that gets the claim shows it, and a later start
// brings that dialog to the front instead of opening its own.
#pragma once

#include "framework/handles.h"

#include <windows.h>

// The claim is a named mutex in the session's own namespace, held for as long
// as the dialog is open, with a small named section beside it in which the
// holder publishes its process id and, once it stands, its dialog's window.
// A mutex whose holder dies is abandoned and goes to the next start, so a
// process that ended without cleaning up never blocks the mode; what the
// section says is trusted only for a live process of this program that owns
// that very dialog window.
class SettingsClaim {
public:
    static constexpr wchar_t kMutexName[] = L"Local\\Marrowdale 3D Screensaver Settings";
    static constexpr wchar_t kSectionName[] = L"Local\\Marrowdale 3D Screensaver Settings Window";
    // What the section holds. Window handles are 32-bit values in processes
    // of both sizes, so 32-bit and 64-bit builds read the same layout.
    struct Published {
        volatile LONG processId;
        volatile LONG window;
    };

    enum class Outcome {
        Claimed,      // this process shows the dialog and publishes it
        ShownOpen,    // another process's dialog was brought to the front
        Unclaimed,    // no claim to be had (the names are taken, or the holder
                      // shows no dialog of ours in time): show one all the same
    };

    SettingsClaim() = default;
    ~SettingsClaim();
    SettingsClaim(const SettingsClaim&) = delete;
    SettingsClaim& operator=(const SettingsClaim&) = delete;

    // Takes the claim, or waits (a bounded time) for the holder's dialog and
    // brings it, or its open playlist dialog, to the front. Creates no window
    // and reads no settings.
    Outcome ClaimOrShowOpen();

    // Makes the dialog known to later starts (none: withdraws it, and later
    // starts wait for the claim); nothing without the claim.
    void Publish(HWND dialog);

private:
    Published* Section() const { return static_cast<Published*>(view_.Get()); }

    framework::UniqueHandle mutex_;
    framework::UniqueHandle section_;
    framework::MappedView view_;
    framework::MutexOwnership ownership_;
};

// True when the window is a visible dialog of a live process of this program
// (the same program file name) with that process id.
bool IsSettingsDialogOf(HWND window, DWORD processId);

// Restores the dialog when it is minimised and makes the window the user
// last worked in among it and the windows it owns (the playlist dialog, a
// message box) the foreground window.
void BringDialogToFront(HWND dialog);

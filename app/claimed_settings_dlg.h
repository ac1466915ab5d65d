// The settings dialog of the configuration mode, which owns the one-dialog
// claim of the session: it makes itself known to later starts once it
// stands, withdraws as soon as it begins to close (a later start then waits
// for this process to let the claim go and opens a dialog of its own,
// rather than bringing forward one about to vanish), and lets the claim go
// once its window is gone.
#pragma once

#include "app/settings_claim.h"
#include "ui/settings_dlg.h"

#include <memory>

class CClaimedSettingsDlg : public CSettingsDlg {
public:
    explicit CClaimedSettingsDlg(std::unique_ptr<SettingsClaim> claim) : claim_(std::move(claim)) {}

    BOOL InitDialog(HWND focus, LPARAM initParam) override;
    void DialogClosing() override;
    void DialogStaysOpen() override;
    void OnFinalMessage(HWND window) override;

private:
    std::unique_ptr<SettingsClaim> claim_;
};

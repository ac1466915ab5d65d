#include "app/claimed_settings_dlg.h"

BOOL CClaimedSettingsDlg::InitDialog(HWND focus, LPARAM initParam) {
    const BOOL result = CSettingsDlg::InitDialog(focus, initParam);
    if (claim_) claim_->Publish(m_hWnd);
    return result;
}

void CClaimedSettingsDlg::DialogClosing() {
    CSettingsDlg::DialogClosing();
    if (claim_) claim_->Publish(nullptr);
}

void CClaimedSettingsDlg::DialogStaysOpen() {
    CSettingsDlg::DialogStaysOpen();
    if (claim_) claim_->Publish(m_hWnd);
}

void CClaimedSettingsDlg::OnFinalMessage(HWND window) {
    CSettingsDlg::OnFinalMessage(window);
    // After the dialog's end has waited for its probes: a later start may
    // show its own dialog now.
    claim_.reset();
}

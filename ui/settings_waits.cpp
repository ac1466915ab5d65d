// When the settings dialog's ways out act: at once, or once the hardware's
// answers they need have come (all waits together at most kProbeTimeLimit),
// or, for an OK that needs rights this user lacks, once the consent that
// gives them has been answered. The dialog goes on painting and answering
// while it waits; the ways out are held.
#include "ui/settings_dlg.h"

#include "ui/registry_error.h"

CSettingsDlgBase::CommandTiming CSettingsDlg::TimeCommand(UINT command) {
    if (waitingFor_ != WaitFor::Nothing) return CommandTiming::Dropped;
    if (command == IDCANCEL) return CommandTiming::ActNow;
    // Restore Defaults needs the tiers, which the start may have spared.
    if (command == IDC_RESTORE_DEFAULTS && probes_ && !givenUp_) probes_->ProbeTiers();
    if (!givenUp_ && AnswersOut()) {
        BeginWait(command, WaitFor::Hardware);
        return CommandTiming::Deferred;
    }
    // One consent per OK: declined or failed, OK may be tried again.
    if (command == IDOK && saveRights_.AskFirst(m_hWnd, kAccessAnswered)) {
        BeginWait(command, WaitFor::Access);
        return CommandTiming::Deferred;
    }
    return CommandTiming::ActNow;
}

void CSettingsDlg::BeginWait(UINT command, WaitFor what) {
    waitingCommand_ = command;
    waitingFor_ = what;
    if (what == WaitFor::Hardware && !waitBegun_) {
        waitBegun_ = true;
        waitDeadline_ = ::GetTickCount() + kProbeTimeLimit;
        ::SetTimer(m_hWnd, kGiveUpTimer, kProbeTimeLimit, nullptr);
    }
    busy_.Hold(m_hWnd, {IDOK, IDCANCEL, IDC_RESTORE_DEFAULTS, IDC_EDIT_PLAYLIST});
}

void CSettingsDlg::EndWait() {
    const UINT command = waitingCommand_;
    waitingCommand_ = 0;
    waitingFor_ = WaitFor::Nothing;
    busy_.Release(m_hWnd);
    SendMessage(WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(command)));
}

LRESULT CSettingsDlg::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam != kGiveUpTimer) {
        handled = FALSE;
        return 0;
    }
    ::KillTimer(m_hWnd, kGiveUpTimer);
    givenUp_ = true;
    if (waitingFor_ == WaitFor::Hardware) EndWait();
    return 0;
}

LRESULT CSettingsDlg::OnAccessAnswered(UINT, WPARAM status, LPARAM, BOOL&) {
    if (waitingFor_ != WaitFor::Access) return 0;
    if (saveRights_.Answered(m_hWnd, status)) {
        EndWait();
        return 0;
    }
    // Declined, or the grant failed: nothing is lost, OK may be tried again.
    waitingCommand_ = 0;
    waitingFor_ = WaitFor::Nothing;
    busy_.Release(m_hWnd);
    ShowRegistryWriteError(m_hWnd);
    DialogStaysOpen();
    return 0;
}

void CSettingsDlg::DialogStaysOpen() {
    CSettingsDlgBase::DialogStaysOpen();
    saveRights_.SaveFailed();
}

LRESULT CSettingsDlg::OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (!busy_.SetWaitCursor()) handled = FALSE;
    return TRUE;
}

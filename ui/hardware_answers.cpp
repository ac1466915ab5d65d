// The settings dialog shows before the hardware has answered. Which controls
// wait for which answer, each empty and disabled until it comes:
//
//   the inventory      the monitor list, the blank-screen box, the
//                      resolution list and the desktop-resolution box;
//   the tiers          the high-quality boxes and Antialiasing, while the
//                      tree holds no value for them (the key did not: a
//                      first run);
//   the sample counts  Antialiasing and its quality list.
//
// An answer is taken whenever it comes while the dialog is open, also after
// a way out stopped waiting for it. What each way out does without one:
//
//   OK                waits, busy, for the answers still out, then stores
//                     the tree. A tiered value the hardware never answered
//                     is not in the tree (the next start probes again) or
//                     keeps the key's; Antialiasing keeps the tree's while
//                     its list waits; the monitor choice is corrected only
//                     by an inventory that answered.
//   Restore Defaults  waits the same way (it probes the tiers when the start
//                     spared them), then writes the defaults; the tiered
//                     ones only from an answer.
//   Cancel, Close     at once: they show and post the tree, which needs no
//                     answer; a value not known is not posted.
//   Edit Playlist     at once: the playlist dialog writes nothing an answer
//                     decides.
//   The monitor group and Antialiasing are disabled until their answers.
//
// All waits together last at most kProbeTimeLimit over the dialog's life:
// once that is over, every way out acts at once with what has come.
#include "ui/settings_dlg.h"

#include "config/settings_schema.h"
#include "framework/controls.h"

namespace {

constexpr UINT_PTR kGiveUpTimer = 1;

// The tiered settings and the boxes that show them.
}  // namespace

// The tiered settings and the boxes that show them; Antialiasing's box goes
// with its list.
const CSettingsDlg::Tiered CSettingsDlg::kTiered[3] = {
    {setting::kHighQualityTextures, &HardwareDefaults::highQualityTextures, &CSettingsDlg::highQualityTextures_},
    {setting::kHighQualityGraphics, &HardwareDefaults::highQualityGraphics, &CSettingsDlg::highQualityGraphics_},
    {setting::kAntialiasing, &HardwareDefaults::antialiasing, nullptr},
};

void CSettingsDlg::StartHardwareProbes() {
    // Once the key holds what the video-memory and clock probes would decide,
    // they are spared until Restore Defaults asks for the tiers.
    probes_ = std::make_unique<StartProbes>(DeviceChecks(), !StoredSettingsReplaceHardwareDefaults(), m_hWnd,
                                            kProbeAnswered);
}

bool CSettingsDlg::Known(const char* name) { return settings.Get(name).type != ValueType::Unset; }

void CSettingsDlg::TakeAnswers() {
    if (!probes_) return;
    if (!inventoryTaken_ && probes_->InventoryAnswered()) {
        inventoryTaken_ = true;
        Display().AdoptInventory(probes_->Inventory());
        Display().ValidateMonitorChoice();
        // The inventory has just read the desktop modes.
        FillMonitorGroup(DisplayConfiguration::DesktopMode::FromInventory);
    }
    if (!tiers_ && probes_->TiersAnswered()) {
        tiers_ = probes_->Tiers();
        // Only what the key left open: a value the user may have changed
        // since stays as it is.
        for (const Tiered& tiered : kTiered) {
            if (Known(tiered.name)) continue;
            settings.Get(tiered.name) = ConfigValue((*tiers_).*tiered.tier);
            if (tiered.box) {
                const HWND box = this->*tiered.box;
                framework::SetChecked(box, settings.Get(tiered.name).AsInt() != 0);
                framework::Enable(box, true);
            }
        }
    }
    if (!sampleCounts_ && probes_->SampleCountsAnswered()) sampleCounts_ = probes_->SampleCounts();
    if (!antialiasingShown_) FillAntialiasingList();
    if (waitingCommand_ && !AnswersOut()) EndWait();
}

LRESULT CSettingsDlg::OnProbeAnswered(UINT, WPARAM, LPARAM, BOOL&) {
    TakeAnswers();
    return 0;
}

CSettingsDlgBase::CommandTiming CSettingsDlg::TimeCommand(UINT command) {
    if (waitingCommand_) return CommandTiming::Dropped;
    if (command == IDCANCEL) return CommandTiming::ActNow;
    // Restore Defaults needs the tiers, which the start may have spared.
    if (command == IDC_RESTORE_DEFAULTS && probes_ && !givenUp_) probes_->ProbeTiers();
    if (givenUp_ || !AnswersOut()) return CommandTiming::ActNow;
    BeginWait(command);
    return CommandTiming::Deferred;
}

void CSettingsDlg::BeginWait(UINT command) {
    waitingCommand_ = command;
    if (!waitBegun_) {
        waitBegun_ = true;
        waitDeadline_ = ::GetTickCount() + kProbeTimeLimit;
        ::SetTimer(m_hWnd, kGiveUpTimer, kProbeTimeLimit, nullptr);
    }
    ShowBusy(true);
}

void CSettingsDlg::EndWait() {
    const UINT command = waitingCommand_;
    waitingCommand_ = 0;
    ShowBusy(false);
    SendMessage(WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(command)));
}

LRESULT CSettingsDlg::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam != kGiveUpTimer) {
        handled = FALSE;
        return 0;
    }
    ::KillTimer(m_hWnd, kGiveUpTimer);
    givenUp_ = true;
    if (waitingCommand_) EndWait();
    return 0;
}

void CSettingsDlg::ShowBusy(bool busy) {
    if (busy) {
        // The dialog goes on painting and answering; only its ways out and
        // the playlist dialog are held until the wait is over.
        const HWND focus = ::GetFocus();
        for (int id : {IDOK, IDCANCEL, IDC_RESTORE_DEFAULTS, IDC_EDIT_PLAYLIST}) {
            const HWND button = GetDlgItem(id);
            if (!button || !::IsWindowEnabled(button)) continue;
            if (button == focus) heldFocus_ = focus;
            heldButtons_.push_back(button);
            ::EnableWindow(button, FALSE);
        }
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return;
    }
    for (HWND button : heldButtons_) ::EnableWindow(button, TRUE);
    heldButtons_.clear();
    if (heldFocus_) SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(heldFocus_), TRUE);
    heldFocus_ = nullptr;
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

LRESULT CSettingsDlg::OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (!waitingCommand_) {
        handled = FALSE;
        return 0;
    }
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    return TRUE;
}

LRESULT CSettingsDlg::OnDialogDestroyed(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::KillTimer(m_hWnd, kGiveUpTimer);
    // The threads still running get what is left of the time for waiting,
    // or the whole of it when nobody waited, all together.
    if (probes_) probes_->Finish(waitBegun_ ? waitDeadline_ : ::GetTickCount() + kProbeTimeLimit);
    probes_.reset();
    handled = FALSE;
    return 0;
}

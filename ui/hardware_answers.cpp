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
//   OK                waits, busy, for the answers still out (and, where this
//                     user may not write the key, for the consent that lets
//                     it: settings_waits.cpp), then stores
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
    if (waitingFor_ == WaitFor::Hardware && !AnswersOut()) EndWait();
}

LRESULT CSettingsDlg::OnProbeAnswered(UINT, WPARAM, LPARAM, BOOL&) {
    TakeAnswers();
    return 0;
}

LRESULT CSettingsDlg::OnDialogDestroyed(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::KillTimer(m_hWnd, kGiveUpTimer);
    saveRights_.Abandon();
    // The threads still running get what is left of the time for waiting,
    // or the whole of it when nobody waited, all together.
    if (probes_) probes_->Finish(waitBegun_ ? waitDeadline_ : ::GetTickCount() + kProbeTimeLimit);
    probes_.reset();
    handled = FALSE;
    return 0;
}

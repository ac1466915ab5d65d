// The product's settings dialog: its option controls, its defaults, and the
// wallpaper that shows each change while the user makes it.
#pragma once

#include "ui/access_request.h"
#include "ui/busy_buttons.h"
#include "ui/settings_dlg_base.h"
#include "ui/start_probes.h"
#include "wallpaper/wallpaper_window.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Posted to the dialog by a probe of its start that has answered.
inline constexpr UINT kProbeAnswered = WM_APP + 1;
// Posted by the request for the rights to save, with its status in wParam.
inline constexpr UINT kAccessAnswered = WM_APP + 2;

class CSettingsDlg : public CSettingsDlgBase {
public:
    CSettingsDlg() = default;
    ~CSettingsDlg() override;

    BEGIN_MSG_MAP(CSettingsDlg)
        MESSAGE_HANDLER(kProbeAnswered, OnProbeAnswered)
        MESSAGE_HANDLER(kAccessAnswered, OnAccessAnswered)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        MESSAGE_HANDLER(WM_DESTROY, OnDialogDestroyed)
        MESSAGE_HANDLER(WM_HSCROLL, OnSliderMoved)
        COMMAND_HANDLER(IDC_ENABLE_MUSIC, BN_CLICKED, OnMusicSwitched)
        COMMAND_HANDLER(IDC_ENABLE_SOUNDS, BN_CLICKED, OnSoundsSwitched)
        COMMAND_HANDLER(IDC_ANTIALIASING, BN_CLICKED, OnAntialiasingSwitched)
        CHAIN_MSG_MAP(CSettingsDlgBase)
        COMMAND_HANDLER(IDC_EDIT_PLAYLIST, BN_CLICKED, OnEditPlaylist)
        COMMAND_HANDLER(IDC_PLAY_MY_MUSIC, BN_CLICKED, OnPlayMyMusicClicked)
        COMMAND_HANDLER(IDC_RUN_AT_STARTUP, BN_CLICKED, OnRunAtStartupClicked)
        COMMAND_HANDLER(IDC_HIGH_QUALITY_GRAPHICS, BN_CLICKED, OnHighQualityGraphicsClicked)
        COMMAND_HANDLER(IDC_HIGH_QUALITY_TEXTURES, BN_CLICKED, OnHighQualityTexturesClicked)
        COMMAND_HANDLER(IDC_RESTORE_DEFAULTS, BN_CLICKED, OnRestoreDefaults)
    END_MSG_MAP()

    void ReadControls() override;
    void SetDefaults() override;
    BOOL InitDialog(HWND focus, LPARAM initParam) override;
    void RevertControls() override;
    CommandTiming TimeCommand(UINT command) override;
    void DialogStaysOpen() override;
    // Whether every control shows what the hardware answered.
    bool HardwareAnswersShown() const { return !AnswersOut(); }

    // Shows the tree in every control and refills the lists from the
    // answers there are; asks the hardware nothing.
    void FillControls();
    // Posts one change to the running wallpaper, if there is one.
    void NotifyWallpaper(WallpaperChange code, std::int32_t value);

protected:
    explicit CSettingsDlg(UINT templateId) : CSettingsDlgBase(templateId) {}

    // The steps of InitDialog, in their order, around the base's.
    void StartHardwareProbes();
    void FetchOptionControls();
    // The defaults without the hardware-tiered ones, which the key holds or
    // the tiers' answer brings; the key over them; the controls filled with
    // what needs no answer.
    void LoadAndFillControls();
    void ShowCaptionAndIcon();

private:
    // The answers of the hardware and the way out that waits for them
    // (hardware_answers.cpp).
    bool AnswersOut() const {
        return !inventoryTaken_ || !sampleCounts_ || (!tiers_ && probes_ && probes_->ProbesTiers());
    }
    void TakeAnswers();
    enum class WaitFor { Nothing, Hardware, Access };
    void BeginWait(UINT command, WaitFor what);
    // The wait is over: the command is sent again, and now acts.
    void EndWait();
    // Whether the tree holds a value for the setting: a hardware-tiered one
    // has none on a first run until the hardware has answered.
    bool Known(const char* name);
    // The antialiasing count that the controls stand for: the one chosen in
    // the list, or the tree's while the list waits for its answer.
    std::int32_t ShownAntialiasing();

    // The seven changes, in the order a wallpaper expects a full refresh;
    // a value not known yet is not posted.
    void NotifyAllChanges();
    void EditPlaylist();
    // The parts of FillControls: the controls that need no hardware answer,
    // the three whose defaults follow the hardware, the antialiasing list.
    void FillOptionControls();
    void FillTieredControls();
    void FillAntialiasingList();
    // The monitor group; desktop as for FillResolutionControls, once the
    // inventory has answered.
    void FillMonitorGroup(DisplayConfiguration::DesktopMode desktop);
    // What Antialiasing stores and previews from the list: the chosen sample
    // count, or 0.
    std::int32_t ChosenAntialiasing() const;

    LRESULT OnProbeAnswered(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAccessAnswered(UINT, WPARAM status, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled);
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnDialogDestroyed(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnSliderMoved(UINT, WPARAM, LPARAM lParam, BOOL&);
    LRESULT OnMusicSwitched(WORD, WORD, HWND, BOOL&);
    LRESULT OnSoundsSwitched(WORD, WORD, HWND, BOOL&);
    LRESULT OnAntialiasingSwitched(WORD, WORD, HWND, BOOL&);
    LRESULT OnEditPlaylist(WORD, WORD, HWND, BOOL&);
    LRESULT OnPlayMyMusicClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnRunAtStartupClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnHighQualityGraphicsClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnHighQualityTexturesClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnRestoreDefaults(WORD, WORD, HWND, BOOL&);

    struct Tiered {
        const char* name;
        std::int32_t HardwareDefaults::*tier;
        HWND CSettingsDlgBase::*box;
    };
    static const Tiered kTiered[3];

    std::unique_ptr<StartProbes> probes_;
    // The answers taken so far, and whether Antialiasing shows them.
    bool inventoryTaken_ = false;
    std::optional<HardwareDefaults> tiers_;
    std::optional<std::vector<std::int32_t>> sampleCounts_;
    bool antialiasingShown_ = false;
    // The way out that waits (0: none) and what for, and whether the time
    // for waiting for the hardware is over.
    static constexpr UINT_PTR kGiveUpTimer = 1;
    UINT waitingCommand_ = 0;
    WaitFor waitingFor_ = WaitFor::Nothing;
    bool waitBegun_ = false;
    bool givenUp_ = false;
    DWORD waitDeadline_ = 0;
    BusyButtons busy_;
    SaveRights saveRights_;
};

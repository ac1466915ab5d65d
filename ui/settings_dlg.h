// The product's settings dialog: its option controls, its defaults, and the
// wallpaper that shows each change while the user makes it.
#pragma once

#include "ui/settings_dlg_base.h"
#include "ui/start_probes.h"
#include "wallpaper/wallpaper_window.h"

#include <cstdint>
#include <memory>
#include <vector>

// Posted to the dialog by a probe of its start that has answered.
inline constexpr UINT kProbeAnswered = WM_APP + 1;

class CSettingsDlg : public CSettingsDlgBase {
public:
    CSettingsDlg() = default;
    ~CSettingsDlg() override;

    BEGIN_MSG_MAP(CSettingsDlg)
        MESSAGE_HANDLER(kProbeAnswered, OnProbeAnswered)
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
    void AwaitHardwareAnswers() override;
    // Whether every control shows what the hardware answered.
    bool HardwareAnswersShown() const { return !probes_; }

    // Shows the tree in every control and refills the lists; desktop as for
    // FillResolutionControls.
    void FillControls(DisplayConfiguration::DesktopMode desktop = DisplayConfiguration::DesktopMode::AskedAfresh);
    // Posts one change to the running wallpaper, if there is one.
    void NotifyWallpaper(WallpaperChange code, std::int32_t value);

protected:
    explicit CSettingsDlg(UINT templateId) : CSettingsDlgBase(templateId) {}

    // The steps of InitDialog after the base's, in their order.
    void FetchOptionControls();
    // The defaults with these hardware tiers, then the product key over them.
    void LoadSettingsOver(const HardwareDefaults& tiers);
    // Starts the probes of the hardware on their threads; the stored key
    // spares those whose results it would replace.
    void StartHardwareProbes();
    // Loads the settings and fills what needs no hardware answer; the
    // controls that need one show nothing and cannot be used until it comes.
    void FillWithoutHardware();
    // Shows the answers that have come (all of them, waiting for those
    // still out, when `wait`); drops the probes once every answer is shown.
    void TakeAnswers(bool wait);
    void ShowCaptionAndIcon();

    // The probes of the dialog's start until all their answers are shown.
    std::unique_ptr<StartProbes> probes_;
    // Which answers still wait to be shown.
    bool inventoryPending_ = false;
    bool tiersPending_ = false;
    bool sampleCountsPending_ = false;

private:
    // The seven changes, in the order a wallpaper expects a full refresh.
    void NotifyAllChanges();
    void EditPlaylist();
    // The parts of FillControls: the controls that need no hardware answer,
    // the three whose defaults follow the hardware, the antialiasing list
    // from these sample counts.
    void FillOptionControls();
    void FillTieredControls();
    void FillAntialiasingList(const std::vector<std::int32_t>& sampleCounts);
    void ShowHardwarePending();
    // What Antialiasing stores and previews: the chosen sample count, or 0.
    std::int32_t ChosenAntialiasing() const;

    LRESULT OnProbeAnswered(UINT, WPARAM, LPARAM, BOOL&);
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
};

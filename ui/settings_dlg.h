// The product's settings dialog: its option controls, its defaults, and the
// wallpaper that shows each change while the user makes it.
#pragma once

#include "ui/settings_dlg_base.h"
#include "wallpaper/wallpaper_window.h"

#include <cstdint>
#include <optional>
#include <vector>

class CSettingsDlg : public CSettingsDlgBase {
public:
    CSettingsDlg() = default;

    BEGIN_MSG_MAP(CSettingsDlg)
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
    void ShowCaptionAndIcon();

    // The multisample counts probed at the start, for the list's first
    // filling; later fillings probe afresh.
    std::optional<std::vector<std::int32_t>> startSampleCounts_;

private:
    // The seven changes, in the order a wallpaper expects a full refresh.
    void NotifyAllChanges();
    void EditPlaylist();
    void FillAntialiasingList();
    // What Antialiasing stores and previews: the chosen sample count, or 0.
    std::int32_t ChosenAntialiasing() const;

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

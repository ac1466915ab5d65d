#include "ui/settings_dlg.h"

#include "config/product.h"
#include "config/settings_schema.h"
#include "i18n/translate.h"
#include "playlist/playlist_dlg.h"
#include "res/resource_ids.h"
#include "ui/start_probes.h"

#include "i18n/fill_format.h"

namespace {

constexpr wchar_t kVersion[] = L"1.0";
// The caption's buffer holds 1024 characters with the terminator.
constexpr size_t kMaxCaption = 1023;

}  // namespace

BOOL CSettingsDlg::InitDialog(HWND focus, LPARAM initParam) {
    // Once the key holds what the hardware probes would decide, the load
    // replaces their results: they are skipped. The others run beside the
    // dialog's own start, each awaited at the step that uses it.
    StartProbes probes(Display(), !StoredSettingsReplaceHardwareDefaults());
    CSettingsDlgBase::InitDialog(focus, initParam);
    FetchOptionControls();
    probes.WaitForInventory();
    LoadSettingsOver(probes.WaitForHardwareDefaults());
    Display().ValidateMonitorChoice();
    startSampleCounts_ = probes.WaitForSampleCounts();
    FillControls(DisplayConfiguration::DesktopMode::FromInventory);
    ShowCaptionAndIcon();
    return TRUE;
}

void CSettingsDlg::LoadSettingsOver(const HardwareDefaults& tiers) {
    WriteDefaultSettings(settings, tiers);
    LoadStoredSettings();
}

void CSettingsDlg::FetchOptionControls() {
    enableMusic_ = GetDlgItem(IDC_ENABLE_MUSIC);
    musicVolume_ = GetDlgItem(IDC_MUSIC_VOLUME);
    musicVolumeLabel_ = GetDlgItem(IDC_MUSIC_VOLUME_LABEL);
    enableSounds_ = GetDlgItem(IDC_ENABLE_SOUNDS);
    soundsVolume_ = GetDlgItem(IDC_SOUNDS_VOLUME);
    soundsVolumeLabel_ = GetDlgItem(IDC_SOUNDS_VOLUME_LABEL);
    exitOnMouseMove_ = GetDlgItem(IDC_EXIT_ON_MOUSE_MOVE);
    highQualityGraphics_ = GetDlgItem(IDC_HIGH_QUALITY_GRAPHICS);
    highQualityTextures_ = GetDlgItem(IDC_HIGH_QUALITY_TEXTURES);
    antialiasing_ = GetDlgItem(IDC_ANTIALIASING);
    antialiasingQuality_ = GetDlgItem(IDC_ANTIALIASING_QUALITY);
    antialiasingQualityLabel_ = GetDlgItem(IDC_ANTIALIASING_QUALITY_LABEL);
    playMyMusic_ = GetDlgItem(IDC_PLAY_MY_MUSIC);
    editPlaylist_ = GetDlgItem(IDC_EDIT_PLAYLIST);
    runAtStartup_ = GetDlgItem(IDC_RUN_AT_STARTUP);
}

void CSettingsDlg::ShowCaptionAndIcon() {
    std::wstring caption = FillFormat(Translate(L"%s %s Configuration"), {product::kName, kVersion});
    if (caption.size() > kMaxCaption) caption.resize(kMaxCaption);
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    ShowWindow(SW_SHOWNORMAL);
    bigIcon_ = ::LoadIconW(framework::Module().GetResourceInstance(), MAKEINTRESOURCEW(IDI_APP_ICON));
    SetIcon(bigIcon_, TRUE);
}

void CSettingsDlg::SetDefaults() { WriteDefaultSettings(settings, Display().ProbeHardwareDefaults()); }

void CSettingsDlg::RevertControls() {
    FillControls();
    NotifyAllChanges();
}

void CSettingsDlg::NotifyWallpaper(WallpaperChange code, std::int32_t value) {
    PostWallpaperChange(wallpaperWindow, wallpaperMessage, code, value);
}

LRESULT CSettingsDlg::OnRestoreDefaults(WORD, WORD, HWND, BOOL&) {
    SetDefaults();
    FillControls();
    NotifyAllChanges();
    return 0;
}

LRESULT CSettingsDlg::OnEditPlaylist(WORD, WORD, HWND, BOOL&) {
    EditPlaylist();
    return 0;
}

void CSettingsDlg::EditPlaylist() {
    // Whatever the playlist dialog changed is stored (the playlist) or in the
    // tree (Shuffle) when it returns: its result says nothing.
    CPlaylistDlg playlist(product::kName, settings);
    playlist.DoModal(::GetActiveWindow());
}

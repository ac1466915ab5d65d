#include "ui/settings_dlg.h"

#include "config/product.h"
#include "config/settings_schema.h"
#include "i18n/translate.h"
#include "playlist/playlist_dlg.h"
#include "res/resource_ids.h"

#include "i18n/fill_format.h"

namespace {

constexpr wchar_t kVersion[] = L"1.0";
// The caption's buffer holds 1024 characters with the terminator.
constexpr size_t kMaxCaption = 1023;

}  // namespace

CSettingsDlg::~CSettingsDlg() = default;

BOOL CSettingsDlg::InitDialog(HWND focus, LPARAM initParam) {
    StartHardwareProbes();
    CSettingsDlgBase::InitDialog(focus, initParam);
    FetchOptionControls();
    saveRights_.Check(m_hWnd);
    LoadAndFillControls();
    ShowCaptionAndIcon();
    // The answers come as messages, once the dialog shows.
    return TRUE;
}

void CSettingsDlg::LoadAndFillControls() {
    WriteDefaultSettings(settings, std::nullopt);
    LoadStoredSettings();
    FillControls();
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

// The tiers as the hardware answered them; without an answer the tiered
// settings keep what they hold.
void CSettingsDlg::SetDefaults() { WriteDefaultSettings(settings, tiers_); }

void CSettingsDlg::RevertControls() {
    FillControls();
    NotifyAllChanges();
}

void CSettingsDlg::NotifyWallpaper(WallpaperChange code, std::int32_t value) {
    PostWallpaperChange(wallpaperWindow, wallpaperMessage, code, value);
}

LRESULT CSettingsDlg::OnRestoreDefaults(WORD, WORD, HWND, BOOL&) {
    if (TimeCommand(IDC_RESTORE_DEFAULTS) != CommandTiming::ActNow) return 0;
    SetDefaults();
    FillControls();
    NotifyAllChanges();
    return 0;
}

LRESULT CSettingsDlg::OnEditPlaylist(WORD, WORD, HWND, BOOL&) {
    // Not while a way out waits to end the dialog.
    if (waitingCommand_) return 0;
    EditPlaylist();
    return 0;
}

void CSettingsDlg::EditPlaylist() {
    // Whatever the playlist dialog changed is stored (the playlist) or in the
    // tree (Shuffle) when it returns: its result says nothing.
    CPlaylistDlg playlist(product::kName, settings);
    playlist.DoModal(::GetActiveWindow());
    // Its OK may have asked for the rights to save, which this OK then has.
    saveRights_.Check(m_hWnd);
}

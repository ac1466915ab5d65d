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
    FillWithoutHardware();
    ShowCaptionAndIcon();
    // The answers come as messages, once the dialog shows.
    return TRUE;
}

void CSettingsDlg::StartHardwareProbes() {
    // Once the key holds what the video-memory and clock probes would decide,
    // the load replaces their results: they are skipped.
    probes_ = std::make_unique<StartProbes>(DeviceChecks(), !StoredSettingsReplaceHardwareDefaults(), m_hWnd,
                                            kProbeAnswered);
    inventoryPending_ = true;
    tiersPending_ = probes_->ProbesHardware();
    sampleCountsPending_ = true;
}

void CSettingsDlg::FillWithoutHardware() {
    // The tiers of hardware that tells nothing stand in until the probed ones
    // come; the controls they decide wait for them.
    LoadSettingsOver(ComputeHardwareDefaults(0, 0, 0));
    FillOptionControls();
    if (!tiersPending_) FillTieredControls();
    ShowHardwarePending();
}

void CSettingsDlg::TakeAnswers(bool wait) {
    if (!probes_) return;
    if (wait) probes_->AwaitAll();
    if (inventoryPending_ && probes_->InventoryAnswered()) {
        inventoryPending_ = false;
        Display().AdoptInventory(probes_->Inventory());
        Display().ValidateMonitorChoice();
        ::EnableWindow(desktopResolution_, TRUE);
        FillMonitorControls();
        // The inventory has just read the desktop modes.
        FillResolutionControls(DisplayConfiguration::DesktopMode::FromInventory);
    }
    if (tiersPending_ && probes_->HardwareDefaultsAnswered()) {
        tiersPending_ = false;
        // Nothing has written into the tree since the first load (whatever
        // would, waits for the answers first): loading again over the probed
        // tiers gives the tree the start has always given.
        LoadSettingsOver(probes_->ProbedHardwareDefaults());
        if (!inventoryPending_) Display().ValidateMonitorChoice();
        FillTieredControls();
        for (HWND box : {highQualityTextures_, highQualityGraphics_, antialiasing_}) ::EnableWindow(box, TRUE);
    }
    // The list selects the count the tree holds, final once the tiers are.
    if (sampleCountsPending_ && !tiersPending_ && probes_->SampleCountsAnswered()) {
        sampleCountsPending_ = false;
        FillAntialiasingList(probes_->SampleCounts());
    }
    if (!inventoryPending_ && !tiersPending_ && !sampleCountsPending_) probes_.reset();
}

void CSettingsDlg::AwaitHardwareAnswers() { TakeAnswers(true); }

LRESULT CSettingsDlg::OnProbeAnswered(UINT, WPARAM, LPARAM, BOOL&) {
    TakeAnswers(false);
    return 0;
}

LRESULT CSettingsDlg::OnDialogDestroyed(UINT, WPARAM, LPARAM, BOOL& handled) {
    // Ended before every answer came (not by the user, who waits for them):
    // the probes still out are waited for a short while at most.
    probes_.reset();
    handled = FALSE;
    return 0;
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
    AwaitHardwareAnswers();
    SetDefaults();
    FillControls();
    NotifyAllChanges();
    return 0;
}

LRESULT CSettingsDlg::OnEditPlaylist(WORD, WORD, HWND, BOOL&) {
    // The playlist dialog's Shuffle writes into the tree, which the probed
    // tiers may still have to be loaded into.
    AwaitHardwareAnswers();
    EditPlaylist();
    return 0;
}

void CSettingsDlg::EditPlaylist() {
    // Whatever the playlist dialog changed is stored (the playlist) or in the
    // tree (Shuffle) when it returns: its result says nothing.
    CPlaylistDlg playlist(product::kName, settings);
    playlist.DoModal(::GetActiveWindow());
}

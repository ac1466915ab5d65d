// The product's option controls: what each shows of the tree, how they are
// read back on OK, which ones enable which, and the changes a running
// wallpaper previews at once.
#include "ui/settings_dlg.h"

#include "config/settings_schema.h"
#include "framework/controls.h"
#include "framework/decimal_text.h"
#include "i18n/fill_format.h"
#include "i18n/string_table.h"
#include "i18n/translate.h"
#include "wallpaper/run_at_startup.h"

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

using framework::CheckState;
using framework::Enable;
using framework::IsChecked;
using framework::SetChecked;

namespace {

constexpr LPARAM kVolumeRange = MAKELPARAM(0, 100);
// The label buffers hold 2048 characters with the terminator.
constexpr size_t kMaxLabel = 2047;

std::int32_t SliderPosition(HWND slider) { return static_cast<std::int32_t>(::SendMessageW(slider, TBM_GETPOS, 0, 0)); }

void SetVolumeLabel(HWND label, const std::wstring& format, std::int32_t volume) {
    std::wstring text = FillFormat(format, {framework::DecimalText(volume)});
    if (text.size() > kMaxLabel) text.resize(kMaxLabel);
    ::SetWindowTextW(label, text.c_str());
}

constexpr wchar_t kMusicLabel[] = L"Music volume: %.01i%%";
// The English wording of the sound label, which the string table lacks: it
// carries the label's translations under a row of its own whose English
// reads differently.
constexpr wchar_t kSoundsLabel[] = L"Sound volume: %.01i%%";
constexpr wchar_t kSoundsRow[] = L"Sounds volume: %.01i%%";

std::wstring MusicLabelFormat() { return Translate(kMusicLabel); }

// The row's translation in the user's language; in English, in a language
// the table lacks (English stays current then) or where the row has no text,
// the English wording.
std::wstring SoundsLabelFormat() {
    const StringTable* table = StringTable::Current();
    std::wstring format;
    if (table && table->CurrentLanguageTag() != L"en" && table->Lookup(kSoundsRow, format) && !format.empty()) {
        return format;
    }
    return kSoundsLabel;
}

// Sets the slider's range and position; the position it then holds, which
// the range may have clamped.
std::int32_t ShowVolume(HWND slider, std::int32_t volume) {
    ::SendMessageW(slider, TBM_SETRANGE, TRUE, kVolumeRange);
    ::SendMessageW(slider, TBM_SETPOS, TRUE, volume);
    // Without a slider there is nothing to clamp: the label shows the stored value.
    return slider ? SliderPosition(slider) : volume;
}

}  // namespace

void CSettingsDlg::FillControls() {
    FillOptionControls();
    FillTieredControls();
    FillAntialiasingList();
    FillMonitorGroup(DisplayConfiguration::DesktopMode::AskedAfresh);
}

void CSettingsDlg::FillOptionControls() {
    SetChecked(exitOnMouseMove_, settings.Get(setting::kDisableOnMouseActivate).AsInt() == 0);
    SetChecked(runAtStartup_, IsRunAtStartupSet());

    const bool music = settings.Get(setting::kDisableMusic).AsInt() == 0;
    const bool playlist = settings.Get(setting::kUsePlaylist).AsInt() != 0;
    SetChecked(enableMusic_, music);
    SetChecked(playMyMusic_, playlist);
    // The label shows what the slider holds, so that a stored 150 does not
    // read 150% beside a slider at 100 that OK would store.
    SetVolumeLabel(musicVolumeLabel_, MusicLabelFormat(),
                   ShowVolume(musicVolume_, settings.Get(setting::kMusicVolumePercentage).AsInt()));
    Enable(editPlaylist_, music && playlist);
    Enable(musicVolume_, music);
    Enable(musicVolumeLabel_, music);
    Enable(playMyMusic_, music);

    const bool sounds = settings.Get(setting::kDisableSound).AsInt() == 0;
    SetChecked(enableSounds_, sounds);
    SetVolumeLabel(soundsVolumeLabel_, SoundsLabelFormat(),
                   ShowVolume(soundsVolume_, settings.Get(setting::kSoundsVolumePercentage).AsInt()));
    Enable(soundsVolume_, sounds);
    Enable(soundsVolumeLabel_, sounds);
}

void CSettingsDlg::FillTieredControls() {
    for (const Tiered& tiered : kTiered) {
        if (!tiered.box) continue;
        const HWND box = this->*tiered.box;
        SetChecked(box, settings.Get(tiered.name).AsInt() != 0);
        Enable(box, Known(tiered.name));
    }
}

void CSettingsDlg::FillAntialiasingList() {
    ::SendMessageW(antialiasingQuality_, CB_RESETCONTENT, 0, 0);
    const std::int32_t stored = settings.Get(setting::kAntialiasing).AsInt();
    antialiasingShown_ = sampleCounts_ && Known(setting::kAntialiasing);
    SetChecked(antialiasing_, stored != 0);
    Enable(antialiasing_, antialiasingShown_);
    if (antialiasingShown_) {
        const AntialiasingList list = Display().AntialiasingChoices(*sampleCounts_);
        for (const AntialiasingEntry& entry : list.entries) {
            framework::AddComboItem(antialiasingQuality_, entry.text, entry.sampleCount);
        }
        if (list.selected >= 0) {
            ::SendMessageW(antialiasingQuality_, CB_SETCURSEL, static_cast<WPARAM>(list.selected), 0);
        }
    }
    const bool antialiasing = antialiasingShown_ && stored != 0;
    Enable(antialiasingQualityLabel_, antialiasing);
    Enable(antialiasingQuality_, antialiasing);
}

void CSettingsDlg::FillMonitorGroup(DisplayConfiguration::DesktopMode desktop) {
    FillMonitorControls();
    // Direct3D is asked for the desktop mode only once it has answered: before
    // that, asking again on the dialog's thread could hang it.
    FillResolutionControls(inventoryTaken_ ? desktop : DisplayConfiguration::DesktopMode::FromInventory);
    if (inventoryTaken_) return;
    for (HWND control : {resolutionList_, desktopResolution_}) Enable(control, false);
}

std::int32_t CSettingsDlg::ShownAntialiasing() {
    return antialiasingShown_ ? ChosenAntialiasing() : settings.Get(setting::kAntialiasing).AsInt();
}

std::int32_t CSettingsDlg::ChosenAntialiasing() const {
    if (!IsChecked(antialiasing_)) return 0;
    const LRESULT count = framework::SelectedItemData(antialiasingQuality_);
    // Checked with an empty list (no multisampling offered): off, rather than
    // the list's error value.
    return count == CB_ERR ? 0 : static_cast<std::int32_t>(count);
}

void CSettingsDlg::ReadControls() {
    const auto store = [this](const char* name, std::int32_t value) { settings.Get(name) = ConfigValue(value); };
    // A value that waits for the hardware stays as the tree holds it, or absent.
    if (Known(setting::kHighQualityGraphics)) store(setting::kHighQualityGraphics, CheckState(highQualityGraphics_));
    if (Known(setting::kHighQualityTextures)) store(setting::kHighQualityTextures, CheckState(highQualityTextures_));
    if (antialiasingShown_) store(setting::kAntialiasing, ChosenAntialiasing());
    store(setting::kUsePlaylist, CheckState(playMyMusic_));
    store(setting::kMusicVolumePercentage, SliderPosition(musicVolume_));
    store(setting::kDisableOnMouseActivate, IsChecked(exitOnMouseMove_) ? 0 : 1);
    store(setting::kDisableMusic, IsChecked(enableMusic_) ? 0 : 1);
    store(setting::kSoundsVolumePercentage, SliderPosition(soundsVolume_));
    store(setting::kDisableSound, IsChecked(enableSounds_) ? 0 : 1);
    // Not reported: the settings are saved whether or not the Run entry is.
    StoreRunAtStartup(IsChecked(runAtStartup_));
}

void CSettingsDlg::NotifyAllChanges() {
    if (Known(setting::kAntialiasing)) NotifyWallpaper(WallpaperChange::Antialiasing, ShownAntialiasing());
    NotifyWallpaper(WallpaperChange::MusicVolume, SliderPosition(musicVolume_));
    NotifyWallpaper(WallpaperChange::MusicEnabled, CheckState(enableMusic_));
    NotifyWallpaper(WallpaperChange::SoundsVolume, SliderPosition(soundsVolume_));
    NotifyWallpaper(WallpaperChange::SoundsEnabled, CheckState(enableSounds_));
    if (Known(setting::kHighQualityGraphics)) {
        NotifyWallpaper(WallpaperChange::HighQualityGraphics, CheckState(highQualityGraphics_));
    }
    if (Known(setting::kHighQualityTextures)) {
        NotifyWallpaper(WallpaperChange::HighQualityTextures, CheckState(highQualityTextures_));
    }
}

LRESULT CSettingsDlg::OnSliderMoved(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const HWND slider = reinterpret_cast<HWND>(lParam);
    if (!slider) return 0;
    if (slider == musicVolume_) {
        const std::int32_t position = SliderPosition(musicVolume_);
        SetVolumeLabel(musicVolumeLabel_, MusicLabelFormat(), position);
        NotifyWallpaper(WallpaperChange::MusicVolume, position);
    } else if (slider == soundsVolume_) {
        const std::int32_t position = SliderPosition(soundsVolume_);
        SetVolumeLabel(soundsVolumeLabel_, SoundsLabelFormat(), position);
        NotifyWallpaper(WallpaperChange::SoundsVolume, position);
    }
    return 0;
}

LRESULT CSettingsDlg::OnMusicSwitched(WORD, WORD, HWND, BOOL&) {
    const bool music = IsChecked(enableMusic_);
    Enable(musicVolume_, music);
    Enable(musicVolumeLabel_, music);
    Enable(playMyMusic_, music);
    Enable(editPlaylist_, music && IsChecked(playMyMusic_));
    NotifyWallpaper(WallpaperChange::MusicEnabled, music ? 1 : 0);
    return 0;
}

LRESULT CSettingsDlg::OnSoundsSwitched(WORD, WORD, HWND, BOOL&) {
    const bool sounds = IsChecked(enableSounds_);
    Enable(soundsVolume_, sounds);
    Enable(soundsVolumeLabel_, sounds);
    NotifyWallpaper(WallpaperChange::SoundsEnabled, sounds ? 1 : 0);
    return 0;
}

LRESULT CSettingsDlg::OnAntialiasingSwitched(WORD, WORD, HWND, BOOL&) {
    // The box is enabled only with its list: the wallpaper is told the count chosen there.
    const bool antialiasing = IsChecked(antialiasing_);
    Enable(antialiasingQuality_, antialiasing);
    Enable(antialiasingQualityLabel_, antialiasing);
    NotifyWallpaper(WallpaperChange::Antialiasing, ChosenAntialiasing());
    return 0;
}

LRESULT CSettingsDlg::OnPlayMyMusicClicked(WORD, WORD, HWND, BOOL&) {
    Enable(editPlaylist_, IsChecked(playMyMusic_));
    return 0;
}

// Read on OK only.
LRESULT CSettingsDlg::OnRunAtStartupClicked(WORD, WORD, HWND, BOOL&) { return 0; }

LRESULT CSettingsDlg::OnHighQualityGraphicsClicked(WORD, WORD, HWND, BOOL&) {
    NotifyWallpaper(WallpaperChange::HighQualityGraphics, CheckState(highQualityGraphics_));
    return 0;
}

LRESULT CSettingsDlg::OnHighQualityTexturesClicked(WORD, WORD, HWND, BOOL&) {
    NotifyWallpaper(WallpaperChange::HighQualityTextures, CheckState(highQualityTextures_));
    return 0;
}

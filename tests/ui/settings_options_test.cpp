// The product's option controls in the settings dialog: which controls each
// box enables, the volume sliders and their labels, the antialiasing list, the
// high-quality settings and the Run-at-start-up box, shown from the stored
// settings and stored again by OK.
#include "ui/settings_dlg.h"

#include "tests/support/case_name.h"
#include "tests/support/scratch_key.h"
#include "tests/support/stub_wallpaper.h"
#include "tests/ui/dialog_driver.h"
#include "tests/support/product_key.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using test_support::StoredTypedText;
using test_support::StoreTypedText;
using test_support::StubWallpaper;
using Dialog = test_support::Driven<CSettingsDlg>;
using Posts = std::vector<test_support::WallpaperPost>;
using Stored = std::vector<std::pair<const wchar_t*, const wchar_t*>>;

void Store(const Stored& values) {
    for (const auto& [name, text] : values) StoreTypedText(name, text);
}

class OptionControlsTest : public test_support::OptionsTest {};

struct EnablingCase {
    const char* name;
    Stored stored;
    void (*act)(Dialog&);
    std::vector<int> enabled;
    std::vector<int> disabled;
};

class EnablingTest : public OptionControlsTest, public ::testing::WithParamInterface<EnablingCase> {};

TEST_P(EnablingTest, ControlsFollowTheirBoxes) {
    const EnablingCase& c = GetParam();
    Store(c.stored);
    std::vector<int> enabled, disabled;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        if (c.act) c.act(d);
        for (int id : {IDC_MUSIC_VOLUME, IDC_MUSIC_VOLUME_LABEL, IDC_PLAY_MY_MUSIC, IDC_EDIT_PLAYLIST,
                       IDC_SOUNDS_VOLUME, IDC_SOUNDS_VOLUME_LABEL, IDC_ANTIALIASING_QUALITY,
                       IDC_ANTIALIASING_QUALITY_LABEL}) {
            (d.Enabled(id) ? enabled : disabled).push_back(id);
        }
    });
    EXPECT_EQ(enabled, c.enabled);
    EXPECT_EQ(disabled, c.disabled);
}

constexpr int kMusic = IDC_MUSIC_VOLUME, kMusicLabel = IDC_MUSIC_VOLUME_LABEL, kPlay = IDC_PLAY_MY_MUSIC,
              kEdit = IDC_EDIT_PLAYLIST, kSounds = IDC_SOUNDS_VOLUME, kSoundsLabel = IDC_SOUNDS_VOLUME_LABEL,
              kQuality = IDC_ANTIALIASING_QUALITY, kQualityLabel = IDC_ANTIALIASING_QUALITY_LABEL;

void ClickTwice(Dialog& d, int id) {
    d.Click(id);
    d.Click(id);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, EnablingTest,
    ::testing::Values(
        // The defaults: music on, no playlist, antialiasing off with the test probes.
        EnablingCase{"Defaults", {}, nullptr, {kMusic, kMusicLabel, kPlay, kSounds, kSoundsLabel},
                     {kEdit, kQuality, kQualityLabel}},
        EnablingCase{"PlayMyMusicChecked", {}, [](Dialog& d) { d.Click(IDC_PLAY_MY_MUSIC); },
                     {kMusic, kMusicLabel, kPlay, kEdit, kSounds, kSoundsLabel}, {kQuality, kQualityLabel}},
        EnablingCase{"MusicUnchecked", {{L"UsePlaylist", L"2: 1"}}, [](Dialog& d) { d.Click(IDC_ENABLE_MUSIC); },
                     {kSounds, kSoundsLabel}, {kMusic, kMusicLabel, kPlay, kEdit, kQuality, kQualityLabel}},
        EnablingCase{"MusicRecheckedWithPlaylist", {{L"UsePlaylist", L"2: 1"}},
                     [](Dialog& d) { ClickTwice(d, IDC_ENABLE_MUSIC); },
                     {kMusic, kMusicLabel, kPlay, kEdit, kSounds, kSoundsLabel}, {kQuality, kQualityLabel}},
        EnablingCase{"MusicRecheckedWithoutPlaylist", {}, [](Dialog& d) { ClickTwice(d, IDC_ENABLE_MUSIC); },
                     {kMusic, kMusicLabel, kPlay, kSounds, kSoundsLabel}, {kEdit, kQuality, kQualityLabel}},
        EnablingCase{"StoredMusicOff", {{L"DisableMusic", L"2: 1"}, {L"UsePlaylist", L"2: 1"}}, nullptr,
                     {kSounds, kSoundsLabel}, {kMusic, kMusicLabel, kPlay, kEdit, kQuality, kQualityLabel}},
        EnablingCase{"SoundsUnchecked", {}, [](Dialog& d) { d.Click(IDC_ENABLE_SOUNDS); },
                     {kMusic, kMusicLabel, kPlay}, {kEdit, kSounds, kSoundsLabel, kQuality, kQualityLabel}},
        EnablingCase{"StoredSoundsOff", {{L"DisableSound", L"2: 1"}}, nullptr, {kMusic, kMusicLabel, kPlay},
                     {kEdit, kSounds, kSoundsLabel, kQuality, kQualityLabel}},
        EnablingCase{"AntialiasingChecked", {}, [](Dialog& d) { d.Click(IDC_ANTIALIASING); },
                     {kMusic, kMusicLabel, kPlay, kSounds, kSoundsLabel, kQuality, kQualityLabel}, {kEdit}},
        EnablingCase{"StoredAntialiasing", {{L"Antialiasing", L"2: 4"}}, nullptr,
                     {kMusic, kMusicLabel, kPlay, kSounds, kSoundsLabel, kQuality, kQualityLabel}, {kEdit}}),
    test_support::CaseName<EnablingCase>);

// Disabled controls keep their values and are still stored.
TEST_F(OptionControlsTest, DisabledControlsAreStillStored) {
    Store({{L"MusicVolumePercentage", L"2: 40"}, {L"UsePlaylist", L"2: 1"}, {L"SoundsVolumePercentage", L"2: 60"}});
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [](Dialog& d) {
        d.Click(IDC_ENABLE_MUSIC);
        d.Click(IDC_ENABLE_SOUNDS);
        d.Click(IDOK);
    });
    EXPECT_EQ(StoredTypedText(L"DisableMusic"), L"2: 1");
    EXPECT_EQ(StoredTypedText(L"MusicVolumePercentage"), L"2: 40");
    EXPECT_EQ(StoredTypedText(L"UsePlaylist"), L"2: 1");
    EXPECT_EQ(StoredTypedText(L"DisableSound"), L"2: 1");
    EXPECT_EQ(StoredTypedText(L"SoundsVolumePercentage"), L"2: 60");
}

struct VolumeCase {
    const char* name;
    const wchar_t* language;
    const wchar_t* music;  // stored typed text
    const wchar_t* sounds;
    int musicPosition;
    const wchar_t* musicLabel;
    int soundsPosition;
    const wchar_t* soundsLabel;
};

class VolumeTest : public OptionControlsTest, public ::testing::WithParamInterface<VolumeCase> {};

TEST_P(VolumeTest, SliderLabelAndWhatOKStores) {
    const VolumeCase& c = GetParam();
    Store({{L"Language", c.language}, {L"MusicVolumePercentage", c.music}, {L"SoundsVolumePercentage", c.sounds}});
    int musicPosition = -1, soundsPosition = -1;
    std::wstring musicLabel, soundsLabel;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        musicPosition = static_cast<int>(::SendMessageW(d.GetDlgItem(IDC_MUSIC_VOLUME), TBM_GETPOS, 0, 0));
        soundsPosition = static_cast<int>(::SendMessageW(d.GetDlgItem(IDC_SOUNDS_VOLUME), TBM_GETPOS, 0, 0));
        musicLabel = d.Text(IDC_MUSIC_VOLUME_LABEL);
        soundsLabel = d.Text(IDC_SOUNDS_VOLUME_LABEL);
        d.Click(IDOK);
    });
    EXPECT_EQ(musicPosition, c.musicPosition);
    EXPECT_EQ(musicLabel, c.musicLabel);
    EXPECT_EQ(soundsPosition, c.soundsPosition);
    EXPECT_EQ(soundsLabel, c.soundsLabel);
    EXPECT_EQ(StoredTypedText(L"MusicVolumePercentage"), L"2: " + std::to_wstring(c.musicPosition));
    EXPECT_EQ(StoredTypedText(L"SoundsVolumePercentage"), L"2: " + std::to_wstring(c.soundsPosition));
}

INSTANTIATE_TEST_SUITE_P(
    Volumes, VolumeTest,
    ::testing::Values(
        VolumeCase{"InRange", L"3: en", L"2: 40", L"2: 70", 40, L"Music volume: 40%", 70, L"Sound volume: 70%"},
        VolumeCase{"Ends", L"3: en", L"2: 0", L"2: 100", 0, L"Music volume: 0%", 100, L"Sound volume: 100%"},
        // The label shows what the slider holds, which is what OK stores.
        VolumeCase{"AboveTheRange", L"3: en", L"2: 150", L"2: 2147483647", 100, L"Music volume: 100%", 100,
                   L"Sound volume: 100%"},
        VolumeCase{"BelowTheRange", L"3: en", L"2: -5", L"2: -2147483648", 0, L"Music volume: 0%", 0,
                   L"Sound volume: 0%"},
        VolumeCase{"German", L"3: de", L"2: 40", L"2: 70", 40, L"Musik-Lautstärke: 40%", 70,
                   L"Sound-Lautstärke: 70%"},
        VolumeCase{"French", L"3: fr", L"2: 40", L"2: 70", 40, L"Volume de la musique: 40%", 70,
                   L"Volume des sons: 70%"},
        VolumeCase{"Russian", L"3: ru", L"2: 40", L"2: 70", 40, L"Уровень музыки: 40%", 70,
                   L"Уровень звуков: 70%"}),
    test_support::CaseName<VolumeCase>);

struct SoundLabelCase {
    const char* name;
    const wchar_t* language;  // stored typed text; null: none recorded
    const wchar_t* prefix;    // the label before the number
};

class SoundLabelTest : public OptionControlsTest, public ::testing::WithParamInterface<SoundLabelCase> {};

// The label as the controls are filled, after the slider moves one step and
// after Restore Defaults, which puts the volume back to 100.
TEST_P(SoundLabelTest, ReadsInTheUsersLanguageAtEveryUpdate) {
    const SoundLabelCase& c = GetParam();
    if (c.language) StoreTypedText(L"Language", c.language);
    StoreTypedText(L"SoundsVolumePercentage", L"2: 70");
    std::vector<std::wstring> labels;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        labels.push_back(d.Text(IDC_SOUNDS_VOLUME_LABEL));
        d.Key(IDC_SOUNDS_VOLUME, VK_RIGHT);
        labels.push_back(d.Text(IDC_SOUNDS_VOLUME_LABEL));
        d.Click(IDC_RESTORE_DEFAULTS);
        labels.push_back(d.Text(IDC_SOUNDS_VOLUME_LABEL));
        d.Click(IDCANCEL);
    });
    const std::wstring prefix = c.prefix;
    EXPECT_EQ(labels, (std::vector<std::wstring>{prefix + L"70%", prefix + L"71%", prefix + L"100%"}));
}

INSTANTIATE_TEST_SUITE_P(Languages, SoundLabelTest,
                         ::testing::Values(SoundLabelCase{"English", L"3: en", L"Sound volume: "},
                                           SoundLabelCase{"German", L"3: de", L"Sound-Lautstärke: "},
                                           SoundLabelCase{"French", L"3: fr", L"Volume des sons: "},
                                           SoundLabelCase{"Russian", L"3: ru", L"Уровень звуков: "},
                                           SoundLabelCase{"LanguageTheTableLacks", L"3: es", L"Sound volume: "},
                                           SoundLabelCase{"NoLanguageRecorded", nullptr, L"Sound volume: "}),
                         test_support::CaseName<SoundLabelCase>);

TEST_F(OptionControlsTest, DraggingTheMusicSliderUpdatesTheLabelAndPostsEveryStepThenCancelPostsTheStoredValue) {
    Store({{L"MusicVolumePercentage", L"2: 15"}, {L"Antialiasing", L"2: 0"}});
    StubWallpaper wallpaper;
    ASSERT_TRUE(wallpaper.Window());
    std::vector<std::wstring> labels;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        const HWND slider = d.GetDlgItem(IDC_MUSIC_VOLUME);
        // What the trackbar tells its dialog while the thumb is dragged.
        const auto scroll = [&](WORD code, int position) {
            d.SendMessage(WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(slider));
        };
        for (int position = 16; position <= 40; ++position) {
            ::SendMessageW(slider, TBM_SETPOS, TRUE, position);
            scroll(TB_THUMBTRACK, position);
            labels.push_back(d.Text(IDC_MUSIC_VOLUME_LABEL));
        }
        scroll(TB_THUMBPOSITION, 40);
        scroll(TB_ENDTRACK, 0);
        d.Click(IDCANCEL);
    });
    wallpaper.Close();

    std::vector<std::wstring> expectedLabels;
    Posts expectedPosts;
    for (int position = 16; position <= 40; ++position) {
        expectedLabels.push_back(L"Music volume: " + std::to_wstring(position) + L"%");
        expectedPosts.push_back({1, position});
    }
    expectedPosts.insert(expectedPosts.end(), {{1, 40}, {1, 40}});
    expectedPosts.insert(expectedPosts.end(), {{6, 0}, {1, 15}, {2, 1}, {3, 100}, {4, 1}, {0, 0}, {5, 0}});
    EXPECT_EQ(labels, expectedLabels);
    EXPECT_EQ(wallpaper.Received(), expectedPosts);
}

// The sample counts the antialiasing probe reports in a test.
std::vector<std::int32_t> g_sampleCounts;
std::vector<std::int32_t> ChosenSampleCounts() { return g_sampleCounts; }

struct AntialiasingCase {
    const char* name;
    std::vector<std::int32_t> supported;
    const wchar_t* stored;
    bool checked;
    std::vector<std::wstring> entries;
    int selected;
    Posts clickedTwice;  // what clicking the box off and on again (or on and off) posts
    const wchar_t* okStores;
};

class AntialiasingTest : public OptionControlsTest, public ::testing::WithParamInterface<AntialiasingCase> {};

TEST_P(AntialiasingTest, BoxListPostsAndWhatOKStores) {
    const AntialiasingCase& c = GetParam();
    g_sampleCounts = c.supported;
    display_seam::Api probes = test_support::QuickProbes();
    probes.probeSampleCounts = &ChosenSampleCounts;
    display_seam::ScopedApi seam(probes);
    StoreTypedText(L"Antialiasing", c.stored);
    StubWallpaper wallpaper;
    ASSERT_TRUE(wallpaper.Window());
    bool checked = !c.checked;
    std::vector<std::wstring> entries;
    int selected = -2;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        checked = d.Checked(IDC_ANTIALIASING);
        entries = d.Entries(IDC_ANTIALIASING_QUALITY);
        selected = d.Selected(IDC_ANTIALIASING_QUALITY);
        ClickTwice(d, IDC_ANTIALIASING);
        d.Click(IDOK);
    });
    wallpaper.Close();
    EXPECT_EQ(checked, c.checked);
    EXPECT_EQ(entries, c.entries);
    EXPECT_EQ(selected, c.selected);
    EXPECT_EQ(wallpaper.Received(), c.clickedTwice);
    EXPECT_EQ(StoredTypedText(L"Antialiasing"), c.okStores);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, AntialiasingTest,
    ::testing::Values(
        AntialiasingCase{"StoredCountListed", {2, 4, 8}, L"2: 4", true, {L"2x", L"4x", L"8x"}, 1, {{6, 0}, {6, 4}},
                         L"2: 4"},
        // 1 means on without a count: the top entry is shown and stored.
        AntialiasingCase{"OnWithoutCount", {2, 4, 8}, L"2: 1", true, {L"2x", L"4x", L"8x"}, 0, {{6, 0}, {6, 2}},
                         L"2: 2"},
        AntialiasingCase{"StoredCountNotListed", {2, 4}, L"2: 8", true, {L"2x", L"4x"}, 0, {{6, 0}, {6, 2}},
                         L"2: 2"},
        // The list sorts by text: 16x stands above 2x.
        AntialiasingCase{"SortedByText", {2, 4, 8, 16}, L"2: 8", true, {L"16x", L"2x", L"4x", L"8x"}, 3,
                         {{6, 0}, {6, 8}}, L"2: 8"},
        AntialiasingCase{"SixteenAtTheTop", {2, 4, 8, 16}, L"2: 16", true, {L"16x", L"2x", L"4x", L"8x"}, 0,
                         {{6, 0}, {6, 16}}, L"2: 16"},
        AntialiasingCase{"Off", {2, 4, 8}, L"2: 0", false, {L"2x", L"4x", L"8x"}, 0, {{6, 2}, {6, 0}}, L"2: 0"},
        // Checked with nothing to choose: off, not the list's error value.
        AntialiasingCase{"NoMultisampling", {}, L"2: 4", true, {}, -1, {{6, 0}, {6, 0}}, L"2: 0"}),
    test_support::CaseName<AntialiasingCase>);

TEST_F(OptionControlsTest, OKStoresNoHighQualityWithTheProgramsTemplate) {
    Store({{L"HighQualityGraphics", L"2: 1"}, {L"HighQualityTextures", L"2: 1"}});
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [](Dialog& d) {
        EXPECT_EQ(d.GetDlgItem(IDC_HIGH_QUALITY_GRAPHICS), nullptr);
        EXPECT_EQ(d.GetDlgItem(IDC_HIGH_QUALITY_TEXTURES), nullptr);
        d.Click(IDOK);
    });
    EXPECT_EQ(StoredTypedText(L"HighQualityGraphics"), L"2: 0");
    EXPECT_EQ(StoredTypedText(L"HighQualityTextures"), L"2: 0");
}

const wchar_t kFolder[] = L"C:\\Games\\Marrowdale";
const wchar_t kCommand[] = L"\"C:\\Games\\Marrowdale\\Marrowdale 3D Screensaver.exe\" /w";

struct RunAtStartupCase {
    const char* name;
    const wchar_t* appPath;   // null: missing
    const wchar_t* runValue;  // null: missing
    bool shownChecked;
    bool click;
    const wchar_t* okWrites;
};

class RunAtStartupTest : public OptionControlsTest, public ::testing::WithParamInterface<RunAtStartupCase> {};

TEST_P(RunAtStartupTest, ShownFromAndStoredToTheRunValue) {
    const RunAtStartupCase& c = GetParam();
    if (c.appPath) test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", c.appPath);
    if (c.runValue) test_support::SetRegistryString(HKEY_CURRENT_USER, kRunKey, kRunValueName, c.runValue);
    bool shownChecked = !c.shownChecked;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        shownChecked = d.Checked(IDC_RUN_AT_STARTUP);
        if (c.click) d.Click(IDC_RUN_AT_STARTUP);
        d.Click(IDOK);
    });
    EXPECT_EQ(shownChecked, c.shownChecked);
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    ASSERT_TRUE(test_support::GetRegistryRaw(HKEY_CURRENT_USER, kRunKey, kRunValueName, type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t)),
              c.okWrites);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, RunAtStartupTest,
    ::testing::Values(
        // Nothing could start: an empty command never shows as starting with Windows.
        RunAtStartupCase{"NoFolderEmptyValue", nullptr, L"", false, false, L""},
        RunAtStartupCase{"NoFolderTicked", nullptr, nullptr, false, true, L""},
        RunAtStartupCase{"CommandStored", kFolder, kCommand, true, false, kCommand},
        RunAtStartupCase{"CommandStoredUnticked", kFolder, kCommand, true, true, L""},
        RunAtStartupCase{"OtherLetterCase", kFolder, L"\"c:\\games\\marrowdale\\marrowdale 3d screensaver.exe\" /w",
                         false, false, L""},
        RunAtStartupCase{"Ticked", kFolder, nullptr, false, true, kCommand}),
    test_support::CaseName<RunAtStartupCase>);

}  // namespace

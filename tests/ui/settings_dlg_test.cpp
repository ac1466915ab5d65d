// The settings dialog in this process, against Wine's dialog manager and
// registry: what it loads, what OK, Cancel, Close and Restore Defaults do to
// the product key, the error box of a failed save and the web-site button.
#include "ui/settings_dlg.h"

#include "config/registry_seam.h"
#include "tests/support/windows_finder.h"
#include "tests/ui/dialog_driver.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/product_key.h"
#include "ui/ui_seam.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using test_support::Driven;
using test_support::RawValues;
using test_support::ReadRawValues;
using test_support::RunDriven;
using test_support::StoreTypedText;
using test_support::UnterminatedText;
using Dialog = Driven<CSettingsDlg>;

class SettingsDialogTest : public test_support::ProductKeyTest {
protected:
    RawValues Stored() const { return ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey); }
    std::wstring StoredText(const std::wstring& name) const {
        const RawValues values = Stored();
        const auto found = values.find(name);
        return found == values.end() ? L"<missing>" : UnterminatedText(found->second);
    }
};

// Settings that hold the same value whatever the hardware.
const std::vector<std::pair<std::wstring, std::wstring>> kFixedDefaults = {
    {L"EnableMultiMonitorMode", L"2: 1"}, {L"ShowBlackScreens", L"2: 1"},   {L"ShowFPS", L"2: 0"},
    {L"DisableOnMouseActivate", L"2: 1"}, {L"MusicVolumePercentage", L"2: 15"}, {L"DisableMusic", L"2: 0"},
    {L"SoundsVolumePercentage", L"2: 100"}, {L"DisableSound", L"2: 0"},     {L"MonitorAspectRatio", L"2: 4"},
    {L"UseDesktopRes", L"2: 1"},          {L"UsePlaylist", L"2: 0"},        {L"FontScaling", L"2: 50"},
    {L"ShufflePlayList", L"2: 1"},
};

TEST_F(SettingsDialogTest, TheFirstOKCreatesTheKeyWithEveryDefault) {
    Dialog dialog;
    RunDriven<CSettingsDlg>(dialog, [](Dialog& d) { d.Click(IDOK); });
    const RawValues stored = Stored();
    for (const auto& [name, text] : kFixedDefaults) EXPECT_EQ(StoredText(name), text) << name;
    // Template 2003 has no high-quality boxes, so OK stores 0 whatever the tiers said.
    EXPECT_EQ(StoredText(L"HighQualityGraphics"), L"2: 0");
    EXPECT_EQ(StoredText(L"HighQualityTextures"), L"2: 0");
    EXPECT_EQ(StoredText(L"Antialiasing").rfind(L"2: ", 0), 0u);
    // Nothing else: settings without a default are not invented.
    EXPECT_EQ(stored.size(), kFixedDefaults.size() + 3);
}

TEST_F(SettingsDialogTest, OKWritesTheLoadedTreeBackAsTypedText) {
    StoreTypedText(L"MusicVolumePercentage", L"2: 40");
    StoreTypedText(L"DisableSound", L"2: 1");
    StoreTypedText(L"Antialiasing", L"2: 0");
    StoreTypedText(L"CurMonitor", L"2: 0");
    // Settings this dialog does not know, and per-monitor copies of monitors
    // that are not connected, come back as they were loaded.
    StoreTypedText(L"Unknown", L"2: 0x10");
    StoreTypedText(L"UseDesktopRes3", L"2: 0");
    StoreTypedText(L"ModeWidth5", L"2: 1024");
    StoreTypedText(L"Language", L"3: en");
    StoreTypedText(L"PlayList", L"C:\\Music\\a.mp3\n");
    const RawValues before = Stored();

    Dialog dialog;
    RunDriven<CSettingsDlg>(dialog, [](Dialog& d) { d.Click(IDOK); });

    EXPECT_EQ(StoredText(L"MusicVolumePercentage"), L"2: 40");
    EXPECT_EQ(StoredText(L"DisableSound"), L"2: 1");
    EXPECT_EQ(StoredText(L"Antialiasing"), L"2: 0");
    EXPECT_EQ(StoredText(L"CurMonitor"), L"2: 0");
    EXPECT_EQ(StoredText(L"Unknown"), L"2: 16");
    EXPECT_EQ(StoredText(L"UseDesktopRes3"), L"2: 0");
    EXPECT_EQ(StoredText(L"ModeWidth5"), L"2: 1024");
    EXPECT_EQ(StoredText(L"Language"), L"3: en");
    // No type prefix: the tree never holds it, and a save leaves it alone.
    EXPECT_EQ(Stored().at(L"PlayList"), before.at(L"PlayList"));
}

struct ClosingCase {
    const char* name;
    void (*close)(Dialog&);
};

class ClosingWithoutSavingTest : public SettingsDialogTest, public ::testing::WithParamInterface<ClosingCase> {};

TEST_P(ClosingWithoutSavingTest, LeavesTheRegistryAsItWas) {
    StoreTypedText(L"MusicVolumePercentage", L"2: 40");
    StoreTypedText(L"ShowBlackScreens", L"2: 0");
    const RawValues before = Stored();
    Dialog dialog;
    RunDriven<CSettingsDlg>(dialog, [](Dialog& d) {
        d.Click(IDC_ENABLE_MUSIC);
        d.Click(IDC_EXIT_ON_MOUSE_MOVE);
        d.Click(IDC_RESTORE_DEFAULTS);
        GetParam().close(d);
    });
    EXPECT_EQ(Stored(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClosingWithoutSavingTest,
    ::testing::Values(ClosingCase{"Cancel", [](Dialog& d) { d.Click(IDCANCEL); }},
                      ClosingCase{"TitleBarClose", [](Dialog& d) { d.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }},
                      ClosingCase{"EscapeKey", [](Dialog& d) { d.SendMessage(WM_COMMAND, IDCANCEL, 0); }}),
    [](const ::testing::TestParamInfo<ClosingCase>& info) { return std::string(info.param.name); });

// The same changes, closed with OK: the comparison above does see a write.
TEST_F(SettingsDialogTest, OKAfterTheSameChangesWrites) {
    StoreTypedText(L"MusicVolumePercentage", L"2: 40");
    StoreTypedText(L"DisableMusic", L"2: 1");
    Dialog dialog;
    RunDriven<CSettingsDlg>(dialog, [](Dialog& d) {
        d.Click(IDC_ENABLE_MUSIC);
        d.Click(IDOK);
    });
    EXPECT_EQ(StoredText(L"DisableMusic"), L"2: 0");
}

TEST_F(SettingsDialogTest, RestoreDefaultsKeepsMonitorModeAndLanguage) {
    StoreTypedText(L"MusicVolumePercentage", L"2: 40");
    StoreTypedText(L"DisableMusic", L"2: 1");
    StoreTypedText(L"ShowFPS", L"2: 1");
    StoreTypedText(L"FontScaling", L"2: 70");
    StoreTypedText(L"ShufflePlayList", L"2: 0");
    StoreTypedText(L"CurMonitor", L"2: 0");
    StoreTypedText(L"ModeWidth", L"2: 800");
    StoreTypedText(L"ModeHeight", L"2: 600");
    StoreTypedText(L"ModeFormat", L"2: 22");
    StoreTypedText(L"Language", L"3: de");
    Dialog dialog;
    RunDriven<CSettingsDlg>(dialog, [](Dialog& d) {
        d.Click(IDC_RESTORE_DEFAULTS);
        d.Click(IDOK);
    });
    EXPECT_EQ(StoredText(L"MusicVolumePercentage"), L"2: 15");
    EXPECT_EQ(StoredText(L"DisableMusic"), L"2: 0");
    EXPECT_EQ(StoredText(L"ShowFPS"), L"2: 0");
    EXPECT_EQ(StoredText(L"FontScaling"), L"2: 50");
    EXPECT_EQ(StoredText(L"ShufflePlayList"), L"2: 1");
    EXPECT_EQ(StoredText(L"CurMonitor"), L"2: 0");
    EXPECT_EQ(StoredText(L"ModeWidth"), L"2: 800");
    EXPECT_EQ(StoredText(L"ModeHeight"), L"2: 600");
    EXPECT_EQ(StoredText(L"ModeFormat"), L"2: 22");
    EXPECT_EQ(StoredText(L"Language"), L"3: de");
}

// Fails every value written under the product key.
LSTATUS WINAPI FailingSetValue(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD) { return ERROR_ACCESS_DENIED; }

struct ErrorCase {
    const char* name;
    const wchar_t* language;
    const wchar_t* caption;
    const wchar_t* text;
};

class SaveFailureTest : public SettingsDialogTest, public ::testing::WithParamInterface<ErrorCase> {};

// The box, and the dialog stays with the user's values for another OK or a
// Cancel: closing would lose every change.
TEST_P(SaveFailureTest, ShowsTheErrorBoxOwnedByTheDialogAndStaysOpen) {
    StoreTypedText(L"Language", GetParam().language);
    registry_seam::Api failing;
    failing.setValue = &FailingSetValue;
    registry_seam::ScopedApi seam(failing);
    test_support::MessageBoxWatcher watcher;
    Dialog dialog;
    HWND dialogWindow = nullptr;
    bool stayedOpen = false, okAgain = false;
    RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        dialogWindow = d.m_hWnd;
        d.Click(IDOK);
        stayedOpen = ::IsWindowVisible(d.m_hWnd) != FALSE;
        okAgain = d.Enabled(IDOK);
        d.Click(IDCANCEL);
    });
    const test_support::SeenMessageBox box = watcher.Stop();
    ASSERT_TRUE(box.shown);
    EXPECT_EQ(box.caption, GetParam().caption);
    EXPECT_EQ(box.text, GetParam().text);
    EXPECT_EQ(box.owner, dialogWindow);
    EXPECT_TRUE(box.errorIcon);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(okAgain);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, SaveFailureTest,
    ::testing::Values(
        ErrorCase{"English", L"3: en", L"Error!",
                  L"Error writing to the system registry. Please NOTE: You need to have sufficient administrative "
                  L"rights to run this program successfully."},
        ErrorCase{"German", L"3: de", L"Fehler!",
                  L"Fehler beim Eintrag in die Registry. BEACHTEN Sie bitte: um das Programm erfolgreich "
                  L"auszuführen, müssen Sie die Administratorrechte besitzen."}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

TEST_F(SettingsDialogTest, ASuccessfulSaveShowsNoBox) {
    test_support::MessageBoxWatcher watcher;
    Dialog dialog;
    RunDriven<CSettingsDlg>(dialog, [](Dialog& d) { d.Click(IDOK); });
    EXPECT_FALSE(watcher.Stop().shown);
}

// A subkey that cannot be read must not cost the stored settings.
TEST_F(SettingsDialogTest, AnUnreadableSubkeyDoesNotTurnTheSettingsIntoDefaults) {
    StoreTypedText(L"MusicVolumePercentage", L"2: 40");
    StoreTypedText(L"DisableSound", L"2: 1");
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, std::wstring(product::kKey) + L"\\Unreadable", L"v", L"2: 1");
    registry_seam::Api api;
    api.openKey = &test_support::OpenFailingSubkey;
    registry_seam::ScopedApi seam(api);
    Dialog dialog;
    RunDriven<CSettingsDlg>(dialog, [](Dialog& d) { d.Click(IDOK); });
    EXPECT_EQ(StoredText(L"MusicVolumePercentage"), L"2: 40");
    EXPECT_EQ(StoredText(L"DisableSound"), L"2: 1");
}

struct OpenedAddress {
    static inline std::vector<std::wstring> addresses;
    static inline bool plainCall = true;
    static HINSTANCE WINAPI Record(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                                   INT show) {
        addresses.push_back(file ? file : L"<null>");
        plainCall = plainCall && !window && !verb && !parameters && !folder && show == SW_SHOWNORMAL;
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
    }
};

struct WebSiteCase {
    const char* name;
    const wchar_t* language;
    const wchar_t* address;
};

class WebSiteTest : public SettingsDialogTest, public ::testing::WithParamInterface<WebSiteCase> {};

TEST_P(WebSiteTest, VisitOpensTheSiteOfTheLanguage) {
    if (GetParam().language) StoreTypedText(L"Language", GetParam().language);
    OpenedAddress::addresses.clear();
    OpenedAddress::plainCall = true;
    ui_seam::Api api;
    api.shellExecute = &OpenedAddress::Record;
    ui_seam::ScopedApi seam(api);
    Dialog dialog;
    RunDriven<CSettingsDlg>(dialog, [](Dialog& d) {
        d.Click(IDC_VISIT_WEB_SITE);
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(OpenedAddress::addresses, std::vector<std::wstring>{GetParam().address});
    EXPECT_TRUE(OpenedAddress::plainCall);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, WebSiteTest,
    ::testing::Values(
        WebSiteCase{"English", L"3: en", L"https://www.tidewright.com/?source=marrowdale&url=settings_more"},
        WebSiteCase{"German", L"3: de", L"https://www.tidewright.de/?source=marrowdale&url=settings_more"},
        WebSiteCase{"French", L"3: fr", L"https://www.tidewright.fr/?source=marrowdale&url=settings_more"},
        WebSiteCase{"Russian", L"3: ru", L"https://www.tidewright.ru/?source=marrowdale&url=settings_more"},
        WebSiteCase{"Unknown", L"3: es", L"https://www.tidewright.com/?source=marrowdale&url=settings_more"},
        WebSiteCase{"NoLanguage", nullptr, L"https://www.tidewright.com/?source=marrowdale&url=settings_more"}),
    [](const ::testing::TestParamInfo<WebSiteCase>& info) { return std::string(info.param.name); });

struct TranslationCase {
    const char* name;
    const wchar_t* language;
    const wchar_t* caption;
    const wchar_t* enableMusic;
    const wchar_t* cancel;
};

class TranslationTest : public SettingsDialogTest, public ::testing::WithParamInterface<TranslationCase> {};

TEST_P(TranslationTest, CaptionAndTextsInTheInstallersLanguage) {
    StoreTypedText(L"Language", GetParam().language);
    Dialog dialog;
    std::wstring caption, enableMusic, cancel;
    HICON icon = nullptr;
    RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        caption = d.GetWindowText();
        enableMusic = d.Text(IDC_ENABLE_MUSIC);
        cancel = d.Text(IDCANCEL);
        icon = reinterpret_cast<HICON>(d.SendMessage(WM_GETICON, ICON_BIG, 0));
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(caption, GetParam().caption);
    EXPECT_EQ(enableMusic, GetParam().enableMusic);
    EXPECT_EQ(cancel, GetParam().cancel);
    EXPECT_NE(icon, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, TranslationTest,
    ::testing::Values(TranslationCase{"English", L"3: en", L"Marrowdale 3D Screensaver 1.0 Configuration",
                                      L"Enable music", L"Cancel"},
                      TranslationCase{"German", L"3: de", L"Marrowdale 3D Screensaver 1.0 Konfiguration",
                                      L"Musik aktivieren", L"Abbrechen"},
                      TranslationCase{"French", L"3: fr", L"Configuration de Marrowdale 3D Screensaver 1.0",
                                      L"Valider la musique", L"Annuler"},
                      TranslationCase{"Russian", L"3: ru", L"Настройки Marrowdale 3D Screensaver 1.0",
                                      L"Включить музыку", L"Отмена"}),
    [](const ::testing::TestParamInfo<TranslationCase>& info) { return std::string(info.param.name); });

}  // namespace

// Pictures of the settings dialog in each language, saved under the build
// folder's screenshots folder for people to look at, and every text of the
// dialog measured against its control: none may be cut. The same again at
// 144 and 192 dpi, and at 96 and 144 dpi with the face Windows gives a dialog
// without DS_FIXEDSYS (Microsoft Sans Serif), for which Wine's own MS Sans
// Serif stands in.
#include "ui/settings_dlg.h"

#include "tests/support/clipped_texts.h"
#include "tests/support/dialog_look.h"
#include "tests/support/screenshot.h"
#include "tests/ui/dialog_driver.h"
#include "tests/support/product_key.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Dialog = test_support::Driven<CSettingsDlg>;

const wchar_t* const kLanguages[] = {L"en", L"de", L"fr", L"ru"};

std::wstring PictureName(const std::wstring& language, const std::wstring& look) {
    return L"settings-" + language + L"-" + look + L".png";
}

class SettingsScreenshotTest : public test_support::ProductKeyTest,
                               public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(SettingsScreenshotTest, SavesAPictureAndEveryTextFits) {
    const std::wstring language = GetParam();
    const std::wstring look = test_support::LookName(test_support::CurrentDialogLook());
    test_support::StoreTypedText(L"Language", L"3: " + language);
    // The volume labels at their widest.
    test_support::StoreTypedText(L"MusicVolumePercentage", L"2: 100");
    test_support::StoreTypedText(L"SoundsVolumePercentage", L"2: 100");
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    Dialog dialog;
    bool saved = false;
    std::vector<test_support::MeasuredText> texts;
    const std::wstring path = test_support::ScreenshotPath(PictureName(language, look));
    ::DeleteFileW(path.c_str());
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        saved = test_support::SaveWindowPicture(d.m_hWnd, path);
        texts = test_support::MeasureTexts(d.m_hWnd);
        d.Click(IDCANCEL);
    });
    ::CoUninitialize();
    EXPECT_TRUE(saved);
    EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_GT(texts.size(), 10u);
    test_support::SaveClippedTextReport(L"clipped-settings-" + language + L"-" + look, language, texts);
    test_support::ExpectNothingClipped(texts, look);
}

INSTANTIATE_TEST_SUITE_P(Languages, SettingsScreenshotTest, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                             const std::wstring tag = info.param;
                             return std::string(tag.begin(), tag.end());
                         });

struct OtherLook {
    const char* name;
    int dpi;
    const wchar_t* face;  // null: Wine's Tahoma
    std::vector<std::wstring> fontFiles;
    const wchar_t* lookName;
};

// Wine's MS Sans Serif: its bitmaps for 96 and for 120 dpi, as Windows
// carries them. (Its TrueType file holds no outlines, and Wine skips it.)
const std::vector<std::wstring> kSansSerif = {L"sserife.fon", L"sseriff.fon"};

// Names the case in test listings instead of a byte dump.
void PrintTo(const OtherLook& look, std::ostream* os) { *os << look.name; }

class SettingsInOtherLooksTest : public ::testing::TestWithParam<OtherLook> {};

// The cases above in a child process of this look: they pass there, and the
// pictures they name by what they see show that the look took effect.
TEST_P(SettingsInOtherLooksTest, EveryTextFits) {
    const OtherLook& other = GetParam();
    std::vector<std::wstring> pictures;
    for (const wchar_t* language : kLanguages) {
        pictures.push_back(test_support::ScreenshotPath(PictureName(language, other.lookName)));
    }
    test_support::ExpectCasesPassInLook("Languages/SettingsScreenshotTest.*", other.dpi, other.face, other.fontFiles,
                                        pictures);
}

INSTANTIATE_TEST_SUITE_P(Looks, SettingsInOtherLooksTest,
                         ::testing::Values(OtherLook{"Tahoma144", 144, nullptr, {}, L"144dpi"},
                                           OtherLook{"Tahoma192", 192, nullptr, {}, L"192dpi"},
                                           OtherLook{"MsSansSerif96", 96, L"MS Sans Serif", kSansSerif,
                                                     L"96dpi-ms-sans-serif"},
                                           OtherLook{"MsSansSerif144", 144, L"MS Sans Serif", kSansSerif,
                                                     L"144dpi-ms-sans-serif"}),
                         [](const ::testing::TestParamInfo<OtherLook>& info) { return std::string(info.param.name); });

}  // namespace

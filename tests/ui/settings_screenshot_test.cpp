// Pictures of the settings dialog in each language, and the table of its
// clipped texts, saved under the build folder's screenshots folder for people
// to look at.
#include "ui/settings_dlg.h"

#include "tests/support/clipped_texts.h"
#include "tests/support/screenshot.h"
#include "tests/ui/dialog_driver.h"
#include "tests/support/product_key.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Dialog = test_support::Driven<CSettingsDlg>;

class SettingsScreenshotTest : public test_support::ProductKeyTest,
                               public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(SettingsScreenshotTest, SavesAPictureOfTheDialog) {
    const std::wstring language = GetParam();
    test_support::StoreTypedText(L"Language", L"3: " + language);
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    Dialog dialog;
    bool saved = false;
    std::vector<test_support::MeasuredText> texts;
    const std::wstring path = test_support::ScreenshotPath(L"settings-" + language + L".png");
    ::DeleteFileW(path.c_str());
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        saved = test_support::SaveWindowPicture(d.m_hWnd, path);
        texts = test_support::MeasureTexts(d.m_hWnd);
        d.Click(IDCANCEL);
    });
    ::CoUninitialize();
    EXPECT_TRUE(saved);
    // The texts people read beside the picture: which ones Wine's font clips.
    EXPECT_GT(texts.size(), 10u);
    test_support::SaveClippedTextReport(L"clipped-settings-" + language, language, texts);
    EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

INSTANTIATE_TEST_SUITE_P(Languages, SettingsScreenshotTest, ::testing::Values(L"en", L"de", L"fr", L"ru"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                             const std::wstring tag = info.param;
                             return std::string(tag.begin(), tag.end());
                         });

}  // namespace

// Pictures of the playlist dialog with a few files in each language, saved
// under the build folder's screenshots folder for people to look at, and
// every text of the dialog measured against its control: none may be cut.
// The same again at 144 and 192 dpi. (The dialog asks for the fixed system
// font, which Windows draws in Tahoma, as Wine does.)
#include "playlist/playlist_dlg.h"

#include "tests/playlist/playlist_dlg_fixture.h"
#include "tests/support/clipped_texts.h"
#include "tests/support/dialog_look.h"
#include "tests/support/screenshot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using playlist_tests::PlaylistDialog;

const wchar_t* const kLanguages[] = {L"en", L"de", L"fr", L"ru"};

std::wstring PictureName(const std::wstring& language, const std::wstring& look) {
    return L"playlist-" + language + L"-" + look + L".png";
}

class PlaylistScreenshotTest : public playlist_tests::PlaylistDialogTest,
                               public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(PlaylistScreenshotTest, SavesAPictureAndEveryTextFits) {
    const std::wstring language = GetParam();
    const std::wstring look = test_support::LookName(test_support::CurrentDialogLook());
    UseLanguage(language);
    StorePlaylist(music_.Expand(L"<d>a.mp3\n<d>b.mp3\n<d>sub\\c.mp3\n<d>") + playlist_tests::kUnicodeName + L"\n");
    settings_.Get("ShufflePlayList") = 1;
    const std::wstring path = test_support::ScreenshotPath(PictureName(language, look));
    ::DeleteFileW(path.c_str());
    bool saved = false;
    std::vector<test_support::MeasuredText> texts;
    Run([&](PlaylistDialog& d) {
        playlist_tests::SelectRows(d, {1});
        // The dialog manager shows a dialog once its queue is first empty,
        // which is after the script.
        d.ShowWindow(SW_SHOW);
        saved = test_support::SaveWindowPicture(d.m_hWnd, path);
        texts = test_support::MeasureTexts(d.m_hWnd);
        d.Click(IDCANCEL);
    });
    EXPECT_TRUE(saved);
    EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_GT(texts.size(), 3u);
    test_support::SaveClippedTextReport(L"clipped-playlist-" + language + L"-" + look, language, texts);
    test_support::ExpectNothingClipped(texts, look);
}

INSTANTIATE_TEST_SUITE_P(Languages, PlaylistScreenshotTest, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                             const std::wstring tag = info.param;
                             return std::string(tag.begin(), tag.end());
                         });

// The cases above in a child process at another scale: they pass there, and
// the pictures they name by what they see show that the scale took effect.
class PlaylistInOtherScalesTest : public ::testing::TestWithParam<int> {};

TEST_P(PlaylistInOtherScalesTest, EveryTextFits) {
    const int dpi = GetParam();
    std::vector<std::wstring> pictures;
    for (const wchar_t* language : kLanguages) {
        pictures.push_back(test_support::ScreenshotPath(PictureName(language, std::to_wstring(dpi) + L"dpi")));
    }
    test_support::ExpectCasesPassInLook("Languages/PlaylistScreenshotTest.*", dpi, nullptr, {}, pictures);
}

INSTANTIATE_TEST_SUITE_P(Scales, PlaylistInOtherScalesTest, ::testing::Values(144, 192),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "dpi"; });

}  // namespace

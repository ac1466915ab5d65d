// Pictures of the playlist dialog with a few files in each language, and the
// table of its clipped texts, saved under the build folder's screenshots
// folder for people to look at.
#include "playlist/playlist_dlg.h"

#include "tests/playlist/playlist_dlg_fixture.h"
#include "tests/support/clipped_texts.h"
#include "tests/support/screenshot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using playlist_tests::PlaylistDialog;

class PlaylistScreenshotTest : public playlist_tests::PlaylistDialogTest,
                               public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(PlaylistScreenshotTest, SavesAPictureOfTheDialog) {
    const std::wstring language = GetParam();
    UseLanguage(language);
    StorePlaylist(music_.Expand(L"<d>a.mp3\n<d>b.mp3\n<d>sub\\c.mp3\n<d>") + playlist_tests::kUnicodeName + L"\n");
    settings_.Get("ShufflePlayList") = 1;
    const std::wstring path = test_support::ScreenshotPath(L"playlist-" + language + L".png");
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
    EXPECT_GT(texts.size(), 3u);
    test_support::SaveClippedTextReport(L"clipped-playlist-" + language, language, texts);
    EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

INSTANTIATE_TEST_SUITE_P(Languages, PlaylistScreenshotTest, ::testing::Values(L"en", L"de", L"fr", L"ru"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                             const std::wstring tag = info.param;
                             return std::string(tag.begin(), tag.end());
                         });

}  // namespace

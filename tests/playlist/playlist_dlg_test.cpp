// The playlist dialog in this process, against Wine's dialog manager, list
// view, open-file dialog and registry: what it shows, what Add, Remove,
// Shuffle, OK and Cancel do, and how it reads what the open-file dialog
// returns.
#include "playlist/playlist_dlg.h"

#include "config/product.h"
#include "config/registry_seam.h"
#include "config/settings_schema.h"
#include "playlist/open_file_seam.h"
#include "tests/playlist/dialog_watcher.h"
#include "tests/playlist/playlist_dlg_fixture.h"
#include "tests/support/windows_finder.h"
#include "tests/support/message_box_watcher.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using playlist_tests::CaseName;
using playlist_tests::kUnicodeName;
using playlist_tests::operator<<;
using playlist_tests::PlaylistDialog;
using playlist_tests::PlaylistDialogTest;
using playlist_tests::Rows;
using Names = std::vector<std::wstring>;

std::wstring Joined(const Names& entries) {
    std::wstring text;
    for (const std::wstring& entry : entries) text += entry + L"\n";
    return text;
}

std::string Utf8(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                          nullptr);
    return bytes;
}

// ---- Opening -------------------------------------------------------------

struct OpeningCase {
    const char* name;
    const wchar_t* stored;  // null: no value
    void (*prepare)(Node&);
    Names rows;
    bool shuffleTicked;
};

class OpeningTest : public PlaylistDialogTest, public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(OpeningTest, ShowsTheStoredFilesThatExistAndTheTreesShuffle) {
    const OpeningCase& c = GetParam();
    if (c.stored) StorePlaylist(music_.Expand(c.stored));
    c.prepare(settings_);
    Names rows;
    bool ticked = false;
    Run([&](PlaylistDialog& d) {
        rows = Rows(d);
        ticked = d.Checked(IDC_SHUFFLE);
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(rows, music_.Expand(c.rows));
    EXPECT_EQ(ticked, c.shuffleTicked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpeningTest,
    ::testing::Values(
        OpeningCase{"NoValueAndNoShuffle", nullptr, [](Node&) {}, {}, false},
        OpeningCase{"MissingFilesDroppedDuplicatesKept", L"<d>a.mp3\n<d>gone.mp3\n<d>b.mp3\n<d>a.mp3",
                    [](Node& n) { n.Get(setting::kShufflePlayList) = 1; }, {L"<d>a.mp3", L"<d>b.mp3", L"<d>a.mp3"},
                    true},
        OpeningCase{"NonLatinNameAndShuffleOff", L"<d>\x041F\x0451\x0442\x0440 \xD83C\xDFB5.mp3\n",
                    [](Node& n) { n.Get(setting::kShufflePlayList) = 0; }, {L"<d>" + kUnicodeName}, false},
        OpeningCase{"ShuffleThatIsNoInteger", L"", [](Node& n) { n.Get(setting::kShufflePlayList) = L"1"; }, {},
                    false}),
    CaseName<OpeningCase>);

// A drive letter with no volume behind it and a server that does not exist,
// as Wine has them: their entries stay in their places and OK stores them
// again, while a file gone from a drive that is there is dropped.
TEST_F(PlaylistDialogTest, EntriesOnADriveOrShareThatIsAwayStayAndOKStoresThem) {
    ASSERT_EQ(::GetDriveTypeW(L"Q:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    const std::wstring away = L"Q:\\music\\away.mp3";
    const std::wstring share = L"\\\\NOHOST-MARROWDALE\\Music\\share.mp3";
    StorePlaylist(music_.Expand(L"<d>a.mp3\n") + away + L"\n" + music_.Expand(L"<d>gone.mp3\n") + share + L"\n");
    Names rows;
    Run([&](PlaylistDialog& d) {
        rows = Rows(d);
        d.Click(IDOK);
    });
    const Names kept = {music_.Dir() + L"a.mp3", away, share};
    EXPECT_EQ(rows, kept);
    EXPECT_EQ(StoredPlaylist(), Joined(kept));
}

// ---- Adding through the real open-file dialog ------------------------------

// The open-file dialog starts in the process's current folder.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::wstring& folder) {
        wchar_t saved[MAX_PATH] = {};
        ::GetCurrentDirectoryW(MAX_PATH, saved);
        saved_ = saved;
        EXPECT_TRUE(::SetCurrentDirectoryW(folder.c_str()));
    }
    ~CurrentFolder() { ::SetCurrentDirectoryW(saved_.c_str()); }

private:
    std::wstring saved_;
};

struct AddCase {
    const char* name;
    const wchar_t* typed;  // empty: the user cancels
    Names added;
};

class AddThroughFileDialogTest : public PlaylistDialogTest, public ::testing::WithParamInterface<AddCase> {
protected:
    void SetUp() override {
        PlaylistDialogTest::SetUp();
        using test_support::WriteBinaryFile;
        ASSERT_TRUE(WriteBinaryFile(music_.Dir() + L"c.mp3", "ID3"));
        ASSERT_TRUE(WriteBinaryFile(music_.Dir() + L"mix.pls", "[playlist]\nFile1=a.mp3\n"));
        ASSERT_TRUE(WriteBinaryFile(music_.Dir() + L"list.m3u",
                                    music_.ExpandBytes("#EXTM3U\nb.mp3\n<d>a.mp3\nhttp://radio.example/live\n")));
        ASSERT_TRUE(WriteBinaryFile(music_.Dir() + L"LOUD.M3U", "sub\\c.mp3\r\nb.mp3\r\n"));
    }
};

TEST_P(AddThroughFileDialogTest, AppendsWhatTheDialogReturnsAndOKStoresIt) {
    const AddCase& c = GetParam();
    StorePlaylist(music_.Expand(L"<d>a.mp3\n"));
    CurrentFolder folder(music_.Dir());
    playlist_tests::FileDialogWatcher watcher(c.typed);
    HWND dialogWindow = nullptr;
    Names rows;
    Run([&](PlaylistDialog& d) {
        dialogWindow = d.m_hWnd;
        d.Click(IDC_ADD_FILES);
        rows = Rows(d);
        d.Click(IDOK);
    });
    ASSERT_TRUE(watcher.Stop()) << "no open-file dialog";
    EXPECT_EQ(watcher.Seen().owner, dialogWindow);
    Names expected = {music_.Dir() + L"a.mp3"};
    for (const std::wstring& added : music_.Expand(c.added)) expected.push_back(added);
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(StoredPlaylist(), Joined(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddThroughFileDialogTest,
    ::testing::Values(
        AddCase{"ThreeFilesInTheDialogsOrder", L"\"c.mp3\" \"a.mp3\" \"b.mp3\"",
                {L"<d>c.mp3", L"<d>a.mp3", L"<d>b.mp3"}},
        AddCase{"OneFile", L"b.mp3", {L"<d>b.mp3"}},
        AddCase{"M3uAddsTheFilesItNames", L"list.m3u", {L"<d>b.mp3", L"<d>a.mp3"}},
        AddCase{"M3uInCapitalsToo", L"LOUD.M3U", {L"<d>sub\\c.mp3", L"<d>b.mp3"}},
        AddCase{"PlsIsOneEntry", L"mix.pls", {L"<d>mix.pls"}},
        AddCase{"CancelAddsNothing", L"", {}}),
    CaseName<AddCase>);

// A selection of 300 names of 200 characters nearly fills the 65535-character
// name buffer and comes in whole. (One too long for it makes Windows' dialog
// fail with FNERR_BUFFERTOOSMALL, which the fake below stands in for: Wine 8's
// dialog writes past the buffer instead.)
TEST_F(AddThroughFileDialogTest, ASelectionThatNearlyFillsTheBufferComesInWhole) {
    Names expected;
    std::wstring typed;
    for (int i = 0; i < 300; ++i) {
        std::wstring name = std::to_wstring(100000 + i);
        name += std::wstring(196 - name.size(), L'n') + L".mp3";
        ASSERT_TRUE(test_support::WriteBinaryFile(music_.Dir() + name, "ID3"));
        expected.push_back(music_.Dir() + name);
        typed += L"\"" + name + L"\" ";
    }
    CurrentFolder folder(music_.Dir());
    playlist_tests::FileDialogWatcher watcher(typed);
    Names rows;
    Run([&](PlaylistDialog& d) {
        d.Click(IDC_ADD_FILES);
        rows = Rows(d);
        d.Click(IDCANCEL);
    });
    ASSERT_TRUE(watcher.Stop()) << "no open-file dialog";
    EXPECT_EQ(rows.size(), expected.size());
    EXPECT_TRUE(rows == expected);
}

// ---- What the open-file dialog hands back ----------------------------------

// Stands in for GetOpenFileNameW: fills the name buffer with a chosen text and
// result, and notes how it was asked.
struct FakeOpenFile {
    std::wstring names;
    WORD fileOffset = 0;
    BOOL result = TRUE;
    int calls = 0;
    OPENFILENAMEW request = {};
    std::wstring filter;
};
FakeOpenFile* fake = nullptr;

BOOL WINAPI FakeGetOpenFileName(OPENFILENAMEW* request) {
    ++fake->calls;
    fake->request = *request;
    for (const wchar_t* at = request->lpstrFilter; at && *at; at += wcslen(at) + 1) fake->filter += at + std::wstring(L"|");
    const size_t length = std::min<size_t>(fake->names.size(), request->nMaxFile);
    std::copy_n(fake->names.begin(), length, request->lpstrFile);
    request->nFileOffset = fake->fileOffset;
    return fake->result;
}

enum class Offset { kOfTheName, kAfterTheFolder };

struct ReturnedCase {
    const char* name;
    // "|" stands for a NUL, "<d>" for the music folder with its backslash and
    // "<f>" for it without.
    const wchar_t* names;
    Offset offset;
    BOOL result;
    Names rows;
    bool fillToTheEnd = false;  // the buffer is full, its last name cut short
};

class ReturnedNamesTest : public PlaylistDialogTest, public ::testing::WithParamInterface<ReturnedCase> {
protected:
    void SetUp() override {
        PlaylistDialogTest::SetUp();
        using test_support::WriteBinaryFile;
        ASSERT_TRUE(WriteBinaryFile(music_.Dir() + L"utf8.m3u", "\xEF\xBB\xBF" + Utf8(kUnicodeName) + "\r\n"));
        ASSERT_TRUE(WriteBinaryFile(music_.Dir() + L"archive_m3u", "a.mp3\n"));
    }
};

TEST_P(ReturnedNamesTest, AddsTheChosenFilesOnlyWhenTheDialogSucceeded) {
    const ReturnedCase& c = GetParam();
    std::wstring folder = music_.Dir();
    folder.pop_back();
    std::wstring names = music_.Expand(c.names);
    for (size_t at = names.find(L"<f>"); at != std::wstring::npos; at = names.find(L"<f>")) names.replace(at, 3, folder);
    std::replace(names.begin(), names.end(), L'|', L'\0');
    if (c.fillToTheEnd) names.resize(65535, L'x');
    FakeOpenFile returned;
    returned.names = names;
    returned.fileOffset = static_cast<WORD>(c.offset == Offset::kAfterTheFolder ? names.find(L'\0') + 1
                                                                                  : names.rfind(L'\\') + 1);
    returned.result = c.result;
    fake = &returned;
    open_file_seam::Api api;
    api.getOpenFileName = &FakeGetOpenFileName;
    open_file_seam::ScopedApi seam(api);
    Names rows;
    Run([&](PlaylistDialog& d) {
        d.Click(IDC_ADD_FILES);
        rows = Rows(d);
        d.Click(IDOK);
    });
    EXPECT_EQ(returned.calls, 1);
    EXPECT_EQ(rows, music_.Expand(c.rows));
    EXPECT_EQ(StoredPlaylist(), Joined(music_.Expand(c.rows)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReturnedNamesTest,
    ::testing::Values(
        ReturnedCase{"SeveralFilesJoinedToTheirFolder", L"<f>|b.mp3|a.mp3||", Offset::kAfterTheFolder, TRUE,
                     {L"<d>b.mp3", L"<d>a.mp3"}},
        ReturnedCase{"BufferTooSmallAddsNothing", L"<f>|b.mp3|a.mp3||", Offset::kAfterTheFolder, FALSE, {}},
        ReturnedCase{"FolderThatEndsInABackslash", L"C:\\|x.mp3|y.mp3||", Offset::kAfterTheFolder, TRUE,
                     {L"C:\\x.mp3", L"C:\\y.mp3"}},
        ReturnedCase{"OneFile", L"<d>b.mp3|", Offset::kOfTheName, TRUE, {L"<d>b.mp3"}},
        ReturnedCase{"NameCutByTheEndOfTheBuffer", L"<f>|a.mp3|", Offset::kAfterTheFolder, TRUE, {L"<d>a.mp3"},
                     true},
        ReturnedCase{"Utf8M3uNamingANonLatinFile", L"<d>utf8.m3u|", Offset::kOfTheName, TRUE,
                     {L"<d>\x041F\x0451\x0442\x0440 \xD83C\xDFB5.mp3"}},
        ReturnedCase{"EndingInM3uWithoutTheDotIsOneEntry", L"<d>archive_m3u|", Offset::kOfTheName, TRUE,
                     {L"<d>archive_m3u"}}),
    CaseName<ReturnedCase>);

TEST_F(PlaylistDialogTest, AsksForSeveralFilesOfTheSupportedKinds) {
    FakeOpenFile returned;
    returned.result = FALSE;
    fake = &returned;
    open_file_seam::Api api;
    api.getOpenFileName = &FakeGetOpenFileName;
    open_file_seam::ScopedApi seam(api);
    HWND dialogWindow = nullptr;
    Run([&](PlaylistDialog& d) {
        dialogWindow = d.m_hWnd;
        d.Click(IDC_ADD_FILES);
        d.Click(IDCANCEL);
    });
    ASSERT_EQ(returned.calls, 1);
    EXPECT_EQ(returned.request.hwndOwner, dialogWindow);
    EXPECT_EQ(returned.request.nMaxFile, 65535u);
    EXPECT_EQ(returned.request.nFilterIndex, 1u);
    const DWORD flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT;
    EXPECT_EQ(returned.request.Flags, flags);
    EXPECT_EQ(returned.filter,
              L"All supported files (*.m3u,*.pls;*.mp3;*.wma;*.aac;*.ogg;*.flac;*.wav;*.mid)|"
              L"*.m3u;*.pls;*.mp3;*.wma;*.aac;*.ogg;*.flac;*.wav;*.mid|"
              L"Playlist Files (*.m3u,*.pls)|*.m3u;*.pls|MP3 (*.mp3)|*.mp3|Windows Media Audio (*.wma)|*.wma|"
              L"Advanced Audio Coding (*.aac)|*.aac|Ogg Vorbis (*.ogg)|*.ogg|FLAC (*.flac)|*.flac|"
              L"Windows Audio File (*.wav)|*.wav|MIDI File (*.mid)|*.mid|");
}

// ---- Remove ----------------------------------------------------------------

struct RemoveCase {
    const char* name;
    std::vector<int> selected;
    Names remaining;
};

class RemoveTest : public PlaylistDialogTest, public ::testing::WithParamInterface<RemoveCase> {};

TEST_P(RemoveTest, RemovesEverySelectedRowAndItsEntry) {
    StorePlaylist(music_.Expand(L"<d>a.mp3\n<d>b.mp3\n<d>sub\\c.mp3\n<d>a.mp3\n"));
    Names rows;
    Run([&](PlaylistDialog& d) {
        playlist_tests::SelectRows(d, GetParam().selected);
        d.Click(IDC_REMOVE_FILES);
        rows = Rows(d);
        d.Click(IDOK);
    });
    const Names remaining = music_.Expand(GetParam().remaining);
    EXPECT_EQ(rows, remaining);
    // Row i and entry i went together: the stored value is what the list showed.
    EXPECT_EQ(StoredPlaylist(), Joined(remaining));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemoveTest,
    ::testing::Values(RemoveCase{"TwoAdjacentRows", {1, 2}, {L"<d>a.mp3", L"<d>a.mp3"}},
                      RemoveCase{"FirstAndLast", {0, 3}, {L"<d>b.mp3", L"<d>sub\\c.mp3"}},
                      RemoveCase{"All", {0, 1, 2, 3}, {}},
                      RemoveCase{"NoneSelected", {}, {L"<d>a.mp3", L"<d>b.mp3", L"<d>sub\\c.mp3", L"<d>a.mp3"}}),
    CaseName<RemoveCase>);

// ---- Shuffle, OK, Cancel ---------------------------------------------------

TEST_F(PlaylistDialogTest, ShuffleWritesTheTreeAtOnceAndCancelKeepsIt) {
    settings_.Get(setting::kShufflePlayList) = 0;
    std::vector<std::int32_t> seen;
    Run([&](PlaylistDialog& d) {
        for (int click = 0; click < 3; ++click) {
            d.Click(IDC_SHUFFLE);
            seen.push_back(settings_.Get(setting::kShufflePlayList).AsInt());
        }
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 0, 1}));
    EXPECT_EQ(settings_.Get(setting::kShufflePlayList).AsInt(), 1);
    // The settings dialog stores it with the others; this dialog writes no setting.
    EXPECT_EQ(StoredPlaylist(), L"<missing>");
}

struct ClosingCase {
    const char* name;
    void (*close)(PlaylistDialog&);
    bool stores;
};

class ClosingTest : public PlaylistDialogTest, public ::testing::WithParamInterface<ClosingCase> {};

// Remove the first file and add the second once more, then close.
TEST_P(ClosingTest, OnlyOKStoresTheChangesAndTheNextOpeningShowsWhatIsStored) {
    const Names before = {music_.Dir() + L"a.mp3", music_.Dir() + L"b.mp3"};
    const Names after = {music_.Dir() + L"b.mp3", music_.Dir() + L"b.mp3"};
    StorePlaylist(Joined(before));
    Run([&](PlaylistDialog& d) {
        playlist_tests::SelectRows(d, {0});
        d.Click(IDC_REMOVE_FILES);
        d.AddFile(music_.Dir() + L"b.mp3");
        ASSERT_EQ(Rows(d), after);
        GetParam().close(d);
    });
    const Names& expected = GetParam().stores ? after : before;
    EXPECT_EQ(StoredPlaylist(), Joined(expected));
    EXPECT_EQ(RowsAtOpening(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClosingTest,
    ::testing::Values(
        ClosingCase{"OK", [](PlaylistDialog& d) { d.Click(IDOK); }, true},
        ClosingCase{"Cancel", [](PlaylistDialog& d) { d.Click(IDCANCEL); }, false},
        ClosingCase{"TitleBarClose", [](PlaylistDialog& d) { d.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
        ClosingCase{"EscapeKey", [](PlaylistDialog& d) { d.SendMessage(WM_COMMAND, IDCANCEL, 0); }, false}),
    CaseName<ClosingCase>);

LSTATUS WINAPI FailingSetValue(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD) { return ERROR_ACCESS_DENIED; }

struct SaveCase {
    const char* name;
    bool writeFails;
};

class SaveTest : public PlaylistDialogTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveTest, AFailedWriteIsShownAndTheDialogStillCloses) {
    registry_seam::Api api;
    if (GetParam().writeFails) api.setValue = &FailingSetValue;
    registry_seam::ScopedApi seam(api);
    test_support::MessageBoxWatcher watcher;
    PlaylistDialog dialog(product::kName, settings_);
    HWND dialogWindow = nullptr;
    test_support::RunDriven<CPlaylistDlg>(dialog, [&](PlaylistDialog& d) {
        dialogWindow = d.m_hWnd;
        d.AddFile(music_.Dir() + L"a.mp3");
        d.Click(IDOK);
        // EndDialog hides the dialog at once; the loop then ends.
        EXPECT_FALSE(::IsWindowVisible(d.m_hWnd)) << "OK did not end the dialog";
    });
    const test_support::SeenMessageBox box = watcher.Stop();
    EXPECT_EQ(box.shown, GetParam().writeFails);
    if (GetParam().writeFails) {
        EXPECT_EQ(box.caption, L"Error!");
        EXPECT_EQ(box.owner, dialogWindow);
        EXPECT_TRUE(box.errorIcon);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveTest,
                         ::testing::Values(SaveCase{"WriteFails", true}, SaveCase{"WriteSucceeds", false}),
                         CaseName<SaveCase>);

// ---- Language --------------------------------------------------------------

struct LanguageCase {
    const char* name;
    const wchar_t* tag;
    const wchar_t* title;
    const wchar_t* add;
    const wchar_t* shuffle;
    const wchar_t* firstFilter;
};

class LanguageTest : public PlaylistDialogTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageTest, TitleControlsAndFilterInTheLanguage) {
    const LanguageCase& c = GetParam();
    UseLanguage(c.tag);
    playlist_tests::FileDialogWatcher watcher(L"");
    std::wstring title, add, shuffle;
    Run([&](PlaylistDialog& d) {
        title = test_support::WindowText(d.m_hWnd);
        add = d.Text(IDC_ADD_FILES);
        shuffle = d.Text(IDC_SHUFFLE);
        d.Click(IDC_ADD_FILES);
        d.Click(IDCANCEL);
    });
    ASSERT_TRUE(watcher.Stop()) << "no open-file dialog";
    EXPECT_EQ(title, c.title);
    EXPECT_EQ(add, c.add);
    EXPECT_EQ(shuffle, c.shuffle);
    EXPECT_EQ(watcher.Seen().firstFilter,
              std::wstring(c.firstFilter) + L" (*.m3u,*.pls;*.mp3;*.wma;*.aac;*.ogg;*.flac;*.wav;*.mid)");
}

INSTANTIATE_TEST_SUITE_P(
    Languages, LanguageTest,
    ::testing::Values(LanguageCase{"English", L"en", L"Playlist", L"Add...", L"Shuffle", L"All supported files"},
                      LanguageCase{"German", L"de", L"Playliste", L"Hinzuf\x00FCgen...", L"Zuf\x00E4llige Wiedergabe",
                                   L"Alle unterst\x00FCtzten Dateien"}),
    CaseName<LanguageCase>);

}  // namespace

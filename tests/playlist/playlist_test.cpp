// The playlist in memory and the reading of M3U files, against real files in
// temporary folders.
#include "playlist/playlist.h"

#include "config/registry.h"
#include "tests/playlist/playlist_fixtures.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using playlist_tests::CaseName;
using playlist_tests::operator<<;
using playlist_tests::Entries;
using playlist_tests::kUnicodeName;
using playlist_tests::MusicFolder;
using Names = std::vector<std::wstring>;

TEST(Playlist, KeepsOrderAndDuplicatesAndRemovesByIndex) {
    Playlist playlist;
    for (const wchar_t* path : {L"C:\\a.mp3", L"b.mp3", L"C:\\a.mp3", L"D:\\Music\\..\\c.MP3"}) playlist.Add(path);
    playlist.RemoveAt(1);
    playlist.RemoveAt(3);  // past the end: nothing happens
    EXPECT_EQ(Entries(playlist), (Names{L"C:\\a.mp3", L"C:\\a.mp3", L"D:\\Music\\..\\c.MP3"}));
    EXPECT_EQ(playlist.Entry(3), L"");

    std::wstring text = L"kept|";
    EXPECT_EQ(playlist.ToText(text), 3u);
    EXPECT_EQ(text, L"kept|C:\\a.mp3\nC:\\a.mp3\nD:\\Music\\..\\c.MP3\n");

    std::wstring empty;
    EXPECT_EQ(Playlist().ToText(empty), 0u);
    EXPECT_EQ(empty, L"");
}

TEST(Playlist, AppendingSaysWhetherThePlaylistHoldsAnything) {
    MusicFolder music;
    Playlist playlist;
    EXPECT_FALSE(playlist.AppendFromText(L"", music.Expand(L"<d>gone.mp3\n")));
    EXPECT_TRUE(playlist.AppendFromText(music.Dir(), L"a.mp3"));
    EXPECT_TRUE(playlist.AppendFromText(L"", L"#nothing to add\n"));
    EXPECT_TRUE(playlist.AppendFromM3u(music.Dir() + L"missing.m3u"));
    EXPECT_EQ(Entries(playlist), music.Expand(Names{L"<d>a.mp3"}));
}

// ---------------------------------------------------------------- M3U files

// Every test runs with a current folder of its own that holds a.mp3 (as the
// music folder does) and here.mp3 (which the music folder does not).
class M3uTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::GetCurrentDirectoryW(MAX_PATH, savedDirectory_);
        ASSERT_TRUE(::SetCurrentDirectoryW(current_.Path().c_str()));
        ASSERT_TRUE(test_support::WriteBinaryFile(current_.Path() + L"\\a.mp3", "ID3"));
        ASSERT_TRUE(test_support::WriteBinaryFile(current_.Path() + L"\\here.mp3", "ID3"));
    }
    void TearDown() override { ::SetCurrentDirectoryW(savedDirectory_); }

    // Writes the bytes as a playlist file in the music folder and reads it
    // into a new playlist.
    Names Read(const std::string& bytes, const std::wstring& fileName = L"list.m3u") {
        const std::wstring path = music_.Dir() + fileName;
        EXPECT_TRUE(test_support::WriteBinaryFile(path, bytes));
        Playlist playlist;
        const bool holdsEntries = playlist.AppendFromM3u(path);
        EXPECT_EQ(holdsEntries, playlist.Count() > 0);
        return Entries(playlist);
    }

    MusicFolder music_;
    test_support::TempFolder current_;
    wchar_t savedDirectory_[MAX_PATH] = {};
};

struct M3uCase {
    const char* name;
    std::string bytes;  // "<d>" stands for the music folder
    Names entries;
};

class M3uFileTest : public M3uTest, public ::testing::WithParamInterface<M3uCase> {};

TEST_P(M3uFileTest, AddsTheExistingFilesItNames) {
    EXPECT_EQ(Read(music_.ExpandBytes(GetParam().bytes)), music_.Expand(GetParam().entries));
}

const std::string kUtf8Name = "\xD0\x9F\xD1\x91\xD1\x82\xD1\x80 \xF0\x9F\x8E\xB5.mp3";
const std::string kByteOrderMark = "\xEF\xBB\xBF";
// "я" in UTF-8: two bytes for one character.
std::string Ya(size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) text += "\xD1\x8F";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, M3uFileTest,
    ::testing::Values(
        M3uCase{"DirectiveRelativeAbsolute", "#EXTM3U\nsub\\c.mp3\n<d>b.mp3\n", {L"<d>sub\\c.mp3", L"<d>b.mp3"}},
        M3uCase{"CrLfLikeLf", "#EXTM3U\r\nsub\\c.mp3\r\n<d>b.mp3\r\n", {L"<d>sub\\c.mp3", L"<d>b.mp3"}},
        M3uCase{"NoFinalLineFeed", "a.mp3\r\nb.mp3", {L"<d>a.mp3", L"<d>b.mp3"}},
        M3uCase{"PlaylistFolderBeforeCurrentFolder", "a.mp3\nhere.mp3\n", {L"<d>a.mp3", L"here.mp3"}},
        M3uCase{"CommentsAndEmptyLinesSkipped", "\n#a.mp3\r\n\r\n#EXTINF:61,Title\nb.mp3\n\n", {L"<d>b.mp3"}},
        M3uCase{"DuplicatesAndFoldersKept", "a.mp3\nsub\na.mp3\n", {L"<d>a.mp3", L"<d>sub", L"<d>a.mp3"}},
        M3uCase{"MissingFilesAndAddressesDropped", "gone.mp3\nhttp://example.com/a.mp3\nb.mp3\n", {L"<d>b.mp3"}},
        M3uCase{"NoRecursionIntoPlaylists", "list.m3u\na.mp3\n", {L"<d>list.m3u", L"<d>a.mp3"}},
        M3uCase{"LineOf2022Read", "a.mp3\n" + std::string(2022, 'x') + "\nb.mp3\n", {L"<d>a.mp3", L"<d>b.mp3"}},
        M3uCase{"LineOf2023EndsReading", "a.mp3\n" + std::string(2023, 'x') + "\nb.mp3\n", {L"<d>a.mp3"}},
        M3uCase{"CtrlZEndsFile", "a.mp3\nb.mp3\x1A\nsub\n", {L"<d>a.mp3", L"<d>b.mp3"}},
        M3uCase{"LineWithNulDropped", std::string("a.mp3\0.txt\nb.mp3\n", 17), {L"<d>b.mp3"}},
        M3uCase{"Utf8WithByteOrderMark", kByteOrderMark + kUtf8Name + "\r\na.mp3\r\n", {L"<d>" + kUnicodeName, L"<d>a.mp3"}},
        M3uCase{"Utf8WithoutByteOrderMark", "a.mp3\n<d>" + kUtf8Name, {L"<d>a.mp3", L"<d>" + kUnicodeName}},
        // The limit counts characters, not bytes.
        M3uCase{"Utf8LineOf2022Read", kByteOrderMark + Ya(2022) + "\na.mp3\n", {L"<d>a.mp3"}},
        M3uCase{"Utf8LineOf2023EndsReading", "b.mp3\n" + Ya(2023) + "\na.mp3\n", {L"<d>b.mp3"}},
        M3uCase{"Empty", "", {}}),
    CaseName<M3uCase>);

TEST_F(M3uTest, UpperCaseExtensionReadsAlike) {
    EXPECT_EQ(Read("a.mp3\n", L"LIST.M3U"), music_.Expand(Names{L"<d>a.mp3"}));
}

TEST_F(M3uTest, PathWithoutFolderTakesNamesFromCurrentFolder) {
    ASSERT_TRUE(test_support::WriteBinaryFile(current_.Path() + L"\\list.m3u", "a.mp3\nb.mp3\n"));
    Playlist playlist;
    EXPECT_TRUE(playlist.AppendFromM3u(L"list.m3u"));
    EXPECT_EQ(Entries(playlist), Names{L"a.mp3"});
}

TEST_F(M3uTest, FolderOrMissingFileAddsNothing) {
    Playlist playlist;
    EXPECT_FALSE(playlist.AppendFromM3u(music_.Dir() + L"sub"));
    EXPECT_FALSE(playlist.AppendFromM3u(music_.Dir() + L"missing.m3u"));
    EXPECT_FALSE(playlist.AppendFromM3u(L""));
    EXPECT_EQ(playlist.Count(), 0u);
}

TEST_F(M3uTest, FileOpenForWritingElsewhereIsRead) {
    const std::wstring path = music_.Dir() + L"open.m3u";
    ASSERT_TRUE(test_support::WriteBinaryFile(path, "a.mp3\n"));
    HANDLE writer = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    Playlist playlist;
    playlist.AppendFromM3u(path);
    ::CloseHandle(writer);
    EXPECT_EQ(Entries(playlist), music_.Expand(Names{L"<d>a.mp3"}));
}

// A file in the system's ANSI code page, for the code pages a test prefix may
// have: Wine takes it from the locale (1252 for C or English; scripts run the
// test again under ru_RU for 1251). The bytes are written out by hand.
struct AnsiCase {
    UINT codePage;
    std::wstring name;
    std::string bytes;
};

const AnsiCase kAnsiCases[] = {
    // "Café Señor – Ž.mp3": 0x96 and 0x8E are not Latin-1.
    {1252, L"Caf\x00E9 Se\x00F1or \x2013 \x017D.mp3", "Caf\xE9 Se\xF1or \x96 \x8E.mp3"},
    // "Пётр Чайковский.mp3"
    {1251, L"\x041F\x0451\x0442\x0440 \x0427\x0430\x0439\x043A\x043E\x0432\x0441\x043A\x0438\x0439.mp3",
     "\xCF\xB8\xF2\xF0 \xD7\xE0\xE9\xEA\xEE\xE2\xF1\xEA\xE8\xE9.mp3"},
};

TEST_F(M3uTest, AnsiCodePageFileNamesFilesRight) {
    const UINT acp = ::GetACP();
    if (const char* expected = std::getenv("MARROWDALE_EXPECT_ACP")) {
        ASSERT_EQ(acp, static_cast<UINT>(std::atoi(expected))) << "the locale did not give the expected code page";
    }
    const AnsiCase* found = nullptr;
    for (const AnsiCase& c : kAnsiCases) {
        if (c.codePage == acp) found = &c;
    }
    if (!found) GTEST_SKIP() << "no case for the ANSI code page " << acp;

    ASSERT_TRUE(test_support::WriteBinaryFile(music_.Dir() + found->name, "ID3"));
    EXPECT_EQ(Read(music_.ExpandBytes("a.mp3\r\n" + found->bytes + "\r\n<d>" + found->bytes + "\r\n")),
              music_.Expand(Names{L"<d>a.mp3", L"<d>" + found->name, L"<d>" + found->name}))
        << "code page " << acp;
}

// ---------------------------------------------------------------- huge files

constexpr size_t kTenMegabytes = 10u << 20;

std::string RandomBytes(size_t count) {
    std::mt19937 generator(20240601);
    std::string bytes(count, '\0');
    for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

TEST_F(M3uTest, TenMegabytesWithoutLineFeedEndReading) {
    EXPECT_EQ(Read("a.mp3\n" + std::string(kTenMegabytes, 'x') + "\nb.mp3\n"), music_.Expand(Names{L"<d>a.mp3"}));
    EXPECT_EQ(Read("a.mp3\n" + std::string(kTenMegabytes, '\0') + "\nb.mp3\n"), music_.Expand(Names{L"<d>a.mp3"}));
}

TEST_F(M3uTest, TenMegabytesOfRandomBytesAddOnlyExistingFiles) {
    const Names entries = Read("a.mp3\n" + RandomBytes(kTenMegabytes));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front(), music_.Dir() + L"a.mp3");
    EXPECT_LT(entries.size(), 100u);
    for (const std::wstring& entry : entries) {
        EXPECT_TRUE(FileExists(entry)) << "entry of " << entry.size() << " characters";
        EXPECT_EQ(entry.find(L'\0'), std::wstring::npos);
    }
}

}  // namespace

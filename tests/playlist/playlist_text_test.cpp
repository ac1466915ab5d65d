// The text rules on their own: lines of bytes, UTF-8 validity, the encoding
// choice and the names of playlist files.
#include "playlist/playlist_text.h"

#include "tests/playlist/playlist_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using playlist_tests::CaseName;
using playlist_tests::operator<<;
using playlist_text::FileEncoding;
using playlist_text::kMaxLineBytes;

// ---------------------------------------------------------------- byte lines

struct ByteLinesCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

class ByteLinesTest : public ::testing::TestWithParam<ByteLinesCase> {};

// Every chunk size gives the same lines: a CR LF pair or a long line may be
// cut anywhere by the reads.
TEST_P(ByteLinesTest, CutsLikeTextMode) {
    const ByteLinesCase& c = GetParam();
    for (size_t chunk : {size_t{1}, size_t{2}, size_t{3}, size_t{4096}, c.bytes.size() + 1}) {
        playlist_text::ByteLines cutter;
        std::vector<std::string> lines;
        const playlist_text::ByteLineHandler collect = [&](std::string_view line) {
            lines.emplace_back(line);
            return true;
        };
        for (size_t at = 0; at < c.bytes.size(); at += chunk) {
            if (!cutter.Feed(std::string_view(c.bytes).substr(at, chunk), collect)) break;
        }
        cutter.Finish(collect);
        EXPECT_EQ(lines, c.lines) << "chunks of " << chunk;
    }
}

const std::string kLongest(kMaxLineBytes, 'x');

INSTANTIATE_TEST_SUITE_P(
    Bytes, ByteLinesTest,
    ::testing::Values(ByteLinesCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                      ByteLinesCase{"NoFinalLineFeed", "a\nb", {"a", "b"}},
                      ByteLinesCase{"EmptyLinesPassed", "\n\na\n", {"", "", "a"}},
                      ByteLinesCase{"LoneCrStays", "a\rb\n", {"a\rb"}},
                      ByteLinesCase{"CrBeforeCrLfStays", "a\r\r\nb", {"a\r", "b"}},
                      ByteLinesCase{"CrAtEndStays", "a\r", {"a\r"}},
                      ByteLinesCase{"CtrlZEndsFile", "a\nb\x1A" "c\nd\n", {"a", "b"}},
                      ByteLinesCase{"NulIsAByte", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
                      ByteLinesCase{"LongestLine", kLongest + "\r\nb", {kLongest, "b"}},
                      ByteLinesCase{"LongerLineEndsReading", "a\n" + kLongest + "x\nb\n", {"a"}},
                      ByteLinesCase{"LongerLastLineDropped", "a\n" + kLongest + "x", {"a"}}),
    CaseName<ByteLinesCase>);

// ---------------------------------------------------------------- UTF-8

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
};

class IsValidUtf8Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(IsValidUtf8Test, Decides) { EXPECT_EQ(playlist_text::IsValidUtf8(GetParam().bytes), GetParam().valid); }

INSTANTIATE_TEST_SUITE_P(
    Bytes, IsValidUtf8Test,
    ::testing::Values(Utf8Case{"Ascii", "C:\\Music\\a.mp3", true},
                      Utf8Case{"TwoBytes", "Caf\xC3\xA9", true},
                      Utf8Case{"ThreeBytes", "\xE2\x82\xAC", true},
                      Utf8Case{"FourBytes", "\xF0\x9F\x8E\xB5", true},
                      Utf8Case{"LargestCharacter", "\xF4\x8F\xBF\xBF", true},
                      Utf8Case{"Latin1Letter", "Caf\xE9", false},
                      Utf8Case{"Cp1251Word", "\xCF\xB8\xF2\xF0", false},
                      Utf8Case{"StrayContinuation", "a\x80", false},
                      Utf8Case{"TruncatedAtEnd", "\xE2\x82", false},
                      Utf8Case{"OverlongTwoBytes", "\xC0\xAF", false},
                      Utf8Case{"OverlongThreeBytes", "\xE0\x80\xAF", false},
                      Utf8Case{"OverlongFourBytes", "\xF0\x80\x80\xAF", false},
                      Utf8Case{"Surrogate", "\xED\xA0\x80", false},
                      Utf8Case{"AboveLargest", "\xF4\x90\x80\x80", false},
                      Utf8Case{"NeverUsedByte", "\xFF", false}),
    CaseName<Utf8Case>);

struct EncodingCase {
    const char* name;
    std::string bytes;
    FileEncoding encoding;
};

class DetectEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(DetectEncodingTest, Chooses) {
    const std::string& bytes = GetParam().bytes;
    size_t at = 0;
    const playlist_text::ByteReader reader = [&](char* buffer, size_t capacity) {
        const size_t n = std::min(capacity, bytes.size() - at);
        std::copy_n(bytes.data() + at, n, buffer);
        at += n;
        return n;
    };
    EXPECT_EQ(playlist_text::DetectEncoding(reader), GetParam().encoding);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DetectEncodingTest,
    ::testing::Values(EncodingCase{"Empty", "", FileEncoding::kUtf8},
                      EncodingCase{"AnsiOnLastLineWithoutLineFeed", "a.mp3\nCaf\xE9", FileEncoding::kAnsiCodePage},
                      EncodingCase{"ByteOrderMarkWins", "\xEF\xBB\xBF" "Caf\xE9.mp3\n", FileEncoding::kUtf8},
                      EncodingCase{"ByteOrderMarkOnlyAtStart", "a\n\xEF\xBB\xBF\xE9", FileEncoding::kAnsiCodePage},
                      // Nothing past a line too long in any encoding is read,
                      // so nothing there decides.
                      EncodingCase{"PastTheReadablePart", "a\n" + kLongest + "x\n\xE9\n", FileEncoding::kUtf8}),
    CaseName<EncodingCase>);

// ---------------------------------------------------------------- names

struct NameCase {
    const char* name;
    std::wstring path;
    bool m3u;
    std::wstring folder;
};

class PlaylistNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(PlaylistNameTest, TellsPlaylistFilesAndTheirFolder) {
    EXPECT_EQ(playlist_text::IsM3uFileName(GetParam().path), GetParam().m3u);
    EXPECT_EQ(playlist_text::FolderOf(GetParam().path), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PlaylistNameTest,
    ::testing::Values(NameCase{"LowerCase", L"C:\\Music\\list.m3u", true, L"C:\\Music\\"},
                      NameCase{"UpperCase", L"C:\\MUSIC\\LIST.M3U", true, L"C:\\MUSIC\\"},
                      NameCase{"MixedCase", L"\\\\server\\share\\list.M3u", true, L"\\\\server\\share\\"},
                      NameCase{"NoFolder", L"list.m3u", true, L""},
                      NameCase{"ForwardSlashesDoNotSeparate", L"C:/Music/list.m3u", true, L""},
                      NameCase{"PlsIsAnEntry", L"C:\\Music\\list.pls", false, L"C:\\Music\\"},
                      NameCase{"Mp3IsAnEntry", L"C:\\Music\\a.mp3", false, L"C:\\Music\\"},
                      NameCase{"NoDot", L"C:\\Music\\setm3u", false, L"C:\\Music\\"},
                      NameCase{"M3u8IsAnEntry", L"C:\\Music\\list.m3u8", false, L"C:\\Music\\"},
                      NameCase{"FolderNamedLikeAPlaylist", L"C:\\x.m3u\\a.mp3", false, L"C:\\x.m3u\\"},
                      NameCase{"Short", L"m3u", false, L""}),
    CaseName<NameCase>);

// ---------------------------------------------------------------- path roots

struct RootCase {
    const char* name;
    std::wstring path;
    std::wstring root;
};

class RootTest : public ::testing::TestWithParam<RootCase> {};

TEST_P(RootTest, NamesTheDriveOrShareThatHoldsThePath) {
    EXPECT_EQ(playlist_text::RootOf(GetParam().path), GetParam().root);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RootTest,
    ::testing::Values(RootCase{"Drive", L"q:\\music\\away.mp3", L"q:\\"},
                      RootCase{"DriveRelative", L"E:away.mp3", L"E:\\"},
                      RootCase{"Share", L"\\\\NAS\\Music\\Pop\\a.mp3", L"\\\\NAS\\Music\\"},
                      RootCase{"ShareWithForwardSlashes", L"//nas/music/a.mp3", L"//nas/music/"},
                      RootCase{"ShareItself", L"\\\\NAS\\Music", L"\\\\NAS\\Music\\"},
                      RootCase{"ServerWithoutShare", L"\\\\NAS\\", L""},
                      RootCase{"LongDrive", L"\\\\?\\D:\\a.mp3", L"\\\\?\\D:\\"},
                      RootCase{"LongShare", L"\\\\?\\UNC\\NAS\\Music\\a.mp3", L"\\\\?\\UNC\\NAS\\Music\\"},
                      RootCase{"VolumeByName", L"\\\\?\\Volume{1b2c}\\a.mp3", L"\\\\?\\Volume{1b2c}\\"},
                      RootCase{"Relative", L"music\\a.mp3", L""},
                      RootCase{"RootOfTheCurrentDrive", L"\\music\\a.mp3", L""},
                      RootCase{"WebAddress", L"http://example.com/a.mp3", L""}),
    CaseName<RootCase>);

}  // namespace

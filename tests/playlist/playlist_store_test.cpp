// The stored playlist: the "PlayList" value of the product key in Wine's
// registry, kept as it was found around every test.
#include "playlist/playlist.h"

#include "config/product.h"
#include "config/registry_seam.h"
#include "tests/playlist/playlist_fixtures.h"
#include "tests/support/product_key.h"
#include "tests/support/scoped_value.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using playlist_tests::CaseName;
using playlist_tests::operator<<;
using playlist_tests::Entries;
using playlist_tests::kUnicodeName;
using playlist_tests::MusicFolder;
using Names = std::vector<std::wstring>;

constexpr wchar_t kValue[] = L"PlayList";

using test_support::RawValue;

std::optional<RawValue> ReadRaw() {
    RawValue raw;
    if (!test_support::GetRegistryRaw(HKEY_LOCAL_MACHINE, product::kKey, kValue, raw.type, raw.data)) {
        return std::nullopt;
    }
    return raw;
}

// Stores exactly the bytes given: a non-zero character behind them keeps the
// registry from counting a terminator of its own.
void WriteRaw(DWORD type, std::vector<BYTE> data) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, product::kKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    const DWORD size = static_cast<DWORD>(data.size());
    data.insert(data.end(), {0x41, 0x00, 0x41, 0x00});
    const LSTATUS status = ::RegSetValueExW(key, kValue, 0, type, data.data(), size);
    ::RegCloseKey(key);
    ASSERT_EQ(status, ERROR_SUCCESS);
}

void DeleteValue() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, product::kKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return;
    ::RegDeleteValueW(key, kValue);
    ::RegCloseKey(key);
}

std::vector<BYTE> Utf16(const std::wstring& text) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text.data());
    return std::vector<BYTE>(bytes, bytes + text.size() * sizeof(wchar_t));
}

// The product key is a fixed key: each test starts without the value and
// leaves the value, and the key, as it found them.
class StoredPlaylistTest : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY key = nullptr;
        keyExisted_ = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, product::kKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS;
        if (keyExisted_) ::RegCloseKey(key);
        saved_ = ReadRaw();
        DeleteValue();
    }
    void TearDown() override {
        if (saved_) {
            WriteRaw(saved_->type, saved_->data);
        } else {
            DeleteValue();
        }
        if (!keyExisted_) ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, product::kKey, KEY_WOW64_64KEY, 0);
    }

    MusicFolder music_;
    bool keyExisted_ = false;
    std::optional<RawValue> saved_;
};

struct LoadCase {
    const char* name;
    std::optional<DWORD> type;  // none: no value at all
    std::wstring stored;        // "<d>" stands for the music folder
    HRESULT result;
    Names entries;
};

class LoadTest : public StoredPlaylistTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadTest, KeepsTheStoredFilesThatExist) {
    const LoadCase& c = GetParam();
    if (c.type) WriteRaw(*c.type, Utf16(music_.Expand(c.stored)));
    Playlist playlist;
    playlist.Add(L"replaced by the load");
    EXPECT_EQ(playlist.Load(), c.result);
    EXPECT_EQ(Entries(playlist), music_.Expand(c.entries));
}

const std::wstring k2022(2022, L'x');

INSTANTIATE_TEST_SUITE_P(
    Values, LoadTest,
    ::testing::Values(
        LoadCase{"NoValue", std::nullopt, L"", E_FAIL, {}},
        LoadCase{"EmptyValue", REG_SZ, L"", E_FAIL, {}},
        LoadCase{"OtherType", REG_EXPAND_SZ, L"<d>a.mp3\n", E_FAIL, {}},
        LoadCase{"NoFinalLineFeed", REG_SZ, L"<d>a.mp3\n<d>b.mp3", S_OK, {L"<d>a.mp3", L"<d>b.mp3"}},
        LoadCase{"Terminated", REG_SZ, std::wstring(L"<d>a.mp3\n\0", 10), S_OK, {L"<d>a.mp3"}},
        LoadCase{"DuplicatesKept", REG_SZ, L"<d>a.mp3\n<d>b.mp3\n<d>a.mp3\n", S_OK,
                 {L"<d>a.mp3", L"<d>b.mp3", L"<d>a.mp3"}},
        LoadCase{"VanishedDroppedFolderKept", REG_SZ, L"<d>gone.mp3\n<d>sub\n<d>b.mp3\n", S_OK, {L"<d>sub", L"<d>b.mp3"}},
        LoadCase{"CommentsAndEmptyLinesSkipped", REG_SZ, L"#<d>a.mp3\n\n<d>b.mp3\n\n", S_OK, {L"<d>b.mp3"}},
        LoadCase{"UnicodeName", REG_SZ, L"<d>" + kUnicodeName + L"\n", S_OK, {L"<d>" + kUnicodeName}},
        LoadCase{"LineOf2022Read", REG_SZ, L"<d>a.mp3\n" + k2022 + L"\n<d>b.mp3\n", S_OK, {L"<d>a.mp3", L"<d>b.mp3"}},
        LoadCase{"LineOf2023EndsReading", REG_SZ, L"<d>a.mp3\n" + k2022 + L"x\n<d>b.mp3\n", S_OK, {L"<d>a.mp3"}}),
    CaseName<LoadCase>);

TEST_F(StoredPlaylistTest, SavesEachEntryFollowedByLineFeedWithoutTerminator) {
    Playlist playlist;
    for (const wchar_t* name : {L"<d>a.mp3", L"<d>sub", L"<d>a.mp3", L"<d>gone.mp3"}) playlist.Add(music_.Expand(name));
    playlist.Add(music_.Expand(L"<d>") + kUnicodeName);
    EXPECT_EQ(playlist.Save(), S_OK);

    const std::optional<RawValue> raw = ReadRaw();
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw->data, Utf16(music_.Expand(L"<d>a.mp3\n<d>sub\n<d>a.mp3\n<d>gone.mp3\n<d>") + kUnicodeName + L"\n"));
}

TEST_F(StoredPlaylistTest, EmptyPlaylistSavesNoData) {
    WriteRaw(REG_SZ, Utf16(music_.Expand(L"<d>a.mp3\n")));
    EXPECT_EQ(Playlist().Save(), S_OK);
    const std::optional<RawValue> raw = ReadRaw();
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(raw->data.empty());
}

TEST_F(StoredPlaylistTest, VanishedFileLeavesTheNextSave) {
    ASSERT_TRUE(test_support::WriteBinaryFile(music_.Dir() + L"doomed.mp3", "ID3"));
    WriteRaw(REG_SZ, Utf16(music_.Expand(L"<d>a.mp3\n<d>doomed.mp3\n<d>b.mp3")));
    ASSERT_TRUE(::DeleteFileW((music_.Dir() + L"doomed.mp3").c_str()));

    Playlist playlist;
    playlist.Load();
    EXPECT_EQ(playlist.Save(), S_OK);
    const std::optional<RawValue> raw = ReadRaw();
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->data, Utf16(music_.Expand(L"<d>a.mp3\n<d>b.mp3\n")));
}

LSTATUS WINAPI FailingSetValue(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD) { return ERROR_ACCESS_DENIED; }

TEST_F(StoredPlaylistTest, FailedWriteIsReportedToTheCaller) {
    Playlist playlist;
    playlist.Add(music_.Dir() + L"a.mp3");
    registry_seam::Api api;
    api.setValue = &FailingSetValue;
    registry_seam::ScopedApi failing(api);
    EXPECT_EQ(playlist.Save(), E_FAIL);
}

}  // namespace

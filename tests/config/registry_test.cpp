// Single registry strings against Wine's real registry, in a scratch key.
#include "config/registry.h"

#include "config/registry_seam.h"
#include "tests/support/access_recorder.h"
#include "tests/support/scratch_key.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using test_support::ScratchKey;

const std::wstring kUntouched = L"untouched";

std::vector<BYTE> Bytes(const std::wstring& text, size_t extraBytes = 0) {
    std::vector<BYTE> bytes(reinterpret_cast<const BYTE*>(text.data()),
                            reinterpret_cast<const BYTE*>(text.data()) + text.size() * sizeof(wchar_t));
    bytes.insert(bytes.end(), extraBytes, 0x7A);
    return bytes;
}

struct ReadCase {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
    HRESULT result;
    std::wstring text;  // expected text; kUntouched when it must not change
};

class ReadRegistryStringTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadRegistryStringTest, ReadsAsStoredOrLeavesTextAlone) {
    ScratchKey scratch;
    const ReadCase& c = GetParam();
    scratch.SetRaw(L"Value", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
    std::wstring text = kUntouched;
    EXPECT_EQ(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), L"Value", text, true), c.result);
    EXPECT_EQ(text, c.text);
}

std::vector<BYTE> Dword(DWORD value) {
    return std::vector<BYTE>(reinterpret_cast<BYTE*>(&value), reinterpret_cast<BYTE*>(&value) + sizeof(value));
}

const std::wstring kLong(100000, L'x');

INSTANTIATE_TEST_SUITE_P(
    Data, ReadRegistryStringTest,
    ::testing::Values(
        ReadCase{"Terminated", REG_SZ, Bytes(std::wstring(L"C:\\Games\\", 10)), S_OK, L"C:\\Games\\"},
        ReadCase{"Unterminated", REG_SZ, Bytes(L"3: de"), S_OK, L"3: de"},
        ReadCase{"EmbeddedNul", REG_SZ, Bytes(std::wstring(L"abc\0def", 7)), S_OK, L"abc"},
        ReadCase{"LeadingNul", REG_SZ, Bytes(std::wstring(L"\0abc", 4)), S_OK, L""},
        ReadCase{"OddByteCount", REG_SZ, Bytes(L"abc", 1), S_OK, L"abc"},
        ReadCase{"SingleByte", REG_SZ, std::vector<BYTE>{0x41}, S_OK, L""},
        ReadCase{"NonAscii", REG_SZ, Bytes(L"\x0420\x0443\x0441 \xD83D\xDE00"), S_OK, L"\x0420\x0443\x0441 \xD83D\xDE00"},
        ReadCase{"VeryLong", REG_SZ, Bytes(kLong), S_OK, kLong},
        ReadCase{"Empty", REG_SZ, std::vector<BYTE>{}, E_FAIL, kUntouched},
        ReadCase{"Dword", REG_DWORD, Dword(7), E_FAIL, kUntouched},
        ReadCase{"ExpandString", REG_EXPAND_SZ, Bytes(std::wstring(L"%TEMP%", 7)), E_FAIL, kUntouched},
        ReadCase{"MultiString", REG_MULTI_SZ, Bytes(std::wstring(L"a\0b\0", 5)), E_FAIL, kUntouched},
        ReadCase{"Binary", REG_BINARY, Bytes(L"abc"), E_FAIL, kUntouched}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(ReadRegistryString, MissingKeyOrValueLeavesTextAlone) {
    ScratchKey scratch;
    std::wstring text = kUntouched;
    EXPECT_EQ(ReadRegistryString(scratch.Root(), (scratch.Path() + L"\\Missing").c_str(), L"Value", text, false),
              E_FAIL);
    EXPECT_EQ(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), L"Missing", text, false), E_FAIL);
    EXPECT_EQ(text, kUntouched);
}

TEST(WriteRegistryString, RoundTripsAndStoresNoTerminator) {
    ScratchKey scratch;
    for (const std::wstring& original : {std::wstring(L"2: -1"), std::wstring(L"C:\\Program Files\\M\\"),
                                         std::wstring(L"\x00E9t\x00E9 \x0434\x0430"), std::wstring(5000, L'q')}) {
        ASSERT_EQ(WriteRegistryString(scratch.Root(), scratch.Path().c_str(), L"Value", original, true), S_OK);
        DWORD type = 0;
        std::vector<BYTE> stored;
        ASSERT_TRUE(scratch.GetRaw(L"Value", type, stored));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(stored, Bytes(original));
        std::wstring text;
        EXPECT_EQ(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), L"Value", text, true), S_OK);
        EXPECT_EQ(text, original);
    }
}

TEST(WriteRegistryString, EmptyTextIsZeroBytesAndReadsAsFailure) {
    ScratchKey scratch;
    ASSERT_EQ(WriteRegistryString(scratch.Root(), scratch.Path().c_str(), L"Value", L"", false), S_OK);
    DWORD type = 0;
    std::vector<BYTE> stored{1};
    ASSERT_TRUE(scratch.GetRaw(L"Value", type, stored));
    EXPECT_TRUE(stored.empty());
    std::wstring text = kUntouched;
    EXPECT_EQ(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), L"Value", text, false), E_FAIL);
    EXPECT_EQ(text, kUntouched);
}

TEST(WriteRegistryString, CreatesMissingParentKeys) {
    ScratchKey scratch;
    const std::wstring deep = scratch.Path() + L"\\a\\b\\c";
    ASSERT_EQ(WriteRegistryString(scratch.Root(), deep.c_str(), L"Value", L"x", false), S_OK);
    std::wstring text;
    EXPECT_EQ(ReadRegistryString(scratch.Root(), deep.c_str(), L"Value", text, false), S_OK);
    EXPECT_EQ(text, L"x");
}

using test_support::AccessRecorder;

struct ViewCase {
    bool wow64;
    bool use64View;
    REGSAM readAccess;
    REGSAM writeAccess;
};

class RegistryViewTest : public ::testing::TestWithParam<ViewCase> {};

TEST_P(RegistryViewTest, AsksForTheRightView) {
    ScratchKey scratch;
    const ViewCase& c = GetParam();
    registry_seam::Api api;
    api.openKey = &AccessRecorder::Open;
    api.createKey = &AccessRecorder::Create;
    api.is64BitWindows = c.wow64;
    registry_seam::ScopedApi seam(api);
    AccessRecorder::opened.clear();
    AccessRecorder::created.clear();

    ASSERT_EQ(WriteRegistryString(scratch.Root(), scratch.Path().c_str(), L"V", L"x", c.use64View), S_OK);
    std::wstring text;
    ASSERT_EQ(ReadRegistryString(scratch.Root(), scratch.Path().c_str(), L"V", text, c.use64View), S_OK);

    EXPECT_EQ(AccessRecorder::created, std::vector<REGSAM>{c.writeAccess});
    EXPECT_EQ(AccessRecorder::opened, std::vector<REGSAM>{c.readAccess});
    EXPECT_EQ(RegistryReadAccess(c.use64View), c.readAccess);
    EXPECT_EQ(RegistryWriteAccess(c.use64View), c.writeAccess);
}

INSTANTIATE_TEST_SUITE_P(Views, RegistryViewTest,
                         ::testing::Values(ViewCase{true, true, 0x20119, 0x102}, ViewCase{true, false, 0x20019, 0x2},
                                           ViewCase{false, true, 0x20019, 0x2}, ViewCase{false, false, 0x20019, 0x2}));

LSTATUS WINAPI FailingSetValue(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD) { return ERROR_ACCESS_DENIED; }

LSTATUS WINAPI FailingCreate(HKEY, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM, const LPSECURITY_ATTRIBUTES, PHKEY,
                             LPDWORD) {
    return ERROR_ACCESS_DENIED;
}

TEST(WriteRegistryString, ReportsFailedWritesAndCreates) {
    ScratchKey scratch;
    {
        registry_seam::Api api;
        api.setValue = &FailingSetValue;
        registry_seam::ScopedApi seam(api);
        EXPECT_EQ(WriteRegistryString(scratch.Root(), scratch.Path().c_str(), L"V", L"x", true), E_FAIL);
    }
    {
        registry_seam::Api api;
        api.createKey = &FailingCreate;
        registry_seam::ScopedApi seam(api);
        EXPECT_EQ(WriteRegistryString(scratch.Root(), scratch.Path().c_str(), L"V", L"x", true), E_FAIL);
    }
    DWORD type = 0;
    std::vector<BYTE> stored;
    EXPECT_FALSE(scratch.GetRaw(L"V", type, stored));
}

// The key WriteRegistryString creates, and what it held when it was flushed
// (read through a key of its own: the written one may only set values).
struct FlushRecorder {
    static inline HKEY root = nullptr;
    static inline std::wstring path;
    static inline HKEY created = nullptr;
    static inline std::vector<HKEY> flushed;
    static inline std::wstring valueAtFlush;
    static LSTATUS WINAPI Create(HKEY parent, LPCWSTR subKey, DWORD reserved, LPWSTR cls, DWORD options, REGSAM access,
                                 const LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition) {
        const LSTATUS status =
            ::RegCreateKeyExW(parent, subKey, reserved, cls, options, access, security, key, disposition);
        if (status == ERROR_SUCCESS) created = *key;
        root = parent;
        path = subKey;
        return status;
    }
    static LSTATUS WINAPI Flush(HKEY key) {
        flushed.push_back(key);
        ::ReadRegistryString(root, path.c_str(), L"V", valueAtFlush, false);
        return ::RegFlushKey(key);
    }
};

TEST(WriteRegistryString, FlushesTheWrittenKey) {
    ScratchKey scratch;
    registry_seam::Api api;
    api.createKey = &FlushRecorder::Create;
    api.flushKey = &FlushRecorder::Flush;
    registry_seam::ScopedApi seam(api);
    ASSERT_EQ(WriteRegistryString(scratch.Root(), scratch.Path().c_str(), L"V", L"2: 7", false), S_OK);
    EXPECT_EQ(FlushRecorder::flushed, std::vector<HKEY>{FlushRecorder::created});
    EXPECT_EQ(FlushRecorder::valueAtFlush, L"2: 7");
}

TEST(Is64BitWindows, TrueForA32BitProcessUnderWow64Only) {
    // The 32-bit tests run in a WoW64 prefix, as the shipped program runs on
    // 64-bit Windows: the answer comes from IsWow64Process. A 64-bit process
    // is never under WoW64 and has no second view to choose.
    BOOL wow64 = TRUE;
    ASSERT_TRUE(::IsWow64Process(::GetCurrentProcess(), &wow64));
    EXPECT_EQ(wow64 != FALSE, sizeof(void*) == 4);
    EXPECT_EQ(Is64BitWindows(), sizeof(void*) == 4);
}

TEST(FileExists, FilesAndFoldersExistOthersDoNot) {
    test_support::TempFolder folder;
    const std::wstring file = folder.Path() + L"\\file.txt";
    ASSERT_TRUE(test_support::WriteBinaryFile(file, "x"));
    EXPECT_TRUE(FileExists(folder.Path()));
    EXPECT_TRUE(FileExists(folder.Path() + L"\\"));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(folder.Path() + L"\\missing.txt"));
    EXPECT_FALSE(FileExists(L""));
    EXPECT_FALSE(FileExists(std::wstring(40000, L'a')));
}

}  // namespace

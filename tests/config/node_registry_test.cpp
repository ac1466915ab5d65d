// Trees saved to and loaded from Wine's real registry, in a scratch key.
#include "config/node.h"

#include "config/reg_key.h"
#include "config/registry_seam.h"
#include "tests/config/tree_dump.h"
#include "tests/support/scratch_key.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <ostream>
#include <string>
#include <vector>

namespace {

using test_support::Dump;
using test_support::ScratchKey;

std::vector<BYTE> Bytes(const std::wstring& text) {
    return std::vector<BYTE>(reinterpret_cast<const BYTE*>(text.data()),
                             reinterpret_cast<const BYTE*>(text.data()) + text.size() * sizeof(wchar_t));
}

// The stored data of a value as text; "<missing>" when there is no value and
// "<type N>" when it is not REG_SZ.
std::wstring Stored(const ScratchKey& scratch, const std::wstring& name) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!scratch.GetRaw(name, type, data)) return L"<missing>";
    if (type != REG_SZ) return L"<type " + std::to_wstring(type) + L">";
    if (data.size() % 2) return L"<odd size>";
    return std::wstring(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2);
}

HKEY MakeSubkey(const ScratchKey& scratch, const std::wstring& path, const wchar_t* className = nullptr) {
    HKEY key = nullptr;
    std::wstring cls = className ? className : L"";
    EXPECT_EQ(::RegCreateKeyExW(scratch.Get(), path.c_str(), 0, cls.data(), REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    return key;
}

// Makes the subkey and stores text there as REG_SZ without a terminator.
void SetInSubkey(const ScratchKey& scratch, const std::wstring& path, const std::wstring& name,
                 const std::wstring& text, const wchar_t* className = nullptr) {
    HKEY key = MakeSubkey(scratch, path, className);
    std::wstring copy = text + L"A";
    EXPECT_EQ(::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(copy.data()),
                               static_cast<DWORD>(text.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
}

// ---------------------------------------------------------------- saving

TEST(SaveToRegistry, WritesTypedTextWithoutTerminator) {
    ScratchKey scratch;
    Node node;
    node.Get(L"Float") = 0.5f;
    node.Get(L"Tiny") = 1.0e-7f;
    node.Get(L"Integer") = -1;
    node.Get(L"Language") = L"ru";
    node.Get(L"Blanks") = L" \tlead";
    node.Get(L"Empty") = L"";
    node.Get(L"Unset");
    ASSERT_TRUE(node.SaveToRegistry(scratch.Root(), scratch.Path().c_str()));

    struct Expected {
        const wchar_t* name;
        std::wstring data;
    };
    for (const Expected& e : {Expected{L"Float", L"1: 0.500000"}, Expected{L"Tiny", L"1: 0.000000"},
                              Expected{L"Integer", L"2: -1"}, Expected{L"Language", L"3: ru"},
                              Expected{L"Blanks", L"3:  \tlead"}}) {
        DWORD type = 0;
        std::vector<BYTE> raw;
        ASSERT_TRUE(scratch.GetRaw(e.name, type, raw)) << e.name;
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << e.name;
        EXPECT_EQ(raw, Bytes(e.data)) << e.name;
    }
    EXPECT_EQ(Stored(scratch, L"Empty"), L"<missing>");
    EXPECT_EQ(Stored(scratch, L"Unset"), L"<missing>");
}

TEST(SaveToRegistry, EmptyTextKeepsTheStoredValue) {
    ScratchKey scratch;
    scratch.SetUnterminated(L"Name", L"3: old");
    Node node;
    node.Get(L"Name") = L"";
    ASSERT_TRUE(node.SaveToRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Stored(scratch, L"Name"), L"3: old");
    Node reloaded;
    ASSERT_TRUE(reloaded.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Dump(reloaded), L"{Name=s'old'}");
}

TEST(SaveToRegistry, NeverDeletesAndOverwritesByName) {
    ScratchKey scratch;
    scratch.SetUnterminated(L"Other", L"2: 5");
    scratch.SetDword(L"Count", 3);
    ::RegCloseKey(MakeSubkey(scratch, L"Keep"));
    Node node;
    node.Get(L"Count") = 9;
    ASSERT_TRUE(node.SaveToRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Stored(scratch, L"Other"), L"2: 5");
    EXPECT_EQ(Stored(scratch, L"Count"), L"2: 9");
    RegKey kept;
    EXPECT_EQ(kept.Open(scratch.Get(), L"Keep", KEY_READ), ERROR_SUCCESS);
}

TEST(SaveToRegistry, CreatesTheKeyAndSubtreesAsSubkeys) {
    ScratchKey scratch;
    Node node;
    node.Get(L"a/b/c") = 1;
    node.Get(L"a/d") = L"x";
    node.Get(L"a/e");
    node.Get(L"top") = 2.0f;
    const std::wstring path = scratch.Path() + L"\\new\\deeper";
    ASSERT_TRUE(node.SaveToRegistry(scratch.Root(), path.c_str()));

    RegKey b;
    ASSERT_EQ(b.Open(scratch.Get(), L"new\\deeper\\a\\b", KEY_READ), ERROR_SUCCESS);
    Node reloaded;
    ASSERT_TRUE(reloaded.LoadFromRegistry(scratch.Root(), path.c_str()));
    EXPECT_EQ(Dump(reloaded), L"{a={b={c=i1},d=s'x'},top=f2}");
}

TEST(SaveToRegistry, ASubtreeUnderTheEmptyKeyIsLeftOutAndTheRestSaved) {
    // A value named "/x" loads as x below the empty key. Stored as a subkey
    // of empty name it would land in the key itself and write over the
    // tree's own x; it is left out, and the value it came from stays as is.
    ScratchKey scratch;
    scratch.SetUnterminated(L"/x", L"2: 1");
    Node node;
    ASSERT_TRUE(node.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    node.Get(L"x") = 2;
    EXPECT_TRUE(node.SaveToRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Stored(scratch, L"x"), L"2: 2");
    EXPECT_EQ(Stored(scratch, L"/x"), L"2: 1");
}

TEST(SaveToRegistry, TheEmptyKeyAsAValueIsTheDefaultValue) {
    ScratchKey scratch;
    Node node;
    node.Get(L"") = 4;
    ASSERT_TRUE(node.SaveToRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Stored(scratch, L""), L"2: 4");
    Node reloaded;
    ASSERT_TRUE(reloaded.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Dump(reloaded), L"{=i4}");
}

// ---------------------------------------------------------------- round trips

struct RoundTripCase {
    const char* name;
    ConfigValue (*make)();
    std::wstring stored;  // the data in the registry
    std::wstring loaded;  // the Dump of the entry after a load over the default
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class RoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTripTest, SavesAndLoads) {
    const RoundTripCase& c = GetParam();
    ScratchKey scratch;
    Node node;
    node.Get(L"V") = c.make();
    ASSERT_TRUE(node.SaveToRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Stored(scratch, L"V"), c.stored);
    Node reloaded;
    reloaded.Get(L"V") = L"default";
    ASSERT_TRUE(reloaded.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Dump(reloaded.Get(L"V")), c.loaded);
}

const std::wstring k2045(2045, L'w');
const std::wstring k2046(2046, L'w');

INSTANTIATE_TEST_SUITE_P(
    Values, RoundTripTest,
    ::testing::Values(
        RoundTripCase{"Half", [] { return ConfigValue(0.5f); }, L"1: 0.500000", L"f0.5"},
        RoundTripCase{"TinyFloat", [] { return ConfigValue(1.0e-7f); }, L"1: 0.000000", L"f0"},
        RoundTripCase{"MinusOne", [] { return ConfigValue(-1); }, L"2: -1", L"i-1"},
        RoundTripCase{"IntMin", [] { return ConfigValue(INT32_MIN); }, L"2: -2147483648", L"i-2147483648"},
        RoundTripCase{"Text", [] { return ConfigValue(L"ru"); }, L"3: ru", L"s'ru'"},
        RoundTripCase{"NonAsciiText", [] { return ConfigValue(L"\x0420\x0443\x0441 \xD83D\xDE00"); },
                      L"3: \x0420\x0443\x0441 \xD83D\xDE00", L"s'\x0420\x0443\x0441 \xD83D\xDE00'"},
        RoundTripCase{"LeadingBlanksDropped", [] { return ConfigValue(L"  \t lead"); }, L"3:   \t lead", L"s'lead'"},
        RoundTripCase{"CutAtTab", [] { return ConfigValue(L"ab\tcd"); }, L"3: ab\tcd", L"s'ab'"},
        RoundTripCase{"Longest", [] { return ConfigValue(k2045); }, L"3: " + k2045, L"s'" + k2045 + L"'"},
        RoundTripCase{"OneTooLong", [] { return ConfigValue(k2046); }, L"3: " + k2046, L"s'default'"},
        RoundTripCase{"Unset", [] { return ConfigValue(); }, L"<missing>", L"s'default'"}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- loading

TEST(LoadFromRegistry, KeepsDefaultsTheKeyDoesNotOverride) {
    ScratchKey scratch;
    scratch.SetUnterminated(L"Volume", L"2: 30");
    scratch.SetUnterminated(L"Language", L"2: 7");
    scratch.SetUnterminated(L"Junk", L"not typed");
    Node node;
    node.Get(L"Volume") = 80;
    node.Get(L"Language") = L"en";
    node.Get(L"Speed") = 1.5f;
    node.Get(L"Junk") = 3;
    node.Get(L"Empty") = L"";
    node.Get(L"Pending");
    ASSERT_TRUE(node.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Dump(node), L"{Empty=s'',Junk=i3,Language=i7,Pending=U,Speed=f1.5,Volume=i30}");
}

TEST(LoadFromRegistry, MissingKeyIsFalseAndChangesNothing) {
    ScratchKey scratch;
    Node node;
    node.Get(L"a") = 1;
    EXPECT_FALSE(node.LoadFromRegistry(scratch.Root(), (scratch.Path() + L"\\missing").c_str()));
    EXPECT_EQ(Dump(node), L"{a=i1}");
}

// Bad and odd data as other programs may write it. Every case also holds a
// good value, which must load whatever happens to the odd one.
struct DataCase {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
    std::wstring loaded;  // the Dump of entry V after loading over s'default'
};

void PrintTo(const DataCase& c, std::ostream* os) { *os << c.name; }

class LoadDataTest : public ::testing::TestWithParam<DataCase> {};

TEST_P(LoadDataTest, LoadsOrSkipsSafely) {
    const DataCase& c = GetParam();
    ScratchKey scratch;
    scratch.SetRaw(L"V", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
    scratch.SetUnterminated(L"Good", L"2: 42");
    Node node;
    node.Get(L"V") = L"default";
    ASSERT_TRUE(node.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Dump(node.Get(L"V")), c.loaded);
    EXPECT_EQ(Dump(node.Get(L"Good")), L"i42");
}

std::vector<BYTE> Padded(const std::wstring& text, size_t extraBytes) {
    std::vector<BYTE> bytes = Bytes(text);
    bytes.insert(bytes.end(), extraBytes, 0x41);
    return bytes;
}

std::vector<BYTE> DwordBytes(DWORD value) {
    return std::vector<BYTE>(reinterpret_cast<BYTE*>(&value), reinterpret_cast<BYTE*>(&value) + sizeof(value));
}

INSTANTIATE_TEST_SUITE_P(
    Data, LoadDataTest,
    ::testing::Values(
        DataCase{"Unterminated", REG_SZ, Bytes(L"2: 5"), L"i5"},
        DataCase{"Terminated", REG_SZ, Bytes(std::wstring(L"2: 5\0", 5)), L"i5"},
        DataCase{"NulInTheMiddle", REG_SZ, Bytes(std::wstring(L"3: ab\0cd", 8)), L"s'ab'"},
        DataCase{"NulFirst", REG_SZ, Bytes(std::wstring(L"\0" L"3: x", 5)), L"s'default'"},
        DataCase{"OddByteCount", REG_SZ, Padded(L"3: abc", 1), L"s'abc'"},
        DataCase{"OddAfterPrefix", REG_SZ, Padded(L"3: ", 1), L"s''"},
        DataCase{"OneByte", REG_SZ, std::vector<BYTE>{0x33}, L"s'default'"},
        DataCase{"NoData", REG_SZ, std::vector<BYTE>{}, L"s'default'"},
        DataCase{"Exactly4096Bytes", REG_SZ, Bytes(L"3: " + k2045), L"s'" + k2045 + L"'"},
        DataCase{"Exactly4096BytesInteger", REG_SZ, Bytes(L"2: " + std::wstring(2044, L'0') + L"7"), L"i7"},
        DataCase{"4097Bytes", REG_SZ, Padded(L"3: " + k2045, 1), L"s'default'"},
        DataCase{"4098Bytes", REG_SZ, Bytes(L"3: " + k2046), L"s'default'"},
        DataCase{"VeryLong", REG_SZ, Bytes(L"2: 1" + std::wstring(100000, L'0')), L"s'default'"},
        DataCase{"NaN", REG_SZ, Bytes(L"1: nan"), L"f0"},
        DataCase{"FloatOverflow", REG_SZ, Bytes(L"1: 1e40"), L"f3.4028235e+38"},
        DataCase{"MinusZero", REG_SZ, Bytes(L"1: -0"), L"f-0"},
        DataCase{"IntegerBeyond32Bits", REG_SZ, Bytes(L"2: 99999999999"), L"i1215752191"},
        DataCase{"Hex", REG_SZ, Bytes(L"2: 0x10"), L"i16"},
        DataCase{"Octal", REG_SZ, Bytes(L"2: 010"), L"i8"},
        DataCase{"TrailingLetters", REG_SZ, Bytes(L"2: 12abc"), L"i12"},
        DataCase{"OnlyPrefix", REG_SZ, Bytes(L"2: "), L"i0"},
        DataCase{"CodeFour", REG_SZ, Bytes(L"4: 1"), L"s'default'"},
        DataCase{"NoSpace", REG_SZ, Bytes(L"2:5"), L"s'default'"},
        DataCase{"NotTyped", REG_SZ, Bytes(L"hello"), L"s'default'"},
        DataCase{"Dword", REG_DWORD, DwordBytes(7), L"s'default'"},
        // The registry type is not examined: the data decides.
        DataCase{"BinaryWithTypedText", REG_BINARY, Bytes(L"2: 9"), L"i9"},
        DataCase{"ExpandString", REG_EXPAND_SZ, Bytes(L"3: %TEMP%"), L"s'%TEMP%'"},
        DataCase{"MultiString", REG_MULTI_SZ, Bytes(std::wstring(L"3: a\0b\0\0", 9)), L"s'a'"}),
    [](const ::testing::TestParamInfo<DataCase>& info) { return std::string(info.param.name); });

struct NameCase {
    const char* name;
    std::wstring valueName;
    bool loads;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.name; }

class LoadNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(LoadNameTest, LongNamesAreSkippedAlone) {
    const NameCase& c = GetParam();
    ScratchKey scratch;
    scratch.SetUnterminated(c.valueName, L"2: 1");
    scratch.SetUnterminated(L"Good", L"2: 42");
    Node node;
    ASSERT_TRUE(node.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(node.Has(c.valueName, ValueType::Integer), c.loads);
    EXPECT_EQ(Dump(node.Get(L"Good")), L"i42");
    EXPECT_EQ(node.entries().size(), c.loads ? 2u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Names, LoadNameTest,
                         ::testing::Values(NameCase{"Chars4095", std::wstring(4095, L'n'), true},
                                           NameCase{"Chars4096", std::wstring(4096, L'n'), false},
                                           NameCase{"Chars10000", std::wstring(10000, L'n'), false},
                                           NameCase{"Empty", L"", true}),
                         [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.name); });

TEST(LoadFromRegistry, SlashedNamesArePaths) {
    ScratchKey scratch;
    scratch.SetUnterminated(L"a/b", L"2: 1");
    scratch.SetUnterminated(L"i/x", L"2: 2");  // runs through the Integer i
    scratch.SetUnterminated(L"u/x", L"2: 3");  // through the Unset u
    scratch.SetUnterminated(L"z", L"2: 4");
    SetInSubkey(scratch, L"i/k", L"v", L"2: 5");
    SetInSubkey(scratch, L"n/m", L"v", L"2: 6");
    Node node;
    node.Get(L"i") = 7;
    node.Get(L"u");
    ASSERT_TRUE(node.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Dump(node), L"{a={b=i1},i=i7,n={m={v=i6}},u=U,z=i4}");
}

TEST(LoadFromRegistry, SubkeysLoadBeforeValues) {
    ScratchKey scratch;
    SetInSubkey(scratch, L"X", L"v", L"2: 1");
    SetInSubkey(scratch, L"Y", L"v", L"2: 2");
    scratch.SetUnterminated(L"X", L"3: value");
    Node node;
    node.Get(L"Y") = 5;  // an entry that a subkey replaces
    node.Get(L"W/keep") = 1;
    ASSERT_TRUE(node.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Dump(node), L"{W={keep=i1},X=s'value',Y={v=i2}}");
}

TEST(LoadFromRegistry, MergesIntoExistingSubtrees) {
    ScratchKey scratch;
    SetInSubkey(scratch, L"S", L"new", L"2: 1");
    Node node;
    node.Get(L"S/old") = 2;
    ASSERT_TRUE(node.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Dump(node), L"{S={new=i1,old=i2}}");
}

TEST(LoadFromRegistry, ALongClassNameDoesNotStopTheLoad) {
    ScratchKey scratch;
    const std::wstring longClass(300, L'c');
    SetInSubkey(scratch, L"Classy", L"v", L"2: 1", longClass.c_str());
    Node node;
    ASSERT_TRUE(node.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Dump(node), L"{Classy={v=i1}}");
}

TEST(LoadFromRegistry, DeepKeysLoad) {
    // Deeper than a stack of name and data buffers per level would allow.
    constexpr int kDepth = 400;
    ScratchKey scratch;
    std::wstring keyPath = L"k";
    std::wstring treePath = L"k/";
    for (int depth = 1; depth < kDepth; ++depth) {
        keyPath += L"\\k";
        treePath += L"k/";
    }
    SetInSubkey(scratch, keyPath, L"v", L"2: 1");
    Node node;
    ASSERT_TRUE(node.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_TRUE(node.Has(treePath + L"v", ValueType::Integer));
    EXPECT_EQ(node.Get(treePath + L"v").AsInt(), 1);
}

// ---------------------------------------------------------------- rights, flush, failures

// Records what the tree asks of the registry and can make single calls fail.
struct Recorder {
    static inline std::vector<std::wstring> openPaths, createPaths;
    static inline std::vector<REGSAM> openAccess, createAccess;
    static inline std::vector<HKEY> handles, created, flushed;
    static inline std::wstring failOpen, failCreate;
    static inline int failSetAt = -1;
    static inline int setCalls = 0;

    static void Reset() {
        openPaths.clear();
        createPaths.clear();
        openAccess.clear();
        createAccess.clear();
        handles.clear();
        created.clear();
        flushed.clear();
        failOpen = failCreate = L"<none>";
        failSetAt = -1;
        setCalls = 0;
    }
    static LSTATUS WINAPI Open(HKEY root, LPCWSTR path, DWORD options, REGSAM access, PHKEY key) {
        openPaths.push_back(path ? path : L"");
        openAccess.push_back(access);
        if (openPaths.back() == failOpen) return ERROR_ACCESS_DENIED;
        const LSTATUS status = ::RegOpenKeyExW(root, path, options, access, key);
        if (status == ERROR_SUCCESS) handles.push_back(*key);
        return status;
    }
    static LSTATUS WINAPI Create(HKEY root, LPCWSTR path, DWORD reserved, LPWSTR cls, DWORD options, REGSAM access,
                                 const LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition) {
        createPaths.push_back(path ? path : L"");
        createAccess.push_back(access);
        if (createPaths.back() == failCreate) return ERROR_ACCESS_DENIED;
        const LSTATUS status = ::RegCreateKeyExW(root, path, reserved, cls, options, access, security, key, disposition);
        if (status == ERROR_SUCCESS) {
            handles.push_back(*key);
            created.push_back(*key);
        }
        return status;
    }
    static LSTATUS WINAPI SetValue(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD bytes) {
        if (setCalls++ == failSetAt) return ERROR_ACCESS_DENIED;
        return ::RegSetValueExW(key, name, reserved, type, data, bytes);
    }
    static LSTATUS WINAPI Flush(HKEY key) {
        flushed.push_back(key);
        return ::RegFlushKey(key);
    }
    static registry_seam::Api Api(bool wow64) {
        registry_seam::Api api;
        api.openKey = &Open;
        api.createKey = &Create;
        api.setValue = &SetValue;
        api.flushKey = &Flush;
        api.is64BitWindows = wow64;
        return api;
    }
    // True when no key handle that the tree opened is still open.
    static bool AllClosed() {
        for (HKEY key : handles) {
            DWORD values = 0;
            if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                                   nullptr, nullptr, nullptr) != ERROR_INVALID_HANDLE) {
                return false;
            }
        }
        return true;
    }
};

class TreeRegistryViewTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { Recorder::Reset(); }
};

TEST_P(TreeRegistryViewTest, EveryKeyInTheNodesViewClosedAndFlushed) {
    const bool wow64 = GetParam();
    ScratchKey scratch;
    registry_seam::ScopedApi seam(Recorder::Api(wow64));
    Node node;
    node.Get(L"a/b") = 1;
    node.Get(L"c") = 2;
    ASSERT_TRUE(node.SaveToRegistry(scratch.Root(), scratch.Path().c_str()));
    const REGSAM write = wow64 ? 0x106 : 0x6;
    EXPECT_EQ(Recorder::createPaths, (std::vector<std::wstring>{scratch.Path(), L"a"}));
    EXPECT_EQ(Recorder::createAccess, (std::vector<REGSAM>{write, write}));
    // Each key is flushed once its values are written: the subkey first.
    EXPECT_EQ(Recorder::flushed, (std::vector<HKEY>{Recorder::created[1], Recorder::created[0]}));
    EXPECT_TRUE(Recorder::AllClosed());

    Recorder::Reset();
    Node loaded;
    ASSERT_TRUE(loaded.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Dump(loaded), L"{a={b=i1},c=i2}");
    const REGSAM read = wow64 ? 0x20119 : 0x20019;
    EXPECT_EQ(Recorder::openPaths, (std::vector<std::wstring>{scratch.Path(), L"a"}));
    EXPECT_EQ(Recorder::openAccess, (std::vector<REGSAM>{read, read}));
    EXPECT_TRUE(Recorder::AllClosed());
}

INSTANTIATE_TEST_SUITE_P(Views, TreeRegistryViewTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Wow64" : "Native");
                         });

struct SaveFailureCase {
    const char* name;
    const wchar_t* failCreate;  // a subkey path, or L"<root>" for the key itself
    int failSetAt;
    std::vector<std::wstring> written;
    std::vector<std::wstring> notWritten;
};

void PrintTo(const SaveFailureCase& c, std::ostream* os) { *os << c.name; }

class SaveFailureTest : public ::testing::TestWithParam<SaveFailureCase> {
protected:
    void SetUp() override { Recorder::Reset(); }
};

TEST_P(SaveFailureTest, StopsAtTheFirstFailureAndClosesEverything) {
    const SaveFailureCase& c = GetParam();
    ScratchKey scratch;
    registry_seam::ScopedApi seam(Recorder::Api(false));
    Recorder::failCreate = std::wstring(c.failCreate) == L"<root>" ? scratch.Path() : c.failCreate;
    Recorder::failSetAt = c.failSetAt;
    Node node;
    node.Get(L"a") = 1;
    node.Get(L"b") = 2;
    node.Get(L"m/x") = 3;
    node.Get(L"z") = 4;
    EXPECT_FALSE(node.SaveToRegistry(scratch.Root(), scratch.Path().c_str()));
    for (const std::wstring& name : c.written) EXPECT_NE(Stored(scratch, name), L"<missing>") << name;
    for (const std::wstring& name : c.notWritten) EXPECT_EQ(Stored(scratch, name), L"<missing>") << name;
    EXPECT_TRUE(Recorder::flushed.empty());
    EXPECT_TRUE(Recorder::AllClosed());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, SaveFailureTest,
    ::testing::Values(SaveFailureCase{"Root", L"<root>", -1, {}, {L"a", L"b", L"z"}},
                      SaveFailureCase{"SecondValue", L"<none>", 1, {L"a"}, {L"b", L"z"}},
                      SaveFailureCase{"Subkey", L"m", -1, {L"a", L"b"}, {L"z"}},
                      SaveFailureCase{"ValueInSubkey", L"<none>", 2, {L"a", L"b"}, {L"z"}}),
    [](const ::testing::TestParamInfo<SaveFailureCase>& info) { return std::string(info.param.name); });

TEST(LoadFailure, ASubkeyThatCannotBeOpenedIsSkippedAndTheRestLoads) {
    Recorder::Reset();
    ScratchKey scratch;
    for (const wchar_t* name : {L"A", L"B", L"C"}) {
        SetInSubkey(scratch, name, L"v", L"2: 1");
    }
    scratch.SetUnterminated(L"top", L"2: 2");
    registry_seam::ScopedApi seam(Recorder::Api(false));
    Recorder::failOpen = L"B";
    Node node;
    node.Get(L"keep") = 5;
    EXPECT_FALSE(node.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    // Only the unreadable subkey is missing: the later subkeys and the key's
    // own values still load, and the failure is reported.
    EXPECT_EQ(Dump(node), L"{A={v=i1},B={},C={v=i1},keep=i5,top=i2}");
    EXPECT_TRUE(Recorder::AllClosed());
}

TEST(LoadFailure, KeysAreClosedAfterSkippedValues) {
    Recorder::Reset();
    ScratchKey scratch;
    scratch.SetUnterminated(std::wstring(5000, L'n'), L"2: 1");
    scratch.SetUnterminated(L"i/x", L"2: 1");
    scratch.SetUnterminated(L"big", L"3: " + std::wstring(3000, L'b'));
    registry_seam::ScopedApi seam(Recorder::Api(true));
    Node node;
    node.Get(L"i") = 1;
    EXPECT_TRUE(node.LoadFromRegistry(scratch.Root(), scratch.Path().c_str()));
    EXPECT_EQ(Dump(node), L"{i=i1}");
    EXPECT_EQ(Recorder::openAccess, std::vector<REGSAM>{0x20119});
    EXPECT_TRUE(Recorder::AllClosed());
}

// ---------------------------------------------------------------- as other programs see it

// Runs Wine's own reg.exe and returns its output.
std::string RegQuery(const std::wstring& keyPath) {
    wchar_t tempFolder[MAX_PATH];
    wchar_t outputFile[MAX_PATH];
    if (!::GetTempPathW(MAX_PATH, tempFolder) || !::GetTempFileNameW(tempFolder, L"reg", 0, outputFile)) return {};
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE output = ::CreateFileW(outputFile, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) return {};
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    startup.hStdInput = nullptr;
    std::wstring commandLine = L"C:\\windows\\system32\\reg.exe query \"HKCU\\" + keyPath + L"\"";
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                         nullptr, nullptr, &startup, &process);
    ::CloseHandle(output);
    if (!started) return {};
    ::WaitForSingleObject(process.hProcess, 60000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);

    std::string text;
    HANDLE input = ::CreateFileW(outputFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (input != INVALID_HANDLE_VALUE) {
        char buffer[4096];
        DWORD read = 0;
        while (::ReadFile(input, buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
        ::CloseHandle(input);
    }
    ::DeleteFileW(outputFile);
    return text;
}

TEST(SaveToRegistry, RegQueryShowsTheTypedTexts) {
    ScratchKey scratch;
    Node node;
    node.Get(L"Volume") = -1;
    node.Get(L"Speed") = 0.5f;
    node.Get(L"Language") = L"ru";
    node.Get(L"Nothing") = L"";
    ASSERT_TRUE(node.SaveToRegistry(scratch.Root(), scratch.Path().c_str()));

    const std::string output = RegQuery(scratch.Path());
    EXPECT_NE(output.find("\r\n    Volume    REG_SZ    2: -1\r\n"), std::string::npos) << output;
    EXPECT_NE(output.find("\r\n    Speed    REG_SZ    1: 0.500000\r\n"), std::string::npos) << output;
    EXPECT_NE(output.find("\r\n    Language    REG_SZ    3: ru\r\n"), std::string::npos) << output;
    EXPECT_EQ(output.find("Nothing"), std::string::npos) << output;
    // And the data holds the characters only, no terminator.
    for (const auto& [name, text] : {std::pair<std::wstring, std::wstring>{L"Volume", L"2: -1"},
                                     {L"Speed", L"1: 0.500000"},
                                     {L"Language", L"3: ru"}}) {
        DWORD type = 0;
        std::vector<BYTE> raw;
        ASSERT_TRUE(scratch.GetRaw(name, type, raw));
        EXPECT_EQ(raw.size(), 2 * text.size());
        EXPECT_EQ(raw, Bytes(text));
    }
}

}  // namespace

// The two registry views of a 32-bit program on 64-bit Windows, real in
// Wine's WoW64 prefix: the program keeps its own values in the 64-bit view
// and reads the 32-bit installer's entries in its own (32-bit) view. A 64-bit
// process has one view only, so these cases concern the 32-bit tests.
#include "config/node.h"
#include "config/registry.h"
#include "tests/support/case_name.h"
#include "tests/support/scratch_key.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const bool kShippedBitness = sizeof(void*) == 4;

// A key under HKEY_LOCAL_MACHINE\Software, which WoW64 keeps apart per view,
// deleted from both views before and after each case.
class ViewsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!kShippedBitness) GTEST_SKIP() << "a 64-bit process sees one registry view";
        ASSERT_TRUE(Is64BitWindows()) << "the tests' prefix is not a WoW64 one";
        Clear();
    }
    void TearDown() override { Clear(); }

    void Clear() const {
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            test_support::DeleteKeyTree(HKEY_LOCAL_MACHINE, path_, view);
        }
    }
    // The raw REG_SZ text of a value in one view; "<missing>" when absent.
    std::wstring Stored(REGSAM view, const wchar_t* name) const {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
            return L"<missing>";
        }
        wchar_t text[64] = {};
        DWORD bytes = sizeof(text) - sizeof(wchar_t);
        const LSTATUS status = ::RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &bytes);
        ::RegCloseKey(key);
        return status == ERROR_SUCCESS ? std::wstring(text) : L"<missing>";
    }
    const std::wstring path_ = L"Software\\MarrowdaleViewTests." + std::to_wstring(::GetCurrentProcessId());
};

struct WriteCase {
    const char* name;
    bool use64View;
    std::wstring in64, in32;  // what each view holds afterwards
};

class WriteViewTest : public ViewsTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriteViewTest, LandsInTheAskedViewOnly) {
    const WriteCase& c = GetParam();
    ASSERT_EQ(WriteRegistryString(HKEY_LOCAL_MACHINE, path_.c_str(), L"V", L"2: 7", c.use64View), S_OK);
    EXPECT_EQ(Stored(KEY_WOW64_64KEY, L"V"), c.in64);
    EXPECT_EQ(Stored(KEY_WOW64_32KEY, L"V"), c.in32);
}

INSTANTIATE_TEST_SUITE_P(Views, WriteViewTest,
                         ::testing::Values(WriteCase{"SixtyFourBitView", true, L"2: 7", L"<missing>"},
                                           WriteCase{"OwnView", false, L"<missing>", L"2: 7"}),
                         test_support::CaseName<WriteCase>);

struct ReadCase {
    const char* name;
    REGSAM storedIn;
    bool use64View;
    HRESULT result;
};

class ReadViewTest : public ViewsTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadViewTest, FindsOnlyWhatTheAskedViewHolds) {
    const ReadCase& c = GetParam();
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, path_, L"V", L"C:\\Folder", c.storedIn);
    std::wstring text;
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, path_.c_str(), L"V", text, c.use64View), c.result);
    EXPECT_EQ(text, c.result == S_OK ? L"C:\\Folder" : L"");
}

INSTANTIATE_TEST_SUITE_P(Views, ReadViewTest,
                         ::testing::Values(ReadCase{"SixtyFourBitAsked", KEY_WOW64_64KEY, true, S_OK},
                                           ReadCase{"SixtyFourBitMissedByOwnView", KEY_WOW64_64KEY, false, E_FAIL},
                                           ReadCase{"OwnAsked", KEY_WOW64_32KEY, false, S_OK},
                                           ReadCase{"OwnMissedBySixtyFourBitView", KEY_WOW64_32KEY, true, E_FAIL}),
                         test_support::CaseName<ReadCase>);

TEST_F(ViewsTest, TreeOfTheSixtyFourBitViewIsStoredThereAndReadBack) {
    Node tree;  // the view it takes on its own: 64-bit, as Windows is
    ASSERT_TRUE(tree.view64());
    tree.Get(L"Volume") = ConfigValue(40);
    ASSERT_TRUE(tree.SaveToRegistry(HKEY_LOCAL_MACHINE, path_.c_str()));
    EXPECT_EQ(Stored(KEY_WOW64_64KEY, L"Volume"), L"2: 40");
    EXPECT_EQ(Stored(KEY_WOW64_32KEY, L"Volume"), L"<missing>");

    Node loaded;
    ASSERT_TRUE(loaded.LoadFromRegistry(HKEY_LOCAL_MACHINE, path_.c_str()));
    EXPECT_EQ(loaded.Get(L"Volume").intValue, 40);
}

}  // namespace

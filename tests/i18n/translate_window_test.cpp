// Translating a real dialog made from the test program's template.
#include "i18n/string_table.h"
#include "res/resource_ids.h"
#include "tests/i18n/test_resources.h"
#include "tests/support/windows_finder.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using test_support::WindowText;

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Registers the list view class before the template needs it.
HWND CreateTestDialog() {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&classes);
    return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TRANSLATE_TEST), nullptr,
                                PlainDialogProc, 0);
}

// The test dialog, with items in its list and combo box, a window inside one
// of its controls, and a list view whose header (a window of the list view)
// has a column and a text of its own; destroyed with the object.
class TestDialog {
public:
    TestDialog() : window_(CreateTestDialog()) {
        if (!window_) return;
        for (const wchar_t* item : {L"Cancel", L"Shuffle"}) {
            ::SendMessageW(Item(IDC_LIST), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        for (const wchar_t* item : {L"Remove", L"Playlist"}) {
            ::SendMessageW(Item(IDC_COMBO), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        grandchild_ = ::CreateWindowExW(0, L"STATIC", L"Remove", WS_CHILD | WS_VISIBLE, 0, 0, 80, 12, Item(IDC_HOST),
                                        nullptr, nullptr, nullptr);
        wchar_t column[] = L"Playlist";
        LVCOLUMNW first{};
        first.mask = LVCF_TEXT | LVCF_WIDTH;
        first.cx = 100;
        first.pszText = column;
        ::SendMessageW(Item(IDC_LIST_VIEW), LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&first));
        header_ = reinterpret_cast<HWND>(::SendMessageW(Item(IDC_LIST_VIEW), LVM_GETHEADER, 0, 0));
        ::SetWindowTextW(header_, L"Shuffle");
    }
    ~TestDialog() {
        if (window_) ::DestroyWindow(window_);
    }
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;

    HWND Get() const { return window_; }
    HWND Item(int id) const { return ::GetDlgItem(window_, id); }
    HWND Grandchild() const { return grandchild_; }
    HWND Header() const { return header_; }

    std::wstring ColumnText() const {
        wchar_t text[64] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 64;
        ::SendMessageW(Item(IDC_LIST_VIEW), LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        return text;
    }
    std::wstring Text(int id) const { return WindowText(Item(id)); }

    // The items of a list box or combo box, read with its own messages.
    std::vector<std::wstring> Items(int id, UINT countMessage, UINT lengthMessage, UINT textMessage) const {
        std::vector<std::wstring> items;
        const LRESULT count = ::SendMessageW(Item(id), countMessage, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            const LRESULT length = ::SendMessageW(Item(id), lengthMessage, static_cast<WPARAM>(i), 0);
            std::vector<wchar_t> text(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
            ::SendMessageW(Item(id), textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
            items.emplace_back(text.data());
        }
        return items;
    }

private:
    HWND window_;
    HWND grandchild_ = nullptr;
    HWND header_ = nullptr;
};

struct DialogLanguage {
    const char* name;
    const wchar_t* tag;
    const wchar_t* title;
    const wchar_t* frame;
    const wchar_t* cancel;
    const wchar_t* add;
    const wchar_t* remove;
    const wchar_t* shuffle;
};

void PrintTo(const DialogLanguage& c, std::ostream* os) { *os << c.name; }

class TranslateDialog : public ::testing::TestWithParam<DialogLanguage> {};

TEST_P(TranslateDialog, TranslatesTitleAndDirectChildrenOnly) {
    const DialogLanguage& language = GetParam();
    TestDialog dialog;
    ASSERT_NE(dialog.Get(), nullptr);
    ASSERT_NE(dialog.Grandchild(), nullptr);
    ASSERT_EQ(::GetParent(dialog.Header()), dialog.Item(IDC_LIST_VIEW));
    ASSERT_EQ(WindowText(dialog.Header()), L"Shuffle");
    StringTable& table = StringTable::Create(IDR_STRING_TABLE);
    ASSERT_TRUE(table.SelectLanguage(language.tag));
    ASSERT_TRUE(table.SelectTextBlock(L"Screensaver Settings Dialog"));

    table.TranslateWindow(dialog.Get());

    EXPECT_EQ(WindowText(dialog.Get()), language.title);
    EXPECT_EQ(dialog.Text(IDOK), L"OK");
    EXPECT_EQ(dialog.Text(IDCANCEL), language.cancel);
    EXPECT_EQ(dialog.Text(IDC_ADD), language.add);
    EXPECT_EQ(dialog.Text(IDC_REMOVE), language.remove);
    EXPECT_EQ(dialog.Text(IDC_SHUFFLE), language.shuffle);
    EXPECT_EQ(dialog.Text(IDC_FRAME), language.frame);
    EXPECT_EQ(dialog.Text(IDC_NO_ROW), L"Multi-monitor");
    EXPECT_EQ(dialog.Text(IDC_LOWER_CASE), L"playlist");
    EXPECT_EQ(WindowText(dialog.Grandchild()), L"Remove");
    EXPECT_EQ(WindowText(dialog.Header()), L"Shuffle");
    EXPECT_EQ(dialog.ColumnText(), L"Playlist");
    EXPECT_EQ(dialog.Items(IDC_LIST, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT), (std::vector<std::wstring>{L"Cancel", L"Shuffle"}));
    EXPECT_EQ(dialog.Items(IDC_COMBO, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT), (std::vector<std::wstring>{L"Remove", L"Playlist"}));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, TranslateDialog,
    ::testing::Values(DialogLanguage{"German", L"de", L"Playliste", L"Soundoptionen", L"Abbrechen", L"Hinzufügen...",
                                     L"Entfernen", L"Zufällige Wiedergabe"},
                      DialogLanguage{"French", L"fr", L"Liste", L"Options du son", L"Annuler", L"Ajouter...",
                                     L"Retirer", L"Ordre aléatoire"}),
    [](const ::testing::TestParamInfo<DialogLanguage>& info) { return std::string(info.param.name); });

struct LongTextCase {
    const char* name;
    size_t length;
    const wchar_t* text;
};

void PrintTo(const LongTextCase& c, std::ostream* os) { *os << c.name; }

// The first characters of the long tags in the test table.
std::wstring LongText(size_t length) {
    std::wstring text;
    while (text.size() < length) text.push_back(static_cast<wchar_t>(L'a' + text.size() % 26));
    return text;
}

class TranslateLongText : public ::testing::TestWithParam<LongTextCase> {};

TEST_P(TranslateLongText, IsLookedUpByItsFirst1023Characters) {
    TestDialog dialog;
    ASSERT_NE(dialog.Get(), nullptr);
    ASSERT_TRUE(::SetWindowTextW(dialog.Item(IDC_LONG), LongText(GetParam().length).c_str()));
    ASSERT_EQ(WindowText(dialog.Item(IDC_LONG)).size(), GetParam().length);
    StringTable& table = StringTable::Create(IDR_LONG_TEXTS);
    ASSERT_TRUE(table.SelectLanguage(L"de"));

    table.TranslateWindow(dialog.Get());

    EXPECT_EQ(dialog.Text(IDC_LONG), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Lengths, TranslateLongText,
                         ::testing::Values(LongTextCase{"Shorter", 1022, L"1022"}, LongTextCase{"Exact", 1023, L"1023"},
                                           LongTextCase{"OneMore", 1024, L"1023"},
                                           LongTextCase{"MuchLonger", 1500, L"1023"}),
                         [](const ::testing::TestParamInfo<LongTextCase>& info) { return std::string(info.param.name); });

TEST(TranslateWindow, WithoutTextBlockLeavesEveryTextAlone) {
    TestDialog dialog;
    ASSERT_NE(dialog.Get(), nullptr);
    StringTable& table = StringTable::Create(IDR_NO_TEXT_BLOCK);
    ASSERT_TRUE(table.SelectLanguage(L"de"));
    table.TranslateWindow(dialog.Get());
    EXPECT_EQ(WindowText(dialog.Get()), L"Playlist");
    EXPECT_EQ(dialog.Text(IDCANCEL), L"Cancel");
    EXPECT_EQ(dialog.Text(IDC_FRAME), L"Sound options");
}

TEST(TranslateWindow, RowWithoutTheLanguageEmptiesTheControl) {
    TestDialog dialog;
    ASSERT_NE(dialog.Get(), nullptr);
    StringTable& table = StringTable::Create(IDR_MISSING_STRING);
    ASSERT_TRUE(table.SelectLanguage(L"de"));
    table.TranslateWindow(dialog.Get());
    EXPECT_EQ(dialog.Text(IDCANCEL), L"");
    EXPECT_EQ(dialog.Text(IDC_REMOVE), L"");
    EXPECT_EQ(dialog.Text(IDOK), L"OK");
    EXPECT_EQ(WindowText(dialog.Get()), L"Playlist");
}

TEST(TranslateWindow, NoWindowTouchesNoTopLevelWindow) {
    TestDialog dialog;
    ASSERT_NE(dialog.Get(), nullptr);
    ::ShowWindow(dialog.Get(), SW_SHOWNOACTIVATE);
    StringTable& table = StringTable::Create(IDR_STRING_TABLE);
    ASSERT_TRUE(table.SelectLanguage(L"de"));
    table.TranslateWindow(nullptr);
    EXPECT_EQ(WindowText(dialog.Get()), L"Playlist");
    const HWND gone = dialog.Item(IDC_ADD);
    ::DestroyWindow(gone);
    table.TranslateWindow(gone);
    EXPECT_EQ(WindowText(dialog.Get()), L"Playlist");
}

}  // namespace

// Dialog template 162 as the program carries it: every control with its id,
// class, text, style and place, in tab order, before any code touches it;
// then the list's one column as the dialog sets it up.
#include "playlist/playlist_dlg.h"

#include "tests/playlist/playlist_dlg_fixture.h"
#include "tests/support/windows_finder.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using playlist_tests::PlaylistDialogTest;

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

struct ControlRow {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    RECT units;  // x, y, width, height
    DWORD type;  // the style bits of the control's own kind
    DWORD typeMask;
    bool tabStop;
};

constexpr DWORD kList = LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER | LVS_ALIGNLEFT;
// Every list view style bit but the shared ones of the control base.
constexpr DWORD kListMask = 0xFFFF;

const std::vector<ControlRow> kRows = {
    {IDOK, L"Button", L"OK", {68, 195, 50, 14}, BS_DEFPUSHBUTTON, BS_TYPEMASK, true},
    {IDCANCEL, L"Button", L"Cancel", {127, 195, 50, 14}, BS_PUSHBUTTON, BS_TYPEMASK, true},
    {1082, L"SysListView32", L"", {14, 16, 218, 148}, kList, kListMask, true},
    {1080, L"Button", L"Add...", {14, 170, 54, 12}, BS_PUSHBUTTON, BS_TYPEMASK, true},
    {1081, L"Button", L"Remove", {72, 170, 54, 12}, BS_PUSHBUTTON, BS_TYPEMASK, true},
    {-1, L"Button", L"", {7, 7, 232, 182}, BS_GROUPBOX, BS_TYPEMASK, false},
    {1074, L"Button", L"Shuffle", {150, 171, 80, 10}, BS_AUTOCHECKBOX, BS_TYPEMASK, true},
};

class PlaylistTemplateTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        dialog_ = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(162), nullptr, PlainDialogProc, 0);
        ASSERT_NE(dialog_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(dialog_); }

    // As the dialog manager places a control: origin and size are each
    // converted from dialog units on their own.
    RECT Pixels(const RECT& units) const {
        RECT mapped = units;
        ::MapDialogRect(dialog_, &mapped);
        return RECT{mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
    }

    HWND dialog_ = nullptr;
};

TEST_F(PlaylistTemplateTest, TheDialogItself) {
    EXPECT_EQ(test_support::WindowText(dialog_), L"Playlist");
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(dialog_, GWL_STYLE));
    const DWORD expected = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_FIXEDSYS;
    EXPECT_EQ(style & expected, expected);
    EXPECT_EQ(style & (WS_CHILD | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(dialog_, GWL_EXSTYLE));
    EXPECT_EQ(exStyle & WS_EX_TOOLWINDOW, DWORD{WS_EX_TOOLWINDOW});
    RECT client{};
    ::GetClientRect(dialog_, &client);
    const RECT size = Pixels(RECT{0, 0, 246, 216});
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(dialog_, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, L"MS Shell Dlg");
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72));
    ::ReleaseDC(nullptr, screen);
}

TEST_F(PlaylistTemplateTest, EveryControlInTabOrder) {
    size_t row = 0;
    for (HWND child = ::GetWindow(dialog_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT), ++row) {
        ASSERT_LT(row, kRows.size()) << "more controls than the template lists";
        const ControlRow& c = kRows[row];
        SCOPED_TRACE(testing::Message() << "row " << row << ", id " << c.id);
        EXPECT_EQ(::GetDlgCtrlID(child), c.id);
        wchar_t className[64] = {};
        ::GetClassNameW(child, className, 64);
        EXPECT_STREQ(className, c.className);
        EXPECT_EQ(test_support::WindowText(child), c.text);
        const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
        EXPECT_EQ(style & c.typeMask, c.type);
        EXPECT_EQ(style & (WS_TABSTOP | WS_GROUP), c.tabStop ? DWORD{WS_TABSTOP} : 0u);
        EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_DISABLED), DWORD{WS_CHILD | WS_VISIBLE});
        const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_EXSTYLE));
        // Only the list has a border; the dialog manager may draw it sunken.
        const bool border = (style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE);
        EXPECT_EQ(border, c.id == IDC_PLAYLIST_FILES);
        RECT actual{};
        ::GetWindowRect(child, &actual);
        ::MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&actual), 2);
        const RECT expected = Pixels(c.units);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right, expected.right);
        EXPECT_EQ(actual.bottom, expected.bottom);
    }
    EXPECT_EQ(row, kRows.size());
}

TEST_F(PlaylistTemplateTest, TheListShowsNoHeader) {
    HWND list = ::GetDlgItem(dialog_, IDC_PLAYLIST_FILES);
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    if (header) {
        RECT shown{};
        ::GetWindowRect(header, &shown);
        EXPECT_TRUE(!::IsWindowVisible(header) || shown.bottom == shown.top);
    }
}

// The one column as the dialog sets it up: as wide as its 106-character text
// and a margin, so that long paths fit.
TEST_F(PlaylistDialogTest, TheListsOneColumn) {
    const std::wstring text = L"FileName" + std::wstring(98, L' ');
    int width = -1, expectedWidth = -2, format = -1;
    bool secondColumn = true;
    std::wstring columnText;
    Run([&](playlist_tests::PlaylistDialog& d) {
        HWND list = d.GetDlgItem(IDC_PLAYLIST_FILES);
        expectedWidth =
            static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str()))) + 15;
        wchar_t buffer[256] = {};
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.pszText = buffer;
        column.cchTextMax = 256;
        if (::SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column))) {
            width = column.cx;
            format = column.fmt & LVCFMT_JUSTIFYMASK;
            columnText = buffer;
        }
        LVCOLUMNW second = {};
        second.mask = LVCF_WIDTH;
        secondColumn = ::SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&second)) != 0;
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(width, expectedWidth);
    EXPECT_GT(width, 300);
    EXPECT_EQ(format, LVCFMT_LEFT);
    EXPECT_EQ(columnText, text);
    EXPECT_FALSE(secondColumn);
}

}  // namespace

// Dialog template 162 as the program carries it: every control with its id,
// class, text, style and place, in tab order, before any code touches it;
// then the list's one column as the dialog sets it up.
#include "playlist/playlist_dlg.h"

#include "tests/playlist/playlist_dlg_fixture.h"
#include "tests/support/dialog_template.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using playlist_tests::PlaylistDialogTest;

using test_support::TemplateControl;

constexpr DWORD kList = LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER | LVS_ALIGNLEFT;
// Every list view style bit but the shared ones of the control base.
constexpr DWORD kListMask = 0xFFFF;

const std::vector<TemplateControl> kRows = {
    {IDOK, L"Button", L"OK", {68, 195, 50, 14}, BS_DEFPUSHBUTTON, BS_TYPEMASK, WS_TABSTOP},
    {IDCANCEL, L"Button", L"Cancel", {127, 195, 50, 14}, BS_PUSHBUTTON, BS_TYPEMASK, WS_TABSTOP},
    {1082, L"SysListView32", L"", {14, 16, 218, 148}, kList, kListMask, WS_TABSTOP},
    {1080, L"Button", L"Add...", {14, 170, 54, 12}, BS_PUSHBUTTON, BS_TYPEMASK, WS_TABSTOP},
    {1081, L"Button", L"Remove", {72, 170, 54, 12}, BS_PUSHBUTTON, BS_TYPEMASK, WS_TABSTOP},
    {-1, L"Button", L"", {7, 7, 232, 182}, BS_GROUPBOX, BS_TYPEMASK, 0},
    {1074, L"Button", L"Shuffle", {150, 171, 86, 10}, BS_AUTOCHECKBOX, BS_TYPEMASK, WS_TABSTOP},
};

class PlaylistTemplateTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        dialog_ = std::make_unique<test_support::PlainDialog>(IDD_PLAYLIST);
        ASSERT_NE(dialog_->Get(), nullptr);
    }

    std::unique_ptr<test_support::PlainDialog> dialog_;
};

TEST_F(PlaylistTemplateTest, TheDialogItself) {
    test_support::ExpectDialogFrame(*dialog_, L"Playlist",
                                    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_FIXEDSYS,
                                    SIZE{246, 216});
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(dialog_->Get(), GWL_EXSTYLE));
    EXPECT_EQ(exStyle & WS_EX_TOOLWINDOW, DWORD{WS_EX_TOOLWINDOW});
}

TEST_F(PlaylistTemplateTest, EveryControlInTabOrder) {
    test_support::ExpectControlsInTabOrder(*dialog_, kRows, [](HWND child, const TemplateControl& c) {
        // Only the list has a border; the dialog manager may draw it sunken.
        const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_EXSTYLE));
        const bool border = (style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE);
        EXPECT_EQ(border, c.id == IDC_PLAYLIST_FILES);
    });
}

TEST_F(PlaylistTemplateTest, TheListShowsNoHeader) {
    HWND list = ::GetDlgItem(dialog_->Get(), IDC_PLAYLIST_FILES);
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

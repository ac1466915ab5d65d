// Dialog template 2003 as the program carries it: every control with its id,
// class, text, style and place, in tab order, before any code touches it.
#include "res/settings_dialog_ids.h"
#include "tests/support/windows_finder.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

enum : DWORD { kTab = WS_TABSTOP, kGroup = WS_GROUP };

struct ControlRow {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    RECT units;  // x, y, width, height
    DWORD type;  // the style bits of the control's own kind
    DWORD typeMask;
    DWORD tabAndGroup;
    bool staticEdge;
};

constexpr DWORD kButtonType = BS_TYPEMASK;
constexpr DWORD kStaticType = SS_TYPEMASK;
constexpr DWORD kComboType = CBS_DROPDOWNLIST | CBS_SORT;
constexpr DWORD kSlider = TBS_HORZ | TBS_BOTH | TBS_NOTICKS;
constexpr DWORD kSliderMask = TBS_VERT | TBS_BOTH | TBS_NOTICKS | TBS_AUTOTICKS;

const std::vector<ControlRow> kRows = {
    {1002, L"ComboBox", L"", {10, 15, 199, 60}, CBS_DROPDOWNLIST, kComboType, kTab, false},
    {1013, L"Button", L"Show a blank screen on all monitors", {218, 16, 154, 10}, BS_AUTOCHECKBOX, kButtonType, kTab, false},
    {1023, L"Button", L"Exit on mouse move", {10, 49, 110, 10}, BS_AUTOCHECKBOX, kButtonType, kTab, false},
    {1068, L"Button", L"Antialiasing", {10, 64, 100, 10}, BS_AUTOCHECKBOX, kButtonType, kTab, false},
    {1069, L"ComboBox", L"", {249, 63, 123, 30}, CBS_DROPDOWNLIST | CBS_SORT, kComboType, kTab, false},
    {1079, L"Button", L"Run at Windows startup", {10, 94, 160, 10}, BS_AUTOCHECKBOX, kButtonType, kTab | kGroup, false},
    {1032, L"Button", L"Enable music", {10, 137, 87, 10}, BS_AUTOCHECKBOX, kButtonType, kTab | kGroup, false},
    {1044, L"msctls_trackbar32", L"", {245, 137, 132, 12}, kSlider, kSliderMask, kTab, false},
    {1078, L"Button", L"Play my music", {10, 152, 102, 10}, BS_AUTOCHECKBOX, kButtonType, kTab, false},
    {4, L"Button", L"Edit Playlist...", {286, 150, 86, 14}, BS_PUSHBUTTON, kButtonType, kTab, true},
    {6, L"Button", L"Visit...", {286, 176, 86, 14}, BS_PUSHBUTTON, kButtonType, kTab, true},
    {3, L"Button", L"Restore Defaults", {7, 230, 84, 15}, BS_PUSHBUTTON, kButtonType, kTab, false},
    {1, L"Button", L"OK", {256, 230, 61, 15}, BS_DEFPUSHBUTTON, kButtonType, kTab, false},
    {2, L"Button", L"Cancel", {320, 230, 61, 15}, BS_PUSHBUTTON, kButtonType, kTab, false},
    {-1, L"Button", L"Products", {7, 170, 374, 24}, BS_GROUPBOX, kButtonType, 0, false},
    {1027, L"Static", L"Please take a look at our web site for more great 3D screensavers", {12, 179, 240, 8}, SS_LEFT,
     kStaticType, kGroup, false},
    {-1, L"Button", L"Options", {7, 38, 374, 42}, BS_GROUPBOX, kButtonType, 0, false},
    {1015, L"Button", L"Monitor selection", {7, 3, 374, 32}, BS_GROUPBOX, kButtonType, 0, false},
    {1045, L"Static", L"Music volume: 100%", {147, 139, 97, 8}, SS_RIGHT, kStaticType, kGroup, false},
    {1070, L"Static", L"Antialiasing quality:", {154, 65, 89, 8}, SS_RIGHT, kStaticType, kGroup, false},
    {-1, L"Button", L"Sound options", {7, 111, 374, 57}, BS_GROUPBOX, kButtonType, 0, false},
    {-1, L"Button", L"Animated wallpaper options", {7, 84, 374, 24}, BS_GROUPBOX, kButtonType, 0, false},
    {1022, L"Button", L"Enable sounds", {10, 122, 87, 10}, BS_AUTOCHECKBOX, kButtonType, kTab | kGroup, false},
    {1046, L"msctls_trackbar32", L"", {246, 122, 132, 12}, kSlider, kSliderMask, kTab, false},
    {1047, L"Static", L"Sounds volume: 100%", {148, 124, 97, 8}, SS_RIGHT, kStaticType, kGroup, false},
};

class SettingsTemplateTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        dialog_ = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), nullptr,
                                       PlainDialogProc, 0);
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

TEST_F(SettingsTemplateTest, TheDialogItself) {
    EXPECT_EQ(test_support::WindowText(dialog_), L"Marrowdale 3D Screensaver Configuration");
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(dialog_, GWL_STYLE));
    const DWORD expected = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    EXPECT_EQ(style & expected, expected);
    EXPECT_EQ(style & (WS_CHILD | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    RECT client{};
    ::GetClientRect(dialog_, &client);
    const RECT size = Pixels(RECT{0, 0, 389, 253});
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(dialog_, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, L"MS Shell Dlg");
    // 8 points at the system's dots per inch.
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72));
    ::ReleaseDC(nullptr, screen);
}

TEST_F(SettingsTemplateTest, EveryControlInTabOrder) {
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
        EXPECT_EQ(style & (WS_TABSTOP | WS_GROUP), c.tabAndGroup);
        EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_DISABLED), DWORD{WS_CHILD | WS_VISIBLE});
        const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_EXSTYLE));
        EXPECT_EQ((exStyle & WS_EX_STATICEDGE) != 0, c.staticEdge);
        RECT actual{};
        ::GetWindowRect(child, &actual);
        ::MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&actual), 2);
        const RECT expected = Pixels(c.units);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right, expected.right);
        // A closed combo box is as high as its font needs, not as its template says.
        if (std::wstring(c.className) != L"ComboBox") {
            EXPECT_EQ(actual.bottom, expected.bottom);
        }
    }
    EXPECT_EQ(row, kRows.size());
}

TEST_F(SettingsTemplateTest, TheControlsTheBaseLooksForButTheTemplateLacks) {
    for (int id : {IDC_RESOLUTION_LIST, IDC_DESKTOP_RESOLUTION, IDC_HIGH_QUALITY_GRAPHICS, IDC_HIGH_QUALITY_TEXTURES}) {
        EXPECT_EQ(::GetDlgItem(dialog_, id), nullptr) << id;
    }
}

}  // namespace

// Dialog template 2003 as the program carries it: every control with its id,
// class, text, style and place, in tab order, before any code touches it.
#include "res/settings_dialog_ids.h"
#include "tests/support/dialog_template.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using test_support::TemplateControl;

enum : DWORD { kTab = WS_TABSTOP, kGroup = WS_GROUP };

constexpr DWORD kButtonType = BS_TYPEMASK;
constexpr DWORD kStaticType = SS_TYPEMASK;
constexpr DWORD kComboType = CBS_DROPDOWNLIST | CBS_SORT;
constexpr DWORD kSlider = TBS_HORZ | TBS_BOTH | TBS_NOTICKS;
constexpr DWORD kSliderMask = TBS_VERT | TBS_BOTH | TBS_NOTICKS | TBS_AUTOTICKS;

const std::vector<TemplateControl> kRows = {
    {1002, L"ComboBox", L"", {10, 15, 199, 60}, CBS_DROPDOWNLIST, kComboType, kTab},
    {1013, L"Button", L"Show a blank screen on all monitors", {218, 16, 160, 10}, BS_AUTOCHECKBOX, kButtonType, kTab},
    {1023, L"Button", L"Exit on mouse move", {10, 49, 150, 10}, BS_AUTOCHECKBOX, kButtonType, kTab},
    {1068, L"Button", L"Antialiasing", {10, 64, 100, 10}, BS_AUTOCHECKBOX, kButtonType, kTab},
    {1069, L"ComboBox", L"", {249, 63, 123, 30}, CBS_DROPDOWNLIST | CBS_SORT, kComboType, kTab},
    {1079, L"Button", L"Run at Windows startup", {10, 94, 160, 10}, BS_AUTOCHECKBOX, kButtonType, kTab | kGroup},
    {1032, L"Button", L"Enable music", {10, 137, 87, 10}, BS_AUTOCHECKBOX, kButtonType, kTab | kGroup},
    {1044, L"msctls_trackbar32", L"", {245, 137, 132, 12}, kSlider, kSliderMask, kTab},
    {1078, L"Button", L"Play my music", {10, 152, 102, 10}, BS_AUTOCHECKBOX, kButtonType, kTab},
    {4, L"Button", L"Edit Playlist...", {286, 150, 86, 14}, BS_PUSHBUTTON, kButtonType, kTab},
    {6, L"Button", L"Visit...", {286, 176, 86, 14}, BS_PUSHBUTTON, kButtonType, kTab},
    {3, L"Button", L"Restore Defaults", {7, 230, 84, 15}, BS_PUSHBUTTON, kButtonType, kTab},
    {1, L"Button", L"OK", {256, 230, 61, 15}, BS_DEFPUSHBUTTON, kButtonType, kTab},
    {2, L"Button", L"Cancel", {320, 230, 61, 15}, BS_PUSHBUTTON, kButtonType, kTab},
    {-1, L"Button", L"Products", {7, 170, 374, 24}, BS_GROUPBOX, kButtonType, 0},
    {1027, L"Static", L"Please take a look at our web site for more great 3D screensavers", {12, 179, 270, 8}, SS_LEFT,
     kStaticType, kGroup},
    {-1, L"Button", L"Options", {7, 38, 374, 42}, BS_GROUPBOX, kButtonType, 0},
    {1015, L"Button", L"Monitor selection", {7, 3, 374, 32}, BS_GROUPBOX, kButtonType, 0},
    {1045, L"Static", L"Music volume: 100%", {110, 139, 134, 8}, SS_RIGHT, kStaticType, kGroup},
    {1070, L"Static", L"Antialiasing quality:", {120, 65, 123, 8}, SS_RIGHT, kStaticType, kGroup},
    {-1, L"Button", L"Sound options", {7, 111, 374, 57}, BS_GROUPBOX, kButtonType, 0},
    {-1, L"Button", L"Animated wallpaper options", {7, 84, 374, 24}, BS_GROUPBOX, kButtonType, 0},
    {1022, L"Button", L"Enable sounds", {10, 122, 87, 10}, BS_AUTOCHECKBOX, kButtonType, kTab | kGroup},
    {1046, L"msctls_trackbar32", L"", {246, 122, 132, 12}, kSlider, kSliderMask, kTab},
    {1047, L"Static", L"Sounds volume: 100%", {148, 124, 97, 8}, SS_RIGHT, kStaticType, kGroup},
};

class SettingsTemplateTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        dialog_ = std::make_unique<test_support::PlainDialog>(IDD_SETTINGS);
        ASSERT_NE(dialog_->Get(), nullptr);
    }

    std::unique_ptr<test_support::PlainDialog> dialog_;
};

TEST_F(SettingsTemplateTest, TheDialogItself) {
    test_support::ExpectDialogFrame(*dialog_, L"Marrowdale 3D Screensaver Configuration",
                                    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, SIZE{389, 253});
}

TEST_F(SettingsTemplateTest, EveryControlInTabOrder) {
    test_support::ExpectControlsInTabOrder(*dialog_, kRows, [](HWND child, const TemplateControl& c) {
        // Only the two buttons of the right-hand column have a static edge.
        const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_EXSTYLE));
        EXPECT_EQ((exStyle & WS_EX_STATICEDGE) != 0, c.id == IDC_EDIT_PLAYLIST || c.id == IDC_VISIT_WEB_SITE);
    });
}

TEST_F(SettingsTemplateTest, TheControlsTheBaseLooksForButTheTemplateLacks) {
    for (int id : {IDC_RESOLUTION_LIST, IDC_DESKTOP_RESOLUTION, IDC_HIGH_QUALITY_GRAPHICS, IDC_HIGH_QUALITY_TEXTURES}) {
        EXPECT_EQ(::GetDlgItem(dialog_->Get(), id), nullptr) << id;
    }
}

}  // namespace

#include "tests/support/dialog_template.h"

#include "tests/support/windows_finder.h"

#include <gtest/gtest.h>

#include <string>

namespace test_support {

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

PlainDialog::PlainDialog(int templateId)
    : dialog_(::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), nullptr,
                                   PlainDialogProc, 0)) {}

PlainDialog::~PlainDialog() {
    if (dialog_) ::DestroyWindow(dialog_);
}

RECT PlainDialog::Pixels(const RECT& units) const {
    RECT mapped = units;
    ::MapDialogRect(dialog_, &mapped);
    return RECT{mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
}

void ExpectDialogFrame(const PlainDialog& dialog, const wchar_t* caption, DWORD styles, SIZE units) {
    HWND window = dialog.Get();
    EXPECT_EQ(WindowText(window), caption);
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    EXPECT_EQ(style & styles, styles);
    EXPECT_EQ(style & (WS_CHILD | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    RECT client{};
    ::GetClientRect(window, &client);
    const RECT size = dialog.Pixels(RECT{0, 0, units.cx, units.cy});
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, L"MS Shell Dlg");
    // 8 points at the system's dots per inch.
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72));
    ::ReleaseDC(nullptr, screen);
}

void ExpectControlsInTabOrder(const PlainDialog& dialog, const std::vector<TemplateControl>& rows,
                              const std::function<void(HWND, const TemplateControl&)>& extra) {
    size_t row = 0;
    for (HWND child = ::GetWindow(dialog.Get(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT), ++row) {
        ASSERT_LT(row, rows.size()) << "more controls than the template lists";
        const TemplateControl& c = rows[row];
        SCOPED_TRACE(testing::Message() << "row " << row << ", id " << c.id);
        EXPECT_EQ(::GetDlgCtrlID(child), c.id);
        wchar_t className[64] = {};
        ::GetClassNameW(child, className, 64);
        EXPECT_STREQ(className, c.className);
        EXPECT_EQ(WindowText(child), c.text);
        const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
        EXPECT_EQ(style & c.typeMask, c.type);
        EXPECT_EQ(style & (WS_TABSTOP | WS_GROUP), c.tabAndGroup);
        EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_DISABLED), DWORD{WS_CHILD | WS_VISIBLE});
        extra(child, c);
        RECT actual{};
        ::GetWindowRect(child, &actual);
        ::MapWindowPoints(nullptr, dialog.Get(), reinterpret_cast<POINT*>(&actual), 2);
        const RECT expected = dialog.Pixels(c.units);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right, expected.right);
        if (std::wstring(c.className) != L"ComboBox") {
            EXPECT_EQ(actual.bottom, expected.bottom);
        }
    }
    EXPECT_EQ(row, rows.size());
}

}  // namespace test_support

// The measuring of clipped dialog texts: a control too narrow or too low for
// its text is found, one with room is not.
#include "framework/gdi.h"
#include "tests/support/clipped_texts.h"
#include "tests/support/case_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TextCase {
    const char* name;
    const wchar_t* className;
    DWORD style;
    const wchar_t* text;
    int width;
    int height;
    bool clipped;
};

const TextCase kCases[] = {
    {"ShortStaticFits", L"Static", SS_LEFT, L"Volume", 200, 14, false},
    {"LongStaticOnOneLineIsClipped", L"Static", SS_LEFT, L"A text much too long for its control", 60, 14, true},
    {"LongStaticWrapsIntoItsLines", L"Static", SS_LEFT, L"A text that wraps", 70, 60, false},
    {"WordWiderThanTheStaticIsClipped", L"Static", SS_LEFT, L"Unbreakablewordthatistoowide", 40, 60, true},
    {"StaticWithoutWrapIsClipped", L"Static", SS_LEFTNOWORDWRAP, L"A text that would wrap", 70, 60, true},
    {"CheckBoxWithRoomFits", L"Button", BS_AUTOCHECKBOX, L"Music", 200, 14, false},
    {"CheckBoxTextAsWideAsTheControlIsClippedByItsBox", L"Button", BS_AUTOCHECKBOX, L"Mmmmmmmm", 0, 14, true},
    {"PushButtonTooNarrowIsClipped", L"Button", BS_PUSHBUTTON, L"Restore Defaults", 30, 23, true},
    {"GroupBoxWithRoomFits", L"Button", BS_GROUPBOX, L"Sound", 200, 60, false},
    {"GroupBoxTooNarrowIsClipped", L"Button", BS_GROUPBOX, L"Quality of the textures", 50, 60, true},
};

class ClippedTextsTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ClippedTextsTest, FindsTheTextsThatDoNotFit) {
    const TextCase& row = GetParam();
    HWND parent = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    const framework::GdiObject font(
        ::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    int width = row.width;
    if (width == 0) {
        // Exactly as wide as the text alone.
        const framework::WindowDc dc(parent);
        const framework::Selection selected(dc.Get(), font.Get());
        SIZE size{};
        ::GetTextExtentPoint32W(dc.Get(), row.text, static_cast<int>(wcslen(row.text)), &size);
        width = size.cx;
    }
    HWND control = ::CreateWindowExW(0, row.className, row.text, WS_CHILD | WS_VISIBLE | row.style, 0, 0, width,
                                     row.height, parent, reinterpret_cast<HMENU>(101), nullptr, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);

    const auto texts = test_support::MeasureTexts(parent);
    ::DestroyWindow(parent);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].id, 101);
    EXPECT_EQ(texts[0].text, row.text);
    EXPECT_EQ(texts[0].clipped, row.clipped) << texts[0].textWidth << " px against " << texts[0].room << " px";
}

INSTANTIATE_TEST_SUITE_P(Controls, ClippedTextsTest, ::testing::ValuesIn(kCases), test_support::CaseName<TextCase>);

}  // namespace

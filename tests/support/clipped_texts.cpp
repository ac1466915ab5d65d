#include "tests/support/clipped_texts.h"

#include "framework/gdi.h"
#include "tests/support/screenshot.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace test_support {

namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[32] = {};
    ::GetClassNameW(window, name, 32);
    return name;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HGDIOBJ FontOf(HWND control) {
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    return font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT);
}

// The text laid out as the control lays it out, with its own font:
// DT_CALCRECT grows the rectangle to what the text needs. Word wrapping is
// decided on these widths.
RECT Measure(HWND control, const std::wstring& text, UINT format, int width) {
    RECT rect{0, 0, width, 0};
    framework::WindowDc dc(control);
    framework::Selection font(dc.Get(), FontOf(control));
    ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
    return rect;
}

// Pixels from the text's origin to the right end of what it draws on one
// line. Wine places its Tahoma's glyphs closer than the widths that
// GetTextExtentPoint32 and DT_CALCRECT report for them (by about a tenth), so
// a label that the reported width says is cut can still show whole: what
// the user sees is the drawn text.
int DrawnWidth(HWND control, const std::wstring& text) {
    const RECT laidOut = Measure(control, text, DT_SINGLELINE, 0);
    // Room on the left for a first glyph that reaches back past its origin.
    const int origin = 4;
    const int width = laidOut.right + 2 * origin + 8;
    const int height = std::max(1L, laidOut.bottom);
    framework::WindowDc screen(control);
    framework::MemoryDc memory(screen.Get());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    framework::GdiObject bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory.Get() || !bitmap.Get() || !bits) return laidOut.right;
    framework::Selection canvas(memory.Get(), bitmap.Get());
    framework::Selection font(memory.Get(), FontOf(control));
    RECT all{0, 0, width, height};
    ::FillRect(memory.Get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetTextColor(memory.Get(), RGB(0, 0, 0));
    ::SetBkMode(memory.Get(), TRANSPARENT);
    RECT line{origin, 0, width, height};
    ::DrawTextW(memory.Get(), text.c_str(), static_cast<int>(text.size()), &line, DT_SINGLELINE | DT_NOCLIP);
    ::GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int x = width - 1; x >= 0; --x) {
        for (int y = 0; y < height; ++y) {
            if ((pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF) != 0xFFFFFF) return x + 1 - origin;
        }
    }
    return 0;
}

int LineHeight(HWND control) { return std::max(1L, Measure(control, L"Ag", DT_SINGLELINE, 0).bottom); }

bool MeasureStatic(HWND control, DWORD style, const std::wstring& text, const RECT& client, MeasuredText& out) {
    const DWORD kind = style & SS_TYPEMASK;
    const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    const int width = client.right;
    out.textWidth = Measure(control, text, DT_SINGLELINE | prefix, 0).right;
    if (kind == SS_LEFTNOWORDWRAP || kind == SS_SIMPLE) {
        // One line, cut at the edge: what shows is the drawn text.
        out.textWidth = DrawnWidth(control, text);
        out.room = width;
        out.clipped = out.textWidth > width;
        return true;
    }
    if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT) return false;
    const int lines = std::max(1L, client.bottom / LineHeight(control));
    const RECT wrapped = Measure(control, text, DT_WORDBREAK | prefix, width);
    out.room = width * lines;
    out.clipped = wrapped.bottom > client.bottom || wrapped.right > width;
    return true;
}

bool MeasureButton(HWND control, DWORD style, const std::wstring& text, const RECT& client, MeasuredText& out) {
    const DWORD kind = style & BS_TYPEMASK;
    // A button draws its text on one line, cut at its edge.
    const int textWidth = DrawnWidth(control, text);
    out.room = client.right;
    if (kind == BS_GROUPBOX) {
        // The frame's corner and a character's gap on either side of the caption.
        out.textWidth = textWidth + 2 * Measure(control, L"x", DT_SINGLELINE, 0).right + 4;
    } else if (kind == BS_OWNERDRAW || kind == BS_USERBUTTON) {
        return false;
    } else if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) {
        // The button's edges and the focus rectangle inside them.
        out.textWidth = textWidth + 8;
    } else {
        // As the button draws itself: the box (12 pixels and one at 96 dpi),
        // then half a digit's width of gap before the text.
        const int box = 12 * ::GetDeviceCaps(framework::WindowDc(control).Get(), LOGPIXELSX) / 96 + 1;
        out.textWidth = textWidth + box + Measure(control, L"0", DT_SINGLELINE, 0).right / 2;
    }
    if (style & BS_MULTILINE) {
        const int lines = std::max(1L, client.bottom / LineHeight(control));
        out.clipped = out.textWidth > out.room * lines;
        out.room *= lines;
    } else {
        out.clipped = out.textWidth > out.room;
    }
    return true;
}

}  // namespace

std::vector<MeasuredText> MeasureTexts(HWND dialog) {
    std::vector<MeasuredText> texts;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring text = TextOf(child);
        if (text.empty()) continue;
        const std::wstring kind = ClassOf(child);
        const DWORD style = static_cast<DWORD>(::GetWindowLongW(child, GWL_STYLE));
        RECT client{};
        ::GetClientRect(child, &client);
        MeasuredText measured{::GetDlgCtrlID(child), text, 0, 0, false};
        const bool known = _wcsicmp(kind.c_str(), L"Static") == 0
                               ? MeasureStatic(child, style, text, client, measured)
                               : _wcsicmp(kind.c_str(), L"Button") == 0 && MeasureButton(child, style, text, client, measured);
        if (known) texts.push_back(measured);
    }
    return texts;
}

void SaveClippedTextReport(const std::wstring& name, const std::wstring& language,
                           const std::vector<MeasuredText>& texts) {
    FILE* file = _wfopen(ScreenshotPath(name + L".txt").c_str(), L"w, ccs=UTF-8");
    if (!file) return;
    for (const MeasuredText& text : texts) {
        if (!text.clipped) continue;
        std::fwprintf(file, L"%d\t%ls\t%d px\t%d px\t%ls\n", text.id, language.c_str(), text.textWidth, text.room,
                      text.text.c_str());
    }
    std::fclose(file);
}

void ExpectNothingClipped(const std::vector<MeasuredText>& texts, const std::wstring& look) {
    for (const MeasuredText& text : texts) {
        EXPECT_FALSE(text.clipped) << "control " << text.id << " in " << look.c_str() << ": " << text.textWidth
                                   << " px for " << text.room << " px";
    }
}

}  // namespace test_support

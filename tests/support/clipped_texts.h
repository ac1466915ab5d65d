// Which texts of a dialog do not fit their controls: each static text and
// button measured with the control's own font against the room the control
// gives its text, and a report of them for people to read. A text drawn on
// one line and cut at the control's edge (a button's, a static text's
// without word wrap) counts the pixels it covers when drawn; a wrapping
// static text counts the widths its line breaks are decided on.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test_support {

struct MeasuredText {
    int id;
    std::wstring text;
    int textWidth;  // pixels the text takes on one line (with a button's box or margins)
    int room;       // pixels the control gives it: its width, or width x lines for wrapping texts
    bool clipped;
};

// Every static text, push button, check box, radio button and group box among
// the dialog's children, in child order. A wrapping static text is clipped
// when its wrapped lines need more height than the control has, or one word
// is wider than the control.
std::vector<MeasuredText> MeasureTexts(HWND dialog);

// Writes the clipped ones as a table under the screenshots folder (name.txt,
// replaced), one line each: id, language, text width, room, text.
void SaveClippedTextReport(const std::wstring& name, const std::wstring& language,
                           const std::vector<MeasuredText>& texts);

// A test failure for each clipped one, naming the look it was measured in.
void ExpectNothingClipped(const std::vector<MeasuredText>& texts, const std::wstring& look);

}  // namespace test_support

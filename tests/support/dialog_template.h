// Checking a dialog template as the program carries it: the dialog made from
// it with no code behind, its frame, and its controls in tab order.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace test_support {

struct TemplateControl {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    RECT units;  // x, y, width, height in dialog units
    DWORD type;  // the style bits of the control's own kind
    DWORD typeMask;
    DWORD tabAndGroup;  // WS_TABSTOP and WS_GROUP as the template sets them
};

// The dialog of a template of this program with a procedure that does
// nothing; destroyed with the object.
class PlainDialog {
public:
    explicit PlainDialog(int templateId);
    ~PlainDialog();
    PlainDialog(const PlainDialog&) = delete;
    PlainDialog& operator=(const PlainDialog&) = delete;

    HWND Get() const { return dialog_; }
    // As the dialog manager places a control: origin and size are each
    // converted from dialog units on their own.
    RECT Pixels(const RECT& units) const;

private:
    HWND dialog_;
};

// The caption, the given style bits (and no child, sizing or box styles),
// the client size in dialog units and the font, "MS Shell Dlg" at 8 points.
void ExpectDialogFrame(const PlainDialog& dialog, const wchar_t* caption, DWORD styles, SIZE units);

// Every child in tab order against its row: id, class, text, kind, tab and
// group bits, visible and enabled, and its rectangle (a closed combo box is
// as high as its font needs, so its height is not checked). extra checks
// what is particular to one dialog.
void ExpectControlsInTabOrder(const PlainDialog& dialog, const std::vector<TemplateControl>& rows,
                              const std::function<void(HWND, const TemplateControl&)>& extra);

}  // namespace test_support

// How this process draws dialogs: the screen's dots per inch and the face
// that "MS Shell Dlg" stands for. A process reads both from the registry once,
// as it starts, so another look needs another process: this test program's
// own cases, run again in a child process under the look asked for.
#pragma once

#include <string>
#include <vector>

namespace test_support {

struct DialogLook {
    int dpi;
    std::wstring face;  // the family of the font that "MS Shell Dlg" gives
};

DialogLook CurrentDialogLook();

// Names a picture or a table by its look: "96dpi", or "144dpi-ms-sans-serif"
// for a face other than Wine's default Tahoma.
std::wstring LookName(const DialogLook& look);

// Runs the cases of this program that the GoogleTest filter names in a child
// process that sees `dpi` and, unless null, `face` as the substitute of "MS
// Shell Dlg", with `fontFiles`, some of Wine's own fonts, in the prefix's font
// folder; the registry and the folder are put back afterwards. Expects the
// child's cases to pass and to save each of the pictures anew: the cases
// name them by the look they see, so the pictures also show that the look
// took effect.
void ExpectCasesPassInLook(const std::string& filter, int dpi, const wchar_t* face,
                           const std::vector<std::wstring>& fontFiles, const std::vector<std::wstring>& pictures);

}  // namespace test_support

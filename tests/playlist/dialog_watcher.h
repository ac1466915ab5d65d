// The open-file dialog as the playlist tests drive it, and reading the
// playlist dialog's list.
#pragma once

#include <windows.h>

#include "tests/support/dialog_watcher.h"

#include <string>
#include <vector>

namespace playlist_tests {

// What the open-file dialog showed and what became of it.
struct SeenFileDialog {
    HWND owner = nullptr;
    std::wstring firstFilter;  // the first entry of its file-type list
};

// Watches for the system's open-file dialog of this process. Types names
// (several as "a.mp3" "b.mp3") into its file-name box and confirms, or
// cancels it when names is empty. A dialog that stays open after that (it
// refused the names) is cancelled, so that a failing test does not hang.
class FileDialogWatcher {
public:
    explicit FileDialogWatcher(std::wstring names);
    // Stops watching; false when no open-file dialog was seen.
    bool Stop() { return watcher_.Stop(); }
    const SeenFileDialog& Seen() const { return seen_; }

private:
    void Act(HWND dialog);

    std::wstring names_;
    SeenFileDialog seen_;
    test_support::DialogWatcher watcher_;
};

// The texts of a list view's rows, in order.
std::vector<std::wstring> ListRows(HWND list);
// The rows a list view shows as selected.
std::vector<int> SelectedRows(HWND list);

}  // namespace playlist_tests

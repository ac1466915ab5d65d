// Drives a dialog that a handler of the test's own dialog runs modally (the
// open-file dialog, the playlist dialog opened from the settings dialog):
// while the test's thread waits inside that modal loop, a thread of its own
// finds the dialog and acts on it through messages.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace playlist_tests {

class DialogWatcher {
public:
    // Runs act on the watcher's thread with the first visible top-level
    // dialog (#32770) of this process that match accepts.
    DialogWatcher(std::function<bool(HWND)> match, std::function<void(HWND)> act);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Stops watching; true when a dialog was found and acted on.
    bool Stop();

private:
    void Watch();

    std::function<bool(HWND)> match_;
    std::function<void(HWND)> act_;
    std::atomic<bool> stop_{false};
    bool acted_ = false;
    std::thread thread_;
};

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
    DialogWatcher watcher_;
};

// The texts of a list view's rows, in order.
std::vector<std::wstring> ListRows(HWND list);
// The rows a list view shows as selected.
std::vector<int> SelectedRows(HWND list);

}  // namespace playlist_tests

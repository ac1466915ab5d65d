// How long the settings dialog takes to appear: from starting the program
// with /c to the dialog's first paint, beside a bare program that shows the
// same template with no logic, in alternating runs; then where the time goes
// among the steps of the dialog's start, measured in this process.
#include "bench/median.h"
#include "config/settings_schema.h"
#include "ui/settings_dlg.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::wstring BesideThisProgram(const std::wstring& name) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    return folder.substr(0, folder.rfind(L'\\') + 1) + name;
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindDialogOf(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (owner != search->processId || !::IsWindowVisible(window) || std::wstring(className) != L"#32770") return TRUE;
    search->found = window;
    return FALSE;
}

// Milliseconds from CreateProcess to the moment the dialog is visible, its
// thread answers and no part of it waits to be painted; -1 on failure.
double TimeToFirstPaint(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const Clock::time_point start = Clock::now();
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return -1;
    }
    double elapsed = -1;
    while (MillisecondsSince(start) < 60000) {
        Search search{process.dwProcessId, nullptr};
        ::EnumWindows(&FindDialogOf, reinterpret_cast<LPARAM>(&search));
        DWORD_PTR ignored = 0;
        if (search.found && ::SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) &&
            !::GetUpdateRect(search.found, nullptr, FALSE)) {
            elapsed = MillisecondsSince(start);
            ::PostMessageW(search.found, WM_CLOSE, 0, 0);
            break;
        }
        ::Sleep(1);
    }
    if (::WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return elapsed;
}

// The dialog's start, step by step in its own order, each step timed.
class TimedSettingsDlg : public CSettingsDlg {
public:
    std::vector<std::pair<const char*, double>> steps;

    // CSettingsDlg::InitDialog's steps in its order, each one timed.
    BOOL InitDialog(HWND focus, LPARAM initParam) override {
        Time("wallpaper search, string table, translation", [&] { CSettingsDlgBase::InitDialog(focus, initParam); });
        Time("option control handles", [&] { FetchOptionControls(); });
        Time("display inventory", [&] { Display().EnumerateDisplays(); });
        Time("load settings (defaults with their probes, then the key)", [&] { LoadSettings(); });
        Time("monitor check", [&] { Display().ValidateMonitorChoice(); });
        Time("fill the controls", [&] { FillControls(); });
        Time("caption, show, icon", [&] { ShowCaptionAndIcon(); });
        PostMessage(WM_CLOSE);
        return TRUE;
    }

private:
    template <typename Step>
    void Time(const char* name, Step step) {
        const Clock::time_point start = Clock::now();
        step();
        steps.emplace_back(name, MillisecondsSince(start));
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::wstring screensaver = BesideThisProgram(L"..\\Marrowdale 3D Screensaver.scr");
    const std::wstring bare = BesideThisProgram(L"bare_dialog.exe");

    std::vector<double> product, yardstick;
    // A first start of each fills Wine's caches; it is not counted.
    TimeToFirstPaint(screensaver, L"/c");
    TimeToFirstPaint(bare, L"");
    for (int round = 0; round < rounds; ++round) {
        product.push_back(TimeToFirstPaint(screensaver, L"/c"));
        yardstick.push_back(TimeToFirstPaint(bare, L""));
    }
    const double productMs = Median(product);
    const double bareMs = Median(yardstick);
    std::printf("first paint, median of %d alternating runs:\n", rounds);
    std::printf("  settings dialog (/c) %8.1f ms\n", productMs);
    std::printf("  bare template        %8.1f ms\n", bareMs);
    std::printf("  ratio                %8.2f (goal: within 1.3 x bare + 50 ms = %.1f ms)\n",
                bareMs > 0 ? productMs / bareMs : 0.0, 1.3 * bareMs + 50);

    ::CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    std::vector<std::vector<std::pair<const char*, double>>> runs;
    for (int round = 0; round < rounds; ++round) {
        TimedSettingsDlg dialog;
        dialog.DoModal(nullptr);
        MSG message;
        while (::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        runs.push_back(dialog.steps);
    }
    std::printf("the dialog's start in this process, median of %d runs:\n", rounds);
    const double whole = [&] {
        std::vector<double> totals;
        for (const auto& run : runs) {
            double total = 0;
            for (const auto& step : run) total += step.second;
            totals.push_back(total);
        }
        return Median(totals);
    }();
    for (size_t step = 0; step < runs.front().size(); ++step) {
        std::vector<double> times;
        for (const auto& run : runs) times.push_back(run[step].second);
        const double ms = Median(times);
        std::printf("  %-62s %8.1f ms  %5.1f%%\n", runs.front()[step].first, ms, whole > 0 ? 100 * ms / whole : 0);
    }
    std::printf("  %-62s %8.1f ms\n", "whole start", whole);
    ::CoUninitialize();
    return 0;
}

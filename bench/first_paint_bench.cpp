// How long the settings dialog takes to appear: from starting the program
// with /c to the dialog's first paint, with the product key holding the
// hardware-dependent settings (as after the first OK) and without them (the
// first run), beside a bare program that shows the same template with no
// logic, in alternating runs, and until the controls filled from the
// hardware's answers are complete; then where the time goes among the steps of
// the dialog's start and in each probe alone, measured in this process.
// Given the path of another build of the program (an older one, say), times
// it too in the same alternating runs, so that the two compare on an equal
// footing. Puts the key's hardware-dependent values back as they were.
#include "bench/median.h"
#include "config/product.h"
#include "config/settings_schema.h"
#include "display/antialiasing_probe.h"
#include "ui/settings_dlg.h"
#include "ui/start_probes.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
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

// Whether the controls filled from the hardware's answers show them: the
// monitor list and the antialiasing list have entries and the Antialiasing
// box can be used (on a first run its tier is probed).
bool HardwareFilled(HWND dialog) {
    DWORD_PTR monitors = 0, samples = 0;
    const UINT flags = SMTO_ABORTIFHUNG;
    return ::SendMessageTimeoutW(::GetDlgItem(dialog, 1002), CB_GETCOUNT, 0, 0, flags, 5000, &monitors) &&
           ::SendMessageTimeoutW(::GetDlgItem(dialog, 1069), CB_GETCOUNT, 0, 0, flags, 5000, &samples) &&
           static_cast<LRESULT>(monitors) > 0 && static_cast<LRESULT>(samples) > 0 &&
           ::IsWindowEnabled(::GetDlgItem(dialog, 1068));
}

struct Times {
    double paint = -1;     // to the first paint
    double complete = -1;  // to the last hardware-filled control
    double ended = -1;     // to the end of the process, closed at once
};

// Milliseconds from CreateProcess to the moment the dialog is visible, its
// thread answers and no part of it waits to be painted, and to the moment
// its hardware-filled controls are complete (when asked: the bare template
// has none; when not, the dialog is closed at its first paint); and to the
// end of the process after the close; -1 on failure.
Times TimeToFirstPaint(const std::wstring& program, const std::wstring& arguments, bool untilFilled = true) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const Clock::time_point start = Clock::now();
    Times times;
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return times;
    }
    HWND dialog = nullptr;
    while (MillisecondsSince(start) < 60000) {
        if (!dialog) {
            Search search{process.dwProcessId, nullptr};
            ::EnumWindows(&FindDialogOf, reinterpret_cast<LPARAM>(&search));
            DWORD_PTR ignored = 0;
            if (search.found &&
                ::SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) &&
                !::GetUpdateRect(search.found, nullptr, FALSE)) {
                times.paint = MillisecondsSince(start);
                dialog = search.found;
            }
        }
        if (dialog && (!untilFilled || HardwareFilled(dialog))) {
            times.complete = MillisecondsSince(start);
            ::PostMessageW(dialog, WM_CLOSE, 0, 0);
            break;
        }
        // Once it shows, the dialog is asked less often, so that the asking
        // does not hold up the probes it waits for.
        ::Sleep(dialog ? 20 : 1);
    }
    if (dialog && times.complete < 0) ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0) {
        times.ended = MillisecondsSince(start);
    } else {
        ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return times;
}

// The hardware-dependent values of the product key (64-bit view, where the
// program keeps them): written or deleted for a run, put back at the end.
class HardwareValues {
public:
    HardwareValues() {
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, product::kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE | KEY_WOW64_64KEY,
                          nullptr, &key_, nullptr);
        for (Saved& saved : saved_) {
            DWORD size = sizeof(saved.data);
            saved.present = ::RegQueryValueExW(key_, saved.name, nullptr, &saved.type, saved.data, &size) == 0;
            saved.size = size;
        }
    }
    ~HardwareValues() {
        for (const Saved& saved : saved_) {
            if (saved.present) {
                ::RegSetValueExW(key_, saved.name, 0, saved.type, saved.data, saved.size);
            } else {
                ::RegDeleteValueW(key_, saved.name);
            }
        }
        ::RegCloseKey(key_);
    }
    void Store() {
        for (const Saved& saved : saved_) {
            const wchar_t text[] = L"2: 1";  // typed text, without a terminator
            ::RegSetValueExW(key_, saved.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 4 * sizeof(wchar_t));
        }
    }
    void Delete() {
        for (const Saved& saved : saved_) ::RegDeleteValueW(key_, saved.name);
    }

private:
    struct Saved {
        const wchar_t* name;
        bool present = false;
        DWORD type = 0;
        DWORD size = 0;
        BYTE data[512] = {};
    };
    HKEY key_ = nullptr;
    Saved saved_[3] = {{L"HighQualityTextures"}, {L"HighQualityGraphics"}, {L"Antialiasing"}};
};

using Steps = std::vector<std::pair<const char*, double>>;

template <typename Step>
void Time(Steps& steps, const char* name, Step step) {
    const Clock::time_point start = Clock::now();
    step();
    steps.emplace_back(name, MillisecondsSince(start));
}

// The dialog's start, step by step in its own order, each step timed, and
// then the time until every hardware answer is shown.
class TimedSettingsDlg : public CSettingsDlg {
public:
    Steps steps;

    BEGIN_MSG_MAP(TimedSettingsDlg)
        MESSAGE_HANDLER(kProbeAnswered, OnAnswer)
        CHAIN_MSG_MAP(CSettingsDlg)
    END_MSG_MAP()

    // CSettingsDlg::InitDialog's steps in its order, each one timed.
    BOOL InitDialog(HWND focus, LPARAM initParam) override {
        Time(steps, "check the stored key, start the probes", [&] { StartHardwareProbes(); });
        Time(steps, "wallpaper search, string table, translation",
             [&] { CSettingsDlgBase::InitDialog(focus, initParam); });
        Time(steps, "option control handles", [&] { FetchOptionControls(); });
        Time(steps, "load settings, fill what needs no hardware", [&] { LoadAndFillControls(); });
        Time(steps, "caption, show, icon", [&] { ShowCaptionAndIcon(); });
        answersFrom_ = Clock::now();
        return TRUE;
    }

private:
    LRESULT OnAnswer(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
        LRESULT result = 0;
        CSettingsDlg::ProcessWindowMessage(m_hWnd, message, wParam, lParam, result);
        if (HardwareAnswersShown() && !closed_) {
            steps.emplace_back("after the start, until every answer is shown", MillisecondsSince(answersFrom_));
            closed_ = true;
            PostMessage(WM_CLOSE);
        }
        return 0;
    }

    Clock::time_point answersFrom_;
    bool closed_ = false;
};

// Closed as soon as it has started, before the answers come: how long its
// end takes, from the close until the dialog is gone (the close itself waits
// for nothing; the end waits for the probes still running).
class ClosedAtOnceDlg : public CSettingsDlg {
public:
    double waited = -1;

    BOOL InitDialog(HWND focus, LPARAM initParam) override {
        const BOOL result = CSettingsDlg::InitDialog(focus, initParam);
        PostMessage(WM_CLOSE);
        return result;
    }
    void DialogClosing() override { closedAt_ = Clock::now(); }
    void OnFinalMessage(HWND) override { waited = MillisecondsSince(closedAt_); }

private:
    Clock::time_point closedAt_;
};

void PrintSteps(const char* title, const std::vector<Steps>& runs) {
    std::printf("%s, median of %zu runs:\n", title, runs.size());
    std::vector<double> totals;
    for (const Steps& run : runs) {
        double total = 0;
        for (const auto& step : run) total += step.second;
        totals.push_back(total);
    }
    const double whole = Median(totals);
    for (size_t step = 0; step < runs.front().size(); ++step) {
        std::vector<double> times;
        for (const Steps& run : runs) times.push_back(run[step].second);
        const double ms = Median(times);
        std::printf("  %-50s %8.1f ms  %5.1f%%\n", runs.front()[step].first, ms, whole > 0 ? 100 * ms / whole : 0);
    }
    std::printf("  %-50s %8.1f ms\n", "whole start", whole);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::wstring screensaver = BesideThisProgram(L"..\\Marrowdale 3D Screensaver.scr");
    const std::wstring bare = BesideThisProgram(L"bare_dialog.exe");
    std::wstring other;
    if (argc > 2) other.assign(argv[2], argv[2] + std::strlen(argv[2]));
    HardwareValues values;

    // Each: first paint, then hardware complete.
    std::vector<double> complete, empty, yardstick, otherComplete, otherEmpty;
    std::vector<double> completeFilled, emptyFilled, otherCompleteFilled, otherEmptyFilled;
    // Closed at its first paint, before the answers come: the close waits
    // for them, then the process ends.
    std::vector<double> closedAtPaint, closedAtPaintEnded;
    const auto record = [](const Times& times, std::vector<double>& paint, std::vector<double>& filled) {
        paint.push_back(times.paint);
        filled.push_back(times.complete);
    };
    // A first start of each fills Wine's caches; it is not counted.
    TimeToFirstPaint(screensaver, L"/c");
    TimeToFirstPaint(bare, L"", false);
    if (!other.empty()) TimeToFirstPaint(other, L"/c");
    for (int round = 0; round < rounds; ++round) {
        values.Store();
        record(TimeToFirstPaint(screensaver, L"/c"), complete, completeFilled);
        yardstick.push_back(TimeToFirstPaint(bare, L"", false).paint);
        if (!other.empty()) record(TimeToFirstPaint(other, L"/c"), otherComplete, otherCompleteFilled);
        values.Delete();
        record(TimeToFirstPaint(screensaver, L"/c"), empty, emptyFilled);
        const Times closed = TimeToFirstPaint(screensaver, L"/c", false);
        closedAtPaint.push_back(closed.paint);
        closedAtPaintEnded.push_back(closed.ended);
        if (!other.empty()) record(TimeToFirstPaint(other, L"/c"), otherEmpty, otherEmptyFilled);
    }
    const double completeMs = Median(complete), emptyMs = Median(empty), bareMs = Median(yardstick);

    ::CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    std::vector<Steps> completeRuns, emptyRuns, probeRuns;
    std::vector<double> closeWaits;
    for (int round = 0; round < rounds; ++round) {
        for (bool stored : {true, false}) {
            if (stored) {
                values.Store();
            } else {
                values.Delete();
            }
            TimedSettingsDlg dialog;
            dialog.DoModal(nullptr);
            MSG message;
            while (::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            }
            (stored ? completeRuns : emptyRuns).push_back(dialog.steps);
        }
        values.Delete();
        ClosedAtOnceDlg closed;
        closed.DoModal(nullptr);
        MSG message;
        while (::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        closeWaits.push_back(closed.waited);
        // Each probe alone, one after the other on this thread.
        Node settings;
        DeviceConfirmer confirmer;
        DisplayConfiguration display(settings, confirmer);
        Steps probes;
        Time(probes, "Direct3D 9 inventory", [&] { display.EnumerateDisplays(); });
        Time(probes, "video memory and clock (hardware defaults)", [&] { display.ProbeHardwareDefaults(); });
        Time(probes, "Direct3D 11 multisample counts", [&] { ProbeSampleCounts(); });
        probeRuns.push_back(probes);
    }
    ::CoUninitialize();

    double slowestProbe = 0;
    for (size_t probe = 0; probe < probeRuns.front().size(); ++probe) {
        std::vector<double> times;
        for (const Steps& run : probeRuns) times.push_back(run[probe].second);
        slowestProbe = std::max(slowestProbe, Median(times));
    }
    std::printf("first paint, median of %d alternating runs:\n", rounds);
    std::printf("  settings dialog (/c), stored key complete %8.1f ms (goal: 1.3 x bare + 50 ms = %.1f ms)\n",
                completeMs, 1.3 * bareMs + 50);
    std::printf("  settings dialog (/c), first run           %8.1f ms (goal: the same)\n", emptyMs);
    std::printf("  bare template                             %8.1f ms\n", bareMs);
    std::printf("  ratios to bare: complete %.2f, first run %.2f\n", bareMs > 0 ? completeMs / bareMs : 0.0,
                bareMs > 0 ? emptyMs / bareMs : 0.0);
    std::printf("last hardware-filled control complete, median of the same runs:\n");
    std::printf("  stored key complete %8.1f ms, first run %8.1f ms (slowest probe alone: %.1f ms)\n",
                Median(completeFilled), Median(emptyFilled), slowestProbe);
    std::printf("first run closed at its first paint: painted %8.1f ms, process ended %8.1f ms\n",
                Median(closedAtPaint), Median(closedAtPaintEnded));
    if (!other.empty()) {
        std::printf("beside %s, in the same runs (first paint / hardware complete):\n", argv[2]);
        std::printf("  %-45s %21s %21s\n", "", "this", "other");
        std::printf("  %-45s %7.1f / %7.1f ms %7.1f / %7.1f ms\n", "settings dialog (/c), stored key complete",
                    completeMs, Median(completeFilled), Median(otherComplete), Median(otherCompleteFilled));
        std::printf("  %-45s %7.1f / %7.1f ms %7.1f / %7.1f ms\n", "settings dialog (/c), first run", emptyMs,
                    Median(emptyFilled), Median(otherEmpty), Median(otherEmptyFilled));
    }
    PrintSteps("the dialog's start in this process, stored key complete", completeRuns);
    PrintSteps("the dialog's start in this process, first run", emptyRuns);
    PrintSteps("each probe alone in this process", probeRuns);
    std::printf("first run closed at once in this process: its end took %.1f ms (limit %lu ms)\n",
                Median(closeWaits), static_cast<unsigned long>(kProbeTimeLimit));
    return 0;
}

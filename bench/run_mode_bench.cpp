// The run mode beside a bare launcher: "<scr> /s" and bare_launcher.exe start
// the same renderer, which ends at once, in alternating runs. Reports, as
// medians, the time from process creation to the launcher's end and the
// launcher's peak working set while the renderer runs, with their ratios, and
// the sizes of the .scr files.
//   run_mode_bench.exe [runs per side, default 21]
// Sets the product key's AppPath for the run and puts the old value back, in
// the 64-bit view where the program reads it.
#include "bench/median.h"
#include "config/product.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

std::wstring OwnFolder() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return Folder(self);
}

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string ReadText(const std::wstring& path) {
    std::string text;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    char buffer[64] = {};
    DWORD read = 0;
    if (::ReadFile(file, buffer, sizeof(buffer) - 1, &read, nullptr)) text.assign(buffer, read);
    ::CloseHandle(file);
    return text;
}

struct Sample {
    double ms = 0;
    double peakMb = 0;
};

// One run: milliseconds from creating the launcher to its end, and the peak
// working set the renderer saw it at.
bool RunOnce(std::wstring commandLine, const std::wstring& peakFile, Sample& sample) {
    ::DeleteFileW(peakFile.c_str());
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return false;
    }
    // A program that shows an error box instead of starting the renderer
    // would wait for ever; a run that long is a failed one.
    const bool ended = ::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    if (!ended) ::TerminateProcess(process.hProcess, 1);
    ::QueryPerformanceCounter(&end);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    sample.ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    const std::string peak = ReadText(peakFile);
    if (!ended || peak.empty()) return false;
    sample.peakMb = std::strtod(peak.c_str(), nullptr) / (1024.0 * 1024.0);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 21;
    const std::wstring bench = OwnFolder();
    const std::wstring build = Folder(bench);
    const std::wstring scr = build + L"\\Marrowdale 3D Screensaver.scr";
    const std::wstring productScr = Folder(build) + L"\\product\\Marrowdale 3D Screensaver.scr";

    // The renderer in a folder of its own, as the installer would place it.
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring install = std::wstring(temp) + L"marrowdale-run-mode-bench";
    ::CreateDirectoryW(install.c_str(), nullptr);
    const std::wstring renderer = install + L"\\Marrowdale 3D Screensaver.exe";
    if (!::CopyFileW((bench + L"\\instant_renderer.exe").c_str(), renderer.c_str(), FALSE)) {
        std::fprintf(stderr, "cannot place the renderer\n");
        return 1;
    }
    const std::wstring peakFile = install + L"\\parent-peak.txt";

    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, product::kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE | KEY_WOW64_64KEY,
                          nullptr, &key, nullptr) != ERROR_SUCCESS) {
        std::fprintf(stderr, "cannot open the product key\n");
        return 1;
    }
    std::vector<BYTE> oldValue(4096);
    DWORD oldType = 0, oldSize = static_cast<DWORD>(oldValue.size());
    const bool hadValue =
        ::RegQueryValueExW(key, L"AppPath", nullptr, &oldType, oldValue.data(), &oldSize) == ERROR_SUCCESS;
    ::RegSetValueExW(key, L"AppPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(install.c_str()),
                     static_cast<DWORD>((install.size() + 1) * sizeof(wchar_t)));

    std::vector<double> scrMs, scrMb, bareMs, bareMb;
    bool ok = true;
    for (int i = 0; i < runs && ok; ++i) {
        Sample sample;
        ok = RunOnce(L"\"" + scr + L"\" /s", peakFile, sample);
        scrMs.push_back(sample.ms);
        scrMb.push_back(sample.peakMb);
        ok = ok && RunOnce(L"\"" + bench + L"\\bare_launcher.exe\" \"" + renderer + L"\"", peakFile, sample);
        bareMs.push_back(sample.ms);
        bareMb.push_back(sample.peakMb);
    }

    if (hadValue) {
        ::RegSetValueExW(key, L"AppPath", 0, oldType, oldValue.data(), oldSize);
    } else {
        ::RegDeleteValueW(key, L"AppPath");
    }
    ::RegCloseKey(key);
    ::DeleteFileW(renderer.c_str());
    ::DeleteFileW(peakFile.c_str());
    ::RemoveDirectoryW(install.c_str());
    if (!ok) {
        std::fprintf(stderr, "a run failed (no renderer record)\n");
        return 1;
    }

    const double sMs = Median(scrMs), sMb = Median(scrMb), bMs = Median(bareMs), bMb = Median(bareMb);
    std::printf("alternating runs: %d per side, medians\n", runs);
    std::printf("  .scr /s        %8.1f ms  %7.1f MB peak working set\n", sMs, sMb);
    std::printf("  bare launcher  %8.1f ms  %7.1f MB peak working set\n", bMs, bMb);
    std::printf("  ratio          %8.2f     %7.2f\n", sMs / bMs, sMb / bMb);
    std::printf(".scr sizes: this build %lld bytes; i686 product %lld bytes (-1: not built)\n", FileSize(scr),
                FileSize(productScr));
    return 0;
}

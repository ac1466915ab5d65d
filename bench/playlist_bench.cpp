// What reading huge playlist files costs: time and peak memory of
// AppendFromM3u on 10 MB files of several kinds, from the cheapest to the one
// that holds the most entries (the peak is the process's, so it only grows).
#include "playlist/playlist.h"

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// 10 MiB, or the MiB given on the command line.
size_t fileBytes = 10u << 20;

// Writes the file in pieces, so that making it adds nothing to the peak.
bool WriteFile(const std::wstring& path, const std::function<void(std::string& piece)>& fill) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    std::string piece;
    for (size_t written = 0; ok && written < fileBytes; written += piece.size()) {
        piece.clear();
        fill(piece);
        DWORD done = 0;
        ok = ::WriteFile(file, piece.data(), static_cast<DWORD>(piece.size()), &done, nullptr) && done == piece.size();
    }
    ::CloseHandle(file);
    return ok;
}

size_t PeakWorkingSetMiB() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters))) return 0;
    return counters.PeakWorkingSetSize >> 20;
}

void Measure(const char* what, const std::wstring& path) {
    const Clock::time_point start = Clock::now();
    Playlist playlist;
    playlist.AppendFromM3u(path);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("  %-44s %10.1f ms  %8zu entries  peak working set %4zu MiB\n", what, ms, playlist.Count(),
                PeakWorkingSetMiB());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::atoi(argv[1]) > 0) fileBytes = static_cast<size_t>(std::atoi(argv[1])) << 20;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"marrowdale-playlist-bench-" + std::to_wstring(::GetCurrentProcessId());
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) return 1;
    const std::wstring music = folder + L"\\a.mp3";
    const std::wstring list = folder + L"\\list.m3u";
    HANDLE musicFile =
        ::CreateFileW(music.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (musicFile == INVALID_HANDLE_VALUE) return 1;
    ::CloseHandle(musicFile);

    std::printf("AppendFromM3u on %zu MiB files (start: peak working set %zu MiB)\n", fileBytes >> 20,
                PeakWorkingSetMiB());

    WriteFile(list, [](std::string& piece) { piece.assign(64 * 1024, 'x'); });
    Measure("one line, no line feed", list);

    std::mt19937 generator(20240601);
    WriteFile(list, [&](std::string& piece) {
        for (int i = 0; i < 64 * 1024; ++i) piece.push_back(static_cast<char>(generator() & 0xFF));
    });
    Measure("random bytes", list);

    WriteFile(list, [](std::string& piece) {
        for (int i = 0; i < 4096; ++i) piece += std::string(2000, 'x') + "\n";
    });
    Measure("lines of 2000 characters, no such files", list);

    WriteFile(list, [](std::string& piece) {
        for (int i = 0; i < 16 * 1024; ++i) piece += "missing.mp3\n";
    });
    Measure("short lines, no such files", list);

    WriteFile(list, [](std::string& piece) {
        for (int i = 0; i < 16 * 1024; ++i) piece += "a.mp3\n";
    });
    Measure("short lines, all naming one existing file", list);

    ::DeleteFileW(list.c_str());
    ::DeleteFileW(music.c_str());
    ::RemoveDirectoryW(folder.c_str());
    return 0;
}

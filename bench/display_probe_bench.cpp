// Where the settings dialog's start-up time goes in the display probes: the
// inventory, the video memory, the clock and the antialiasing list, in the
// order the dialog runs them, with what each one found.
#include "config/node.h"
#include "display/antialiasing_list.h"
#include "display/clock_probe.h"
#include "display/display_configuration.h"
#include "display/video_memory.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    ::CoInitialize(nullptr);
    for (int round = 1; round <= rounds; ++round) {
        Node settings;
        DeviceConfirmer confirmer;
        auto display = std::make_unique<DisplayConfiguration>(settings, confirmer);

        Clock::time_point start = Clock::now();
        const HRESULT inventory = display->EnumerateDisplays();
        const double inventoryMs = MillisecondsSince(start);

        start = Clock::now();
        const std::uint32_t videoMemory = display->ProbeVideoMemory();
        const double videoMemoryMs = MillisecondsSince(start);

        start = Clock::now();
        const std::int32_t mhz = MeasureProcessorClock();
        const double clockMs = MillisecondsSince(start);

        start = Clock::now();
        const AntialiasingList list = display->AntialiasingChoices();
        const double antialiasingMs = MillisecondsSince(start);

        std::printf("round %d\n", round);
        std::printf("  inventory          %8.2f ms  (%s, %u monitor(s), %u mode(s) on monitor 0)\n", inventoryMs,
                    SUCCEEDED(inventory) ? "S_OK" : "E_FAIL", display->inventory().monitorCount,
                    display->inventory().monitorCount ? display->inventory().adapters[0].deviceTypes[0].modeCount : 0);
        std::printf("  video memory       %8.2f ms  (%u MiB)\n", videoMemoryMs, videoMemory >> 20);
        std::printf("  processor clock    %8.2f ms  (%d MHz)\n", clockMs, mhz);
        std::printf("  antialiasing list  %8.2f ms  (%u entries:", antialiasingMs,
                    static_cast<unsigned>(list.entries.size()));
        for (const AntialiasingEntry& entry : list.entries) std::printf(" %ls", entry.text.c_str());
        std::printf(")\n  total              %8.2f ms\n", inventoryMs + videoMemoryMs + clockMs + antialiasingMs);

        // The parts of the video-memory probe, for the primary monitor.
        const HMONITOR primary = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
        wchar_t deviceId[kDeviceIdLength];
        start = Clock::now();
        const HRESULT idResult = FindAdapterDeviceId(primary, deviceId);
        const double idMs = MillisecondsSince(start);
        std::vector<display_seam::VideoControllerRow> rows;
        start = Clock::now();
        const bool wmi = ListVideoControllers(rows);
        const double wmiMs = MillisecondsSince(start);
        start = Clock::now();
        const std::uint32_t directDraw = DirectDrawVideoMemory();
        const double directDrawMs = MillisecondsSince(start);
        std::printf("    of which: adapter device id %8.2f ms (%s %ls)\n", idMs, SUCCEEDED(idResult) ? "S_OK" : "E_FAIL",
                    SUCCEEDED(idResult) ? deviceId : L"");
        std::printf("              WMI controllers   %8.2f ms (%s, %u row(s)%s%ls)\n", wmiMs, wmi ? "ok" : "failed",
                    static_cast<unsigned>(rows.size()), rows.empty() ? "" : ", first ",
                    rows.empty() ? L"" : rows[0].pnpDeviceId.c_str());
        std::printf("              DirectDraw        %8.2f ms (%u MiB)\n", directDrawMs, directDraw >> 20);
    }
    ::CoUninitialize();
    return 0;
}

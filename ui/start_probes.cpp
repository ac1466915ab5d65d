#include "ui/start_probes.h"

#include "display/antialiasing_probe.h"
#include "display/clock_probe.h"

StartProbes::StartProbes(DisplayConfiguration& display, bool probeHardware)
    : display_(display),
      inventoryReady_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      inventory_(
          [this] {
              // Without Direct3D the inventory stays empty and the dialog still opens.
              const HRESULT result = display_.EnumerateDisplays();
              if (inventoryReady_) ::SetEvent(inventoryReady_.Get());
              return result;
          },
          true),
      sampleCounts_([] { return ProbeSampleCounts(); }, true) {
    if (!probeHardware) return;
    // Without the event the probe could not wait for the inventory on its
    // thread: it runs at its wait, after the inventory, instead.
    const HANDLE ready = inventoryReady_.Get();
    videoMemory_ = std::make_unique<ProbeThread<std::uint32_t>>(
        [this, ready] {
            return display_.ProbeVideoMemory([ready] {
                if (ready) ::WaitForSingleObject(ready, INFINITE);
            });
        },
        ready != nullptr);
    clock_ = std::make_unique<ProbeThread<std::int32_t>>([] { return MeasureProcessorClock(); }, true);
}

StartProbes::~StartProbes() {
    // A video-memory probe waiting for an inventory that was never taken
    // would never end.
    WaitForInventory();
}

void StartProbes::WaitForInventory() { inventory_.Wait(); }

HardwareDefaults StartProbes::WaitForHardwareDefaults() {
    WaitForInventory();
    if (!videoMemory_) return ComputeHardwareDefaults(0, 0, 0);
    const std::uint32_t videoMemory = videoMemory_->Wait();
    return DisplayConfiguration::HardwareDefaultsFor(videoMemory, clock_->Wait());
}

std::vector<std::int32_t> StartProbes::WaitForSampleCounts() { return sampleCounts_.Wait(); }

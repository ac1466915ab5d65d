// The display probes of the settings dialog, each on a thread of its own
// while the dialog shows: the inventory, the multisample counts, and the
// video memory and processor clock that decide the hardware-tiered
// defaults. Each posts a message to the dialog once it has answered; the
// dialog reads an answer only once it is there and never waits for one on
// its own thread. A probe that throws answers what a failed probe answers.
// A thread whose probe hangs is let go at the end and runs on until the
// process ends, holding its own share of everything it uses.
#pragma once

#include "config/node.h"
#include "display/display_configuration.h"
#include "framework/handles.h"
#include "framework/thread.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// How long the user's actions wait for answers still out, all together over
// the dialog's life; also what the dialog's end waits for the threads.
// Longer than WMI's own wait of 5 s for the video controllers, so that only
// a probe that truly hangs is given up.
inline constexpr DWORD kProbeTimeLimit = 6000;

class StartProbes {
public:
    // Starts the inventory and the multisample probe and, when asked, the
    // tiers' probes. Each answer posts `message` to `window`. The inventory
    // is taken into a display configuration of the probes' own, with the
    // dialog's device checks.
    StartProbes(DeviceConfirmer& confirmer, bool probeTiers, HWND window, UINT message);
    // Ends as Finish does, the time limit from now.
    ~StartProbes();
    StartProbes(const StartProbes&) = delete;
    StartProbes& operator=(const StartProbes&) = delete;

    // Starts the video-memory and clock probes, unless they run already.
    void ProbeTiers();
    bool ProbesTiers() const { return tiersStarted_; }

    // Whether each answer is there; never waits.
    bool InventoryAnswered() const { return Answered(kInventory); }
    bool TiersAnswered() const { return tiersStarted_ && Answered(kVideoMemory) && Answered(kClock); }
    bool SampleCountsAnswered() const { return Answered(kSampleCounts); }

    // The answers, once there: the inventory (empty from a failed probe),
    // the tiers, the multisample counts.
    const DisplayInventory& Inventory() const;
    HardwareDefaults Tiers() const;
    const std::vector<std::int32_t>& SampleCounts() const { return shared_->sampleCounts; }

    // Waits for the threads still running until the deadline (GetTickCount),
    // together, and lets go of the rest; afterwards no device check reaches
    // the dialog.
    void Finish(DWORD deadline);

private:
    enum Probe { kInventory, kSampleCounts, kVideoMemory, kClock, kProbeCount };

    // Passes the device checks on to the dialog's until Finish: an inventory
    // let go and still running must not call into a dialog that has gone. A
    // check under way finishes before that.
    class DetachableConfirmer : public DeviceConfirmer {
    public:
        explicit DetachableConfirmer(DeviceConfirmer& target) : target_(&target) {}
        HRESULT ConfirmDevice(const D3DCAPS9& caps, DWORD behavior, D3DFORMAT format) override;
        void Detach();

    private:
        SRWLOCK lock_ = SRWLOCK_INIT;
        DeviceConfirmer* target_;
    };

    // Everything the threads use; each thread holds a share of it. An
    // answer is written before its event is set and read only after.
    struct Shared {
        explicit Shared(DeviceConfirmer& target) : confirmer(target), display(settings, confirmer) {}
        DetachableConfirmer confirmer;
        Node settings;
        DisplayConfiguration display;
        bool inventoryFound = false;
        std::vector<std::int32_t> sampleCounts;
        std::uint32_t videoMemory = 0;
        std::int32_t clockMHz = 0;
        framework::UniqueHandle answered[kProbeCount];
    };

    void Start(Probe probe, std::function<void(Shared&)> work);
    bool Answered(Probe probe) const;

    HWND window_;
    UINT message_;
    std::shared_ptr<Shared> shared_;
    std::unique_ptr<framework::Thread> threads_[kProbeCount];
    bool tiersStarted_ = false;
    bool finished_ = false;
    DisplayInventory empty_;
};

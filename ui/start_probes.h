// The display probes of the settings dialog's start, run on threads of their
// own while the dialog shows. Each probe posts a message to the dialog when
// it has answered; the dialog takes the answers on its own thread, as they
// come or, when the user acts before they are all there, by waiting for them
// (the probes never need the dialog's thread, so a plain wait is safe). A
// probe that throws answers what a failed probe answers; one that hangs is
// waited for at most kProbeTimeLimit, then given up and left to run until the
// process ends.
#pragma once

#include "config/node.h"
#include "display/display_configuration.h"
#include "framework/handles.h"
#include "framework/thread.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Longer than WMI's own wait of 5 s for the video controllers, so that only a
// probe that truly hangs is given up.
inline constexpr DWORD kProbeTimeLimit = 6000;

// One probe on a thread of its own, with COM of its own for WMI. Without a
// thread (none could be made) the probe runs at once on the caller's. The
// work writes its answer where the typed ProbeThread below reads it.
class ProbeRun {
public:
    // Posts `message` to `window` once the work has ended, whatever it did.
    ProbeRun(std::function<void()> work, HWND window, UINT message);
    // A thread that has answered is only ending; one that has not has been
    // given up and goes on alone with its own share of what it uses.
    ~ProbeRun();
    ProbeRun(const ProbeRun&) = delete;
    ProbeRun& operator=(const ProbeRun&) = delete;

    // True once the answer is there, waiting at most `milliseconds`, or once
    // the probe has been given up.
    bool Settle(DWORD milliseconds);
    // A probe that has not answered by now answers nothing.
    void GiveUp();
    bool GivenUp() const { return givenUp_; }

private:
    struct Shared {
        std::function<void()> work;
        // Set once the work has ended (the wait also makes its answer visible).
        framework::UniqueHandle answered{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    };
    static void Run(Shared& shared);

    std::shared_ptr<Shared> shared_;
    std::unique_ptr<framework::Thread> thread_;
    bool givenUp_ = false;
};

template <typename Result>
class ProbeThread {
public:
    // A probe that throws answers what a failed probe answers: Result{}.
    ProbeThread(std::function<Result()> probe, HWND window, UINT message)
        : result_(std::make_shared<Result>()),
          run_([result = result_, probe = std::move(probe)] { *result = probe(); }, window, message) {}

    bool Settle(DWORD milliseconds) { return run_.Settle(milliseconds); }
    void GiveUp() { run_.GiveUp(); }
    // Once Settle is true: the probe's answer, or a failed probe's.
    const Result& Answer() const { return run_.GivenUp() ? nothing_ : *result_; }

private:
    // Shared with the thread, which may outlive this object once given up.
    std::shared_ptr<Result> result_;
    ProbeRun run_;
    Result nothing_{};
};

class StartProbes {
public:
    // Starts the inventory and the multisample probe and, when asked, the
    // video-memory probe (which waits for the inventory only where it looks
    // the stored monitor up in it) and the clock. Each answer posts `message`
    // to `window`. The inventory is taken into a display configuration of
    // the probes' own, with the dialog's device checks.
    StartProbes(DeviceConfirmer& confirmer, bool probeHardware, HWND window, UINT message);
    // Waits for the probes still running, all together at most the time
    // limit (not at all once given up).
    ~StartProbes();
    StartProbes(const StartProbes&) = delete;
    StartProbes& operator=(const StartProbes&) = delete;

    // Whether each answer is there, waiting at most `milliseconds` for it.
    bool InventoryAnswered(DWORD milliseconds = 0);
    bool HardwareDefaultsAnswered(DWORD milliseconds = 0);
    bool SampleCountsAnswered(DWORD milliseconds = 0);
    // Waits for every answer, all together at most the time limit, and gives
    // up the probes that have not answered by then.
    void AwaitAll();

    bool ProbesHardware() const { return static_cast<bool>(videoMemory_); }
    // The answers, once answered: the inventory (empty from a failed or given
    // up probe), the probed defaults (without the probes, those of hardware
    // that tells nothing), the multisample counts.
    const DisplayInventory& Inventory() const;
    HardwareDefaults ProbedHardwareDefaults() const;
    const std::vector<std::int32_t>& SampleCounts() const { return sampleCounts_.Answer(); }

private:
    // What the inventory's thread and the video-memory probe share; it lives
    // as long as either thread does.
    // Passes the device checks on to the dialog's until the probes are done
    // with: an inventory given up and still running must not call into a
    // dialog that has gone. A check under way finishes before that.
    class DetachableConfirmer : public DeviceConfirmer {
    public:
        explicit DetachableConfirmer(DeviceConfirmer& target) : target_(&target) {}
        HRESULT ConfirmDevice(const D3DCAPS9& caps, DWORD behavior, D3DFORMAT format) override;
        void Detach();

    private:
        SRWLOCK lock_ = SRWLOCK_INIT;
        DeviceConfirmer* target_;
    };

    struct InventoryWork {
        explicit InventoryWork(DeviceConfirmer& target) : confirmer(target), display(settings, confirmer) {}
        DetachableConfirmer confirmer;
        Node settings;
        DisplayConfiguration display;
        // Set once the inventory's thread has ended its work, whatever it did.
        framework::UniqueHandle ready{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    };

    std::shared_ptr<InventoryWork> shared_;
    // True when the inventory holds at least one adapter; false also from a
    // probe that threw or was given up.
    ProbeThread<bool> inventory_;
    ProbeThread<std::vector<std::int32_t>> sampleCounts_;
    std::unique_ptr<ProbeThread<std::uint32_t>> videoMemory_;
    std::unique_ptr<ProbeThread<std::int32_t>> clock_;
    bool givenUp_ = false;
    DisplayInventory empty_;
};

// The display probes of the settings dialog's start, run on threads of their
// own while the dialog builds itself from its template. Each step of the
// start waits for the result it uses, so the steps keep their order and
// their values; a probe that fails gives what it gives on the dialog's own
// thread. Every thread has ended when the object goes.
#pragma once

#include "display/display_configuration.h"
#include "framework/handles.h"
#include "framework/thread.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// One probe on a thread of its own, with COM of its own for WMI. Without a
// thread (none could be made, or none was wanted) the probe runs at Wait.
template <typename Result>
class ProbeThread {
public:
    ProbeThread(std::function<Result()> probe, bool threaded) : probe_(std::move(probe)) {
        if (!threaded) return;
        thread_ = std::make_unique<framework::Thread>([this] {
            framework::ComScope com;
            result_ = probe_();
        });
        if (!*thread_) thread_.reset();
    }

    const Result& Wait() {
        if (thread_) {
            thread_->Join();
        } else if (!done_) {
            result_ = probe_();
            done_ = true;
        }
        return result_;
    }

private:
    std::function<Result()> probe_;
    Result result_{};
    bool done_ = false;
    // Last, so that it ends before the result it writes goes.
    std::unique_ptr<framework::Thread> thread_;
};

class StartProbes {
public:
    // Starts the inventory and the multisample probe and, when asked, the
    // video-memory probe (which waits for the inventory only where it looks
    // the stored monitor up in it) and the clock. The display is not to be
    // touched until WaitForInventory has returned.
    StartProbes(DisplayConfiguration& display, bool probeHardware);
    ~StartProbes();
    StartProbes(const StartProbes&) = delete;
    StartProbes& operator=(const StartProbes&) = delete;

    void WaitForInventory();
    // The probed defaults; without the probes, those of hardware that tells
    // nothing, for the stored settings to replace.
    HardwareDefaults WaitForHardwareDefaults();
    std::vector<std::int32_t> WaitForSampleCounts();

private:
    DisplayConfiguration& display_;
    // Set once the inventory is complete, for the video-memory probe.
    framework::UniqueHandle inventoryReady_;
    ProbeThread<HRESULT> inventory_;
    ProbeThread<std::vector<std::int32_t>> sampleCounts_;
    std::unique_ptr<ProbeThread<std::uint32_t>> videoMemory_;
    std::unique_ptr<ProbeThread<std::int32_t>> clock_;
};

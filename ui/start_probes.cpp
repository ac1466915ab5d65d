#include "ui/start_probes.h"

#include "display/antialiasing_probe.h"
#include "display/clock_probe.h"
#include "display/video_memory.h"

namespace {

// Sets the event when the work ends, also by an exception: whoever waits for
// it must never wait for ever.
class SetOnExit {
public:
    explicit SetOnExit(HANDLE event) : event_(event) {}
    ~SetOnExit() {
        if (event_) ::SetEvent(event_);
    }
    SetOnExit(const SetOnExit&) = delete;
    SetOnExit& operator=(const SetOnExit&) = delete;

private:
    HANDLE event_;
};

// Milliseconds left until the deadline taken with GetTickCount.
DWORD Remaining(DWORD deadline) {
    const auto left = static_cast<LONG>(deadline - ::GetTickCount());
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

}  // namespace

ProbeRun::ProbeRun(std::function<void()> work, HWND window, UINT message) : shared_(std::make_shared<Shared>()) {
    shared_->work = std::move(work);
    if (shared_->answered) {
        thread_ = std::make_unique<framework::Thread>([shared = shared_, window, message] {
            framework::ComScope com;
            Run(*shared);
            ::PostMessageW(window, message, 0, 0);
        });
        if (*thread_) return;
        thread_.reset();
    }
    Run(*shared_);
    ::PostMessageW(window, message, 0, 0);
}

ProbeRun::~ProbeRun() {
    if (!thread_) return;
    if (!givenUp_ && thread_->Join(kProbeTimeLimit)) return;
    thread_->Abandon();
}

bool ProbeRun::Settle(DWORD milliseconds) {
    if (givenUp_ || !thread_) return true;
    return ::WaitForSingleObject(shared_->answered.Get(), milliseconds) == WAIT_OBJECT_0;
}

void ProbeRun::GiveUp() {
    if (!Settle(0)) givenUp_ = true;
}

void ProbeRun::Run(Shared& shared) {
    try {
        shared.work();
    } catch (...) {
        // The answer stays what a probe that failed leaves.
    }
    if (shared.answered) ::SetEvent(shared.answered.Get());
}

StartProbes::StartProbes(DeviceConfirmer& confirmer, bool probeHardware, HWND window, UINT message)
    : shared_(std::make_shared<InventoryWork>(confirmer)),
      inventory_(
          [shared = shared_] {
              SetOnExit ready(shared->ready.Get());
              // Without Direct3D the inventory stays empty and the dialog still works.
              return SUCCEEDED(shared->display.EnumerateDisplays());
          },
          window, message),
      sampleCounts_([] { return ProbeSampleCounts(); }, window, message),
      empty_() {
    if (!probeHardware) return;
    // Without the event the probe cannot know when the inventory is there:
    // it probes the stored monitor's index as the adapter's ordinal.
    videoMemory_ = std::make_unique<ProbeThread<std::uint32_t>>(
        [shared = shared_] {
            const HANDLE ready = shared->ready.Get();
            if (!ready) return ::ProbeVideoMemory();
            return shared->display.ProbeVideoMemory([ready] { ::WaitForSingleObject(ready, INFINITE); });
        },
        window, message);
    clock_ = std::make_unique<ProbeThread<std::int32_t>>([] { return MeasureProcessorClock(); }, window, message);
}

HRESULT StartProbes::DetachableConfirmer::ConfirmDevice(const D3DCAPS9& caps, DWORD behavior, D3DFORMAT format) {
    ::AcquireSRWLockShared(&lock_);
    // What a probe given up finds no longer counts.
    const HRESULT result = target_ ? target_->ConfirmDevice(caps, behavior, format) : E_FAIL;
    ::ReleaseSRWLockShared(&lock_);
    return result;
}

void StartProbes::DetachableConfirmer::Detach() {
    ::AcquireSRWLockExclusive(&lock_);
    target_ = nullptr;
    ::ReleaseSRWLockExclusive(&lock_);
}

StartProbes::~StartProbes() {
    if (!givenUp_) AwaitAll();
    shared_->confirmer.Detach();
}

bool StartProbes::InventoryAnswered(DWORD milliseconds) { return inventory_.Settle(milliseconds); }

bool StartProbes::HardwareDefaultsAnswered(DWORD milliseconds) {
    if (!videoMemory_) return true;
    const DWORD deadline = ::GetTickCount() + milliseconds;
    return videoMemory_->Settle(milliseconds) && clock_->Settle(Remaining(deadline));
}

bool StartProbes::SampleCountsAnswered(DWORD milliseconds) { return sampleCounts_.Settle(milliseconds); }

void StartProbes::AwaitAll() {
    const DWORD deadline = ::GetTickCount() + kProbeTimeLimit;
    InventoryAnswered(Remaining(deadline));
    SampleCountsAnswered(Remaining(deadline));
    HardwareDefaultsAnswered(Remaining(deadline));
    inventory_.GiveUp();
    sampleCounts_.GiveUp();
    if (videoMemory_) {
        videoMemory_->GiveUp();
        clock_->GiveUp();
    }
    givenUp_ = true;
}

const DisplayInventory& StartProbes::Inventory() const {
    // The thread has ended: what it left is complete and no longer written.
    return inventory_.Answer() ? shared_->display.inventory() : empty_;
}

HardwareDefaults StartProbes::ProbedHardwareDefaults() const {
    if (!videoMemory_) return ComputeHardwareDefaults(0, 0, 0);
    return DisplayConfiguration::HardwareDefaultsFor(videoMemory_->Answer(), clock_->Answer());
}

#include "ui/start_probes.h"

#include "display/antialiasing_probe.h"
#include "display/clock_probe.h"
#include "display/video_memory.h"

namespace {

// Milliseconds left until the deadline taken with GetTickCount.
DWORD Remaining(DWORD deadline) {
    const auto left = static_cast<LONG>(deadline - ::GetTickCount());
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

}  // namespace

StartProbes::StartProbes(DeviceConfirmer& confirmer, bool probeTiers, HWND window, UINT message)
    : window_(window), message_(message), shared_(std::make_shared<Shared>(confirmer)) {
    // Without Direct3D the inventory stays empty and the dialog still works.
    Start(kInventory, [](Shared& shared) { shared.inventoryFound = SUCCEEDED(shared.display.EnumerateDisplays()); });
    Start(kSampleCounts, [](Shared& shared) { shared.sampleCounts = ProbeSampleCounts(); });
    if (probeTiers) ProbeTiers();
}

StartProbes::~StartProbes() { Finish(::GetTickCount() + kProbeTimeLimit); }

void StartProbes::ProbeTiers() {
    if (tiersStarted_) return;
    tiersStarted_ = true;
    // The video memory is that of the stored monitor's adapter, which the
    // inventory knows once it has answered. An inventory probed at once
    // (no event, no thread) has answered already.
    Start(kVideoMemory, [](Shared& shared) {
        const HANDLE inventory = shared.answered[kInventory].Get();
        shared.videoMemory = shared.display.ProbeVideoMemory([inventory] {
            if (inventory) ::WaitForSingleObject(inventory, INFINITE);
        });
    });
    Start(kClock, [](Shared& shared) { shared.clockMHz = MeasureProcessorClock(); });
}

void StartProbes::Start(Probe probe, std::function<void(Shared&)> work) {
    const auto run = [work](Shared& shared) {
        try {
            work(shared);
        } catch (...) {
            // The answer stays what a probe that failed leaves.
        }
    };
    shared_->answered[probe].Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (shared_->answered[probe]) {
        threads_[probe] = std::make_unique<framework::Thread>(
            [shared = shared_, run, probe, window = window_, message = message_] {
                framework::ComScope com;
                run(*shared);
                ::SetEvent(shared->answered[probe].Get());
                ::PostMessageW(window, message, 0, 0);
            });
        if (*threads_[probe]) return;
        threads_[probe].reset();
        shared_->answered[probe].Reset();
    }
    // No thread to be had: the answer is there once this returns.
    run(*shared_);
    ::PostMessageW(window_, message_, 0, 0);
}

bool StartProbes::Answered(Probe probe) const {
    const HANDLE event = shared_->answered[probe].Get();
    return !event || ::WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

const DisplayInventory& StartProbes::Inventory() const {
    // The thread has ended its work: what it left is complete and no longer written.
    return shared_->inventoryFound ? shared_->display.inventory() : empty_;
}

HardwareDefaults StartProbes::Tiers() const {
    return DisplayConfiguration::HardwareDefaultsFor(shared_->videoMemory, shared_->clockMHz);
}

void StartProbes::Finish(DWORD deadline) {
    if (finished_) return;
    finished_ = true;
    for (auto& thread : threads_) {
        if (thread && !thread->Join(Remaining(deadline))) thread->Abandon();
    }
    shared_->confirmer.Detach();
}

HRESULT StartProbes::DetachableConfirmer::ConfirmDevice(const D3DCAPS9& caps, DWORD behavior, D3DFORMAT format) {
    ::AcquireSRWLockShared(&lock_);
    // What a probe let go finds no longer counts.
    const HRESULT result = target_ ? target_->ConfirmDevice(caps, behavior, format) : E_FAIL;
    ::ReleaseSRWLockShared(&lock_);
    return result;
}

void StartProbes::DetachableConfirmer::Detach() {
    ::AcquireSRWLockExclusive(&lock_);
    target_ = nullptr;
    ::ReleaseSRWLockExclusive(&lock_);
}

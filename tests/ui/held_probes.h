// The probes of the settings dialog's start held on whichever thread asks
// (the dialog's own included) until released: all of them, or one. Behind
// them two monitors in one adapter group and the quick probes.
#pragma once

#include "tests/display/fake_display.h"
#include "tests/support/product_key.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

namespace test_support {

enum class Held { Nothing, All, Direct3D, SampleCounts, VideoControllers };

struct HeldProbes {
    static inline HANDLE release = nullptr;
    static inline Held held = Held::Nothing;
    static inline std::atomic<int> inside{0};
    static inline display_seam::Api inner;

    static void Block(Held probe) {
        if (held != Held::All && held != probe) return;
        ++inside;
        ::WaitForSingleObject(release, 40000);
        --inside;
    }
    static IDirect3D9* WINAPI CreateDirect3D9(UINT version) {
        Block(Held::Direct3D);
        return inner.createDirect3D9(version);
    }
    static std::vector<std::int32_t> SampleCounts() {
        Block(Held::SampleCounts);
        return inner.probeSampleCounts();
    }
    static bool ListControllers(std::vector<display_seam::VideoControllerRow>& rows) {
        Block(Held::VideoControllers);
        return inner.listVideoControllers(rows);
    }
    static display_seam::Api Around(const display_seam::Api& api) {
        inner = api;
        display_seam::Api held = api;
        held.createDirect3D9 = &CreateDirect3D9;
        held.probeSampleCounts = &SampleCounts;
        held.listVideoControllers = &ListControllers;
        return held;
    }
};

class HeldProbesTest : public OptionsTest {
protected:
    void SetUp() override {
        d3d_ = std::make_unique<fake_display::Direct3D9>(fake_display::TwoMonitorsInOneGroup());
        fake_ = std::make_unique<fake_display::Installed>(d3d_.get(), fake_display::Monitors{}, QuickProbes());
        seam_ = std::make_unique<display_seam::ScopedApi>(HeldProbes::Around(display_seam::Current()));
        HeldProbes::release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HeldProbes::held = Held::Nothing;
        references_ = d3d_->references();
    }
    void TearDown() override {
        // The threads left holding their probe end before the fakes go.
        ::SetEvent(HeldProbes::release);
        for (int i = 0; i < 500 && (HeldProbes::inside > 0 || d3d_->references() != references_); ++i) ::Sleep(20);
        ::Sleep(100);
        seam_.reset();
        ::CloseHandle(HeldProbes::release);
        HeldProbes::release = nullptr;
        HeldProbes::held = Held::Nothing;
    }

    std::unique_ptr<fake_display::Direct3D9> d3d_;
    std::unique_ptr<fake_display::Installed> fake_;
    std::unique_ptr<display_seam::ScopedApi> seam_;
    ULONG references_ = 0;
};

}  // namespace test_support

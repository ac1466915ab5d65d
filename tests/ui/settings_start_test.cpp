// The dialog's start: which hardware probes a stored key spares, with the
// tree it leaves as the load always left it, and the probes on threads of
// their own that each step awaits and that all end with the start.
#include "ui/settings_dlg.h"

#include "config/registry_seam.h"
#include "config/settings_schema.h"
#include "tests/support/case_name.h"
#include "tests/support/product_key.h"
#include "tests/ui/dialog_driver.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

using test_support::StoreTypedText;
using Dialog = test_support::Driven<CSettingsDlg>;

// What the probes were asked, counted through the display seam.
struct ProbeCounts {
    static inline std::atomic<int> videoControllers{0};
    static inline std::atomic<int> clockReadings{0};
    static inline display_seam::Api quick;

    // The quick probes' row, with memory enough for the texture tier: the
    // tree then shows whether the probed defaults or unprobed ones were kept.
    static bool ListControllers(std::vector<display_seam::VideoControllerRow>& rows) {
        ++videoControllers;
        if (!quick.listVideoControllers(rows)) return false;
        for (auto& row : rows) row.adapterRam = 3000u << 20;
        return true;
    }
    static std::uint64_t ReadCounter() {
        ++clockReadings;
        return quick.readTimeStampCounter();
    }
    static display_seam::Api Counting() {
        quick = test_support::QuickProbes();
        display_seam::Api api = quick;
        api.listVideoControllers = &ListControllers;
        api.readTimeStampCounter = &ReadCounter;
        videoControllers = 0;
        clockReadings = 0;
        return api;
    }
};

LSTATUS WINAPI OpenFailingProductKey(HKEY root, LPCWSTR path, DWORD options, REGSAM access, PHKEY key) {
    if (path && std::wstring(path) == product::kKey) return ERROR_ACCESS_DENIED;
    return ::RegOpenKeyExW(root, path, options, access, key);
}

struct StoredKeyCase {
    const char* name;
    std::vector<std::pair<const wchar_t*, const wchar_t*>> stored;
    decltype(&::RegOpenKeyExW) openKey;  // null: the system's
    bool probed;
};

const std::vector<std::pair<const wchar_t*, const wchar_t*>> kComplete = {
    {L"HighQualityTextures", L"2: 0"}, {L"HighQualityGraphics", L"2: 1"}, {L"Antialiasing", L"2: 4"},
    {L"MusicVolumePercentage", L"2: 40"}};

std::vector<std::pair<const wchar_t*, const wchar_t*>> Without(const wchar_t* name) {
    std::vector<std::pair<const wchar_t*, const wchar_t*>> stored;
    for (const auto& value : kComplete) {
        if (std::wstring(value.first) != name) stored.push_back(value);
    }
    return stored;
}

const StoredKeyCase kStoredKeys[] = {
    {"Complete", kComplete, nullptr, false},
    {"WithoutHighQualityTextures", Without(L"HighQualityTextures"), nullptr, true},
    {"WithoutHighQualityGraphics", Without(L"HighQualityGraphics"), nullptr, true},
    {"WithoutAntialiasing", Without(L"Antialiasing"), nullptr, true},
    {"AntialiasingUnparsable",
     {{L"HighQualityTextures", L"2: 0"}, {L"HighQualityGraphics", L"2: 1"}, {L"Antialiasing", L"garbage"}},
     nullptr,
     true},
    {"Empty", {}, nullptr, true},
    // The key's own values still load past a subkey that cannot be read.
    {"CompleteWithUnreadableSubkey", kComplete, &test_support::OpenFailingSubkey, false},
    {"UnreadableKey", kComplete, &OpenFailingProductKey, true},
};

class StoredKeyTest : public test_support::ProductKeyTest, public ::testing::WithParamInterface<StoredKeyCase> {
protected:
    test_support::ScratchKey scratch_;
};

// The tree as the load made it before the probes could be spared: the
// defaults with every probe, the key over them, the monitor checked.
void LoadAsAlways(Node& tree) {
    DeviceConfirmer confirmer;
    DisplayConfiguration display(tree, confirmer);
    display.EnumerateDisplays();
    WriteDefaultSettings(tree, display.ProbeHardwareDefaults());
    LoadSettingsFromRegistry(tree);
    display.ValidateMonitorChoice();
}

TEST_P(StoredKeyTest, ProbesOnlyWhatTheLoadKeepsAndLeavesTheSameTree) {
    const StoredKeyCase& c = GetParam();
    for (const auto& [name, text] : c.stored) StoreTypedText(name, text);
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, std::wstring(product::kKey) + L"\\Unreadable", L"v",
                                    L"2: 1");
    display_seam::ScopedApi probes(ProbeCounts::Counting());
    registry_seam::Api registry;
    if (c.openKey) registry.openKey = c.openKey;
    registry_seam::ScopedApi seam(registry);

    const std::wstring now = scratch_.Path() + L"\\now";
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        d.Settings().SaveToRegistry(HKEY_CURRENT_USER, now.c_str());
        d.Click(IDCANCEL);
    });
    const bool videoMemoryProbed = ProbeCounts::videoControllers > 0;
    const bool clockProbed = ProbeCounts::clockReadings > 0;

    Node always;
    LoadAsAlways(always);
    const std::wstring before = scratch_.Path() + L"\\always";
    always.SaveToRegistry(HKEY_CURRENT_USER, before.c_str());

    EXPECT_EQ(videoMemoryProbed, c.probed);
    EXPECT_EQ(clockProbed, c.probed);
    const test_support::RawValues tree = test_support::ReadRawValues(HKEY_CURRENT_USER, now);
    EXPECT_FALSE(tree.empty());
    EXPECT_TRUE(tree == test_support::ReadRawValues(HKEY_CURRENT_USER, before));
}

INSTANTIATE_TEST_SUITE_P(Keys, StoredKeyTest, ::testing::ValuesIn(kStoredKeys),
                         test_support::CaseName<StoredKeyCase>);

// Two probes that can only end together: each waits for the other to begin.
// Run one after the other, the first would wait in vain.
struct Rendezvous {
    static inline HANDLE samplesBegun = nullptr;
    static inline HANDLE controllersBegun = nullptr;
    static inline std::atomic<bool> samplesMetControllers{false};
    static inline std::atomic<bool> controllersMetSamples{false};
    static inline std::atomic<bool> samplesHadCom{false};
    static inline std::atomic<int> sampleCalls{0};
    static inline display_seam::Api quick;

    static std::vector<std::int32_t> SampleCounts() {
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        // The first call is the start's. The first thread of the process to
        // enter an apartment is the main STA.
        const bool ownApartment = SUCCEEDED(::CoGetApartmentType(&type, &qualifier)) &&
                                  (type == APTTYPE_STA || type == APTTYPE_MAINSTA);
        if (sampleCalls++ == 0) samplesHadCom = ownApartment;
        ::SetEvent(samplesBegun);
        samplesMetControllers = ::WaitForSingleObject(controllersBegun, 5000) == WAIT_OBJECT_0;
        return {2, 4};
    }
    static bool ListControllers(std::vector<display_seam::VideoControllerRow>& rows) {
        ::SetEvent(controllersBegun);
        controllersMetSamples = ::WaitForSingleObject(samplesBegun, 5000) == WAIT_OBJECT_0;
        return quick.listVideoControllers(rows);
    }
};

long ThreadsOfThisProcess() {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    long count = 0;
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) ++count;
    }
    ::CloseHandle(snapshot);
    return count;
}

class ProbeThreadsTest : public test_support::ProductKeyTest {
protected:
    void SetUp() override {
        Rendezvous::samplesBegun = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        Rendezvous::controllersBegun = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        Rendezvous::quick = test_support::QuickProbes();
        Rendezvous::sampleCalls = 0;
    }
    void TearDown() override {
        ::CloseHandle(Rendezvous::samplesBegun);
        ::CloseHandle(Rendezvous::controllersBegun);
    }
};

TEST_F(ProbeThreadsTest, ProbesRunSideBySideEachWithItsOwnComAndAllEndWithTheStart) {
    display_seam::Api api = Rendezvous::quick;
    api.probeSampleCounts = &Rendezvous::SampleCounts;
    api.listVideoControllers = &Rendezvous::ListControllers;
    display_seam::ScopedApi probes(api);
    const long threadsBefore = ThreadsOfThisProcess();
    long threadsInDialog = -1;
    std::vector<std::wstring> entries;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        threadsInDialog = ThreadsOfThisProcess();
        entries = d.Entries(IDC_ANTIALIASING_QUALITY);
        d.Click(IDCANCEL);
    });
    EXPECT_TRUE(Rendezvous::samplesMetControllers);
    EXPECT_TRUE(Rendezvous::controllersMetSamples);
    // A thread of its own, in an apartment of its own.
    EXPECT_TRUE(Rendezvous::samplesHadCom);
    EXPECT_EQ(entries, (std::vector<std::wstring>{L"2x", L"4x"}));
    EXPECT_EQ(threadsInDialog, threadsBefore);
}

DWORD WINAPI WaitForStop(void* event) { return ::WaitForSingleObject(event, 10000); }

// The check above sees a thread that outlives the dialog's start.
TEST_F(ProbeThreadsTest, ControlALeftThreadIsCounted) {
    const long threadsBefore = ThreadsOfThisProcess();
    HANDLE stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE left = ::CreateThread(nullptr, 0, &WaitForStop, stop, 0, nullptr);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore + 1);
    ::SetEvent(stop);
    ::WaitForSingleObject(left, 10000);
    ::CloseHandle(left);
    ::CloseHandle(stop);
}

// A probe that takes long holds up only the step that needs it: the user's
// close, made while it runs, is taken once the start is complete, and no
// probe thread is left.
struct SlowSamples {
    static inline DWORD dialogThread = 0;
    static BOOL CALLBACK CloseDialog(HWND window, LPARAM) {
        wchar_t name[16] = {};
        ::GetClassNameW(window, name, 16);
        if (std::wstring(name) == L"#32770") ::PostMessageW(window, WM_CLOSE, 0, 0);
        return TRUE;
    }
    static std::vector<std::int32_t> SampleCounts() {
        ::Sleep(300);
        ::EnumThreadWindows(dialogThread, &CloseDialog, 0);
        return {};
    }
};

TEST_F(ProbeThreadsTest, ClosedWhileAProbeRunsTheDialogEndsWithNoThreadLeft) {
    display_seam::Api api = Rendezvous::quick;
    api.probeSampleCounts = &SlowSamples::SampleCounts;
    display_seam::ScopedApi probes(api);
    SlowSamples::dialogThread = ::GetCurrentThreadId();
    const long threadsBefore = ThreadsOfThisProcess();
    std::vector<std::wstring> entries{L"<not run>"};
    bool scriptRan = false;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        scriptRan = true;
        entries = d.Entries(IDC_ANTIALIASING_QUALITY);
    });
    EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);
    // The failed probe falls back to an empty list, whether or not the
    // close came before the script.
    if (scriptRan) {
        EXPECT_TRUE(entries.empty());
    }
    EXPECT_EQ(test_support::StoredTypedText(L"Antialiasing"), L"<missing>") << "a close stores nothing";
}

}  // namespace

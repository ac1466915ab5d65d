// The settings dialog and a running animated wallpaper: what each event of the
// dialog posts to the stand-in wallpaper in its own process, in order; that
// nothing goes anywhere without one; a wallpaper started later; one that never
// reads its queue.
#include "ui/settings_dlg.h"

#include "framework/handles.h"
#include "tests/support/case_name.h"
#include "tests/support/stub_wallpaper.h"
#include "tests/ui/dialog_driver.h"
#include "tests/support/product_key.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using test_support::StoreTypedText;
using test_support::StubWallpaper;
using Dialog = test_support::Driven<CSettingsDlg>;
using Posts = std::vector<test_support::WallpaperPost>;

// Every previewed setting stored away from its default.
void StoreKnownSettings() {
    StoreTypedText(L"MusicVolumePercentage", L"2: 40");
    StoreTypedText(L"SoundsVolumePercentage", L"2: 70");
    StoreTypedText(L"Antialiasing", L"2: 4");
}

// A full refresh: codes 6, 1, 2, 3, 4, 0, 5 with what was stored...
const Posts kStored = {{6, 4}, {1, 40}, {2, 1}, {3, 70}, {4, 1}, {0, 0}, {5, 0}};
// ...and with the defaults (the test probes give antialiasing 0).
const Posts kDefaults = {{6, 0}, {1, 15}, {2, 1}, {3, 100}, {4, 1}, {0, 0}, {5, 0}};

Posts Join(std::initializer_list<Posts> parts) {
    Posts all;
    for (const Posts& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct EventCase {
    const char* name;
    void (*act)(Dialog&);
    Posts expected;
    bool saves;  // the case ends with OK
};

class WallpaperEventTest : public test_support::OptionsTest, public ::testing::WithParamInterface<EventCase> {};

TEST_P(WallpaperEventTest, PostsExactlyItsChangesInOrder) {
    const EventCase& c = GetParam();
    StoreKnownSettings();
    const test_support::RawValues before = test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);
    StubWallpaper wallpaper;
    ASSERT_TRUE(wallpaper.Window());
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&c](Dialog& d) { c.act(d); });
    // Handled after everything posted before it: the record is complete.
    wallpaper.Close();
    EXPECT_EQ(wallpaper.Received(), c.expected);
    if (!c.saves) {
        EXPECT_EQ(test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Events, WallpaperEventTest,
    ::testing::Values(
        // A key on a trackbar scrolls a line, then ends the track: two notifications.
        EventCase{"MusicSlider", [](Dialog& d) { d.Key(IDC_MUSIC_VOLUME, VK_RIGHT); }, {{1, 41}, {1, 41}}, false},
        EventCase{"SoundSlider", [](Dialog& d) { d.Key(IDC_SOUNDS_VOLUME, VK_LEFT); }, {{3, 69}, {3, 69}}, false},
        EventCase{"EnableMusicTwice",
                  [](Dialog& d) {
                      d.Click(IDC_ENABLE_MUSIC);
                      d.Click(IDC_ENABLE_MUSIC);
                  },
                  {{2, 0}, {2, 1}},
                  false},
        EventCase{"EnableSounds", [](Dialog& d) { d.Click(IDC_ENABLE_SOUNDS); }, {{4, 0}}, false},
        EventCase{"AntialiasingTwice",
                  [](Dialog& d) {
                      d.Click(IDC_ANTIALIASING);
                      d.Click(IDC_ANTIALIASING);
                  },
                  {{6, 0}, {6, 4}},
                  false},
        // The program's template has no high-quality boxes: their clicks carry 0.
        EventCase{"HighQualityGraphics", [](Dialog& d) { d.Command(IDC_HIGH_QUALITY_GRAPHICS, BN_CLICKED); },
                  {{0, 0}}, false},
        EventCase{"HighQualityTextures", [](Dialog& d) { d.Command(IDC_HIGH_QUALITY_TEXTURES, BN_CLICKED); },
                  {{5, 0}}, false},
        EventCase{"NotPreviewed",
                  [](Dialog& d) {
                      d.Click(IDC_EXIT_ON_MOUSE_MOVE);
                      d.Click(IDC_PLAY_MY_MUSIC);
                      d.Click(IDC_RUN_AT_STARTUP);
                      d.Choose(IDC_MONITOR_LIST, 0);
                      d.Command(IDC_BLANK_SCREENS, BN_CLICKED);
                  },
                  {},
                  false},
        EventCase{"RestoreDefaults", [](Dialog& d) { d.Click(IDC_RESTORE_DEFAULTS); }, kDefaults, false},
        EventCase{"CancelAfterChanges",
                  [](Dialog& d) {
                      d.Key(IDC_MUSIC_VOLUME, VK_RIGHT);
                      d.Click(IDC_ENABLE_SOUNDS);
                      d.Click(IDCANCEL);
                  },
                  Join({{{1, 41}, {1, 41}, {4, 0}}, kStored}),
                  false},
        EventCase{"CloseAfterChanges",
                  [](Dialog& d) {
                      d.Key(IDC_MUSIC_VOLUME, VK_RIGHT);
                      d.Click(IDC_ENABLE_SOUNDS);
                      d.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
                  },
                  Join({{{1, 41}, {1, 41}, {4, 0}}, kStored}),
                  false},
        // Cancel shows and posts what the tree holds: the defaults, which are not saved.
        EventCase{"RestoreDefaultsThenCancel",
                  [](Dialog& d) {
                      d.Click(IDC_RESTORE_DEFAULTS);
                      d.Click(IDCANCEL);
                  },
                  Join({kDefaults, kDefaults}),
                  false},
        EventCase{"OKPostsNothing",
                  [](Dialog& d) {
                      d.Key(IDC_MUSIC_VOLUME, VK_RIGHT);
                      d.Click(IDOK);
                  },
                  {{1, 41}, {1, 41}},
                  true}),
    test_support::CaseName<EventCase>);

class WallpaperDialogTest : public test_support::OptionsTest {};

UINT ChangeMessage() { return ::RegisterWindowMessageW(kWallpaperMessageName); }

// The shell's desktop as Windows builds it, made of windows of this thread
// that count the change messages they get; the stub wallpaper's render window
// goes inside it, as a real wallpaper's does.
struct ShellWindow {
    const wchar_t* className;
    int parent;  // index of an earlier entry, or -1 for a top-level window
};

struct DesktopCase {
    const char* name;
    std::vector<ShellWindow> shell;
    int renderParent;  // the entry that holds the render window
};

int shellChanges = 0;

LRESULT CALLBACK CountChanges(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ChangeMessage()) ++shellChanges;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

class DesktopLayoutTest : public test_support::OptionsTest, public ::testing::WithParamInterface<DesktopCase> {
protected:
    void SetUp() override {
        test_support::OptionsTest::SetUp();
        for (const wchar_t* name : {L"Progman", L"WorkerW", L"SHELLDLL_DefView", L"SysListView32", L"MarrowdaleFrame"}) {
            WNDCLASSW windowClass = {};
            windowClass.lpfnWndProc = &CountChanges;
            windowClass.hInstance = ::GetModuleHandleW(nullptr);
            windowClass.lpszClassName = name;
            ::RegisterClassW(&windowClass);  // a local class wins over a system one of the same name
        }
        for (const ShellWindow& entry : GetParam().shell) {
            const HWND parent = entry.parent < 0 ? nullptr : shell_[static_cast<size_t>(entry.parent)];
            shell_.push_back(::CreateWindowExW(0, entry.className, L"", parent ? WS_CHILD : WS_POPUP, 0, 0, 50, 50,
                                               parent, nullptr, ::GetModuleHandleW(nullptr), nullptr));
            ASSERT_TRUE(shell_.back());
        }
    }

    void TearDown() override {
        for (size_t i = shell_.size(); i-- > 0;) {
            if (GetParam().shell[i].parent < 0) ::DestroyWindow(shell_[i]);
        }
        test_support::OptionsTest::TearDown();
    }

    std::vector<HWND> shell_;
};

TEST_P(DesktopLayoutTest, TheRenderWindowGetsEveryChangeAndTheShellNone) {
    // Control: the shell's windows count a change that reaches them.
    shellChanges = 0;
    ::SendMessageW(shell_.front(), ChangeMessage(), 2, 1);
    ASSERT_EQ(shellChanges, 1);
    shellChanges = 0;

    StoreKnownSettings();
    StubWallpaper wallpaper(StubWallpaper::Queue::Pumped, L"Direct3D Window",
                            shell_[static_cast<size_t>(GetParam().renderParent)]);
    ASSERT_TRUE(wallpaper.Window());
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [](Dialog& d) {
        d.Click(IDC_ENABLE_MUSIC);
        d.Click(IDC_ENABLE_MUSIC);
        d.Click(IDCANCEL);
    });
    wallpaper.Close();
    EXPECT_EQ(wallpaper.Received(), Join({{{2, 0}, {2, 1}}, kStored}));
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    EXPECT_EQ(shellChanges, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, DesktopLayoutTest,
    ::testing::Values(
        // The icons and the wallpaper in top-level WorkerW windows of their own.
        DesktopCase{"Windows10",
                    {{L"WorkerW", -1}, {L"SHELLDLL_DefView", 0}, {L"SysListView32", 1}, {L"WorkerW", -1},
                     {L"Progman", -1}},
                    3},
        // Since build 26002 the wallpaper's WorkerW lies inside Progman, beside the icons.
        DesktopCase{"Windows11Version24H2",
                    {{L"Progman", -1}, {L"SHELLDLL_DefView", 0}, {L"SysListView32", 1}, {L"WorkerW", 0}},
                    3},
        DesktopCase{"StraightUnderProgman", {{L"Progman", -1}, {L"SHELLDLL_DefView", 0}, {L"SysListView32", 1}}, 0},
        DesktopCase{"InAFrameOfItsOwn", {{L"MarrowdaleFrame", -1}, {L"MarrowdaleFrame", 0}}, 1}),
    test_support::CaseName<DesktopCase>);

// Change messages in this thread's queue, where a post to no window lands.
int ChangesInOwnQueue() {
    int count = 0;
    MSG message;
    while (::PeekMessageW(&message, nullptr, ChangeMessage(), ChangeMessage(), PM_REMOVE)) ++count;
    return count;
}

void EveryPreviewedChange(Dialog& d) {
    d.Key(IDC_MUSIC_VOLUME, VK_RIGHT);
    d.Key(IDC_SOUNDS_VOLUME, VK_RIGHT);
    d.Click(IDC_ENABLE_MUSIC);
    d.Click(IDC_ENABLE_SOUNDS);
    d.Click(IDC_ANTIALIASING);
    d.Command(IDC_HIGH_QUALITY_GRAPHICS, BN_CLICKED);
    d.Command(IDC_HIGH_QUALITY_TEXTURES, BN_CLICKED);
    d.Click(IDC_RESTORE_DEFAULTS);
}

struct NoWallpaperCase {
    const char* name;
    const wchar_t* listenerClass;
    bool postToNoWindow;  // the control: such a post is seen
    bool listenerHears;
    int strayPosts;
};

class NoWallpaperTest : public test_support::OptionsTest, public ::testing::WithParamInterface<NoWallpaperCase> {};

TEST_P(NoWallpaperTest, NothingIsPostedAnywhere) {
    const NoWallpaperCase& c = GetParam();
    // Registers the change message too, so it would hear any post meant for a wallpaper.
    StubWallpaper listener(StubWallpaper::Queue::Pumped, c.listenerClass);
    ASSERT_TRUE(listener.Window());
    int strayPosts = -1;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        ChangesInOwnQueue();
        EveryPreviewedChange(d);
        if (c.postToNoWindow) ::PostMessageW(nullptr, ChangeMessage(), 1, 7);
        strayPosts = ChangesInOwnQueue();
        d.Click(IDCANCEL);
    });
    listener.Close();
    EXPECT_EQ(!listener.Received().empty(), c.listenerHears);
    EXPECT_EQ(strayPosts, c.strayPosts);
}

INSTANTIATE_TEST_SUITE_P(
    Listeners, NoWallpaperTest,
    ::testing::Values(NoWallpaperCase{"NoWallpaper", L"Marrowdale Listener", false, false, 0},
                      NoWallpaperCase{"ControlListenerIsTheWallpaper", L"Direct3D Window", false, true, 0},
                      NoWallpaperCase{"ControlPostToNoWindow", L"Marrowdale Listener", true, false, 1}),
    test_support::CaseName<NoWallpaperCase>);

TEST_F(WallpaperDialogTest, AWallpaperStartedAfterTheDialogOpenedGetsTheNextChange) {
    std::unique_ptr<StubWallpaper> later;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        d.Click(IDC_ENABLE_SOUNDS);
        later = std::make_unique<StubWallpaper>();
        d.Click(IDC_ENABLE_MUSIC);
    });
    ASSERT_TRUE(later->Window());
    later->Close();
    EXPECT_EQ(later->Received(), (Posts{{2, 0}}));
}

// Runs a dialog with hundreds of changes on its own thread, so that a dialog
// that waited for the wallpaper fails the test instead of hanging it.
DWORD WINAPI DialogWithManyChanges(void*) {
    // On the heap and owned by this thread: a test that gave up waiting must
    // not take it away while the thread still uses it.
    auto* dialog = new Dialog;
    test_support::RunDriven<CSettingsDlg>(*dialog, [](Dialog& d) {
        for (int i = 0; i < 300; ++i) d.Key(IDC_MUSIC_VOLUME, i % 2 ? VK_LEFT : VK_RIGHT);
        d.Click(IDC_RESTORE_DEFAULTS);
        d.Click(IDCANCEL);
    });
    delete dialog;
    return 0;
}

TEST_F(WallpaperDialogTest, AStuckWallpaperDoesNotStallTheDialog) {
    StubWallpaper stuck(StubWallpaper::Queue::Stuck);
    ASSERT_TRUE(stuck.Window());
    // Control: anything that waited for this wallpaper would wait in vain.
    DWORD_PTR result = 0;
    EXPECT_EQ(::SendMessageTimeoutW(stuck.Window(), ChangeMessage(), 1, 0, SMTO_BLOCK, 300, &result), 0);

    framework::UniqueHandle thread(::CreateThread(nullptr, 0, &DialogWithManyChanges, nullptr, 0, nullptr));
    ASSERT_TRUE(thread);
    EXPECT_EQ(::WaitForSingleObject(thread.Get(), 60000), static_cast<DWORD>(WAIT_OBJECT_0));
}

}  // namespace

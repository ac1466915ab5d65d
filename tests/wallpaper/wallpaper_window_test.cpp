// Finding the wallpaper's render window and posting it changes: against the
// stub wallpaper in its own process, and, for the desktop's icon list that
// Wine's desktop lacks, against windows this test creates.
#include "wallpaper/wallpaper_window.h"

#include "framework/handles.h"
#include "tests/support/stub_wallpaper.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

namespace {

using test_support::StubWallpaper;
using test_support::WallpaperPost;

UINT ChangeMessage() { return ::RegisterWindowMessageW(kWallpaperMessageName); }

struct Change {
    WallpaperChange code;
    std::int32_t value;
};

// What one dialog session could post: Restore Defaults' seven codes, then
// single changes with the extreme values.
const std::vector<Change> kChanges = {
    {WallpaperChange::Antialiasing, 4},         {WallpaperChange::MusicVolume, 55},
    {WallpaperChange::MusicEnabled, 1},         {WallpaperChange::SoundsVolume, 0},
    {WallpaperChange::SoundsEnabled, 0},        {WallpaperChange::HighQualityGraphics, 1},
    {WallpaperChange::HighQualityTextures, 1},  {WallpaperChange::MusicVolume, 100},
    {WallpaperChange::Antialiasing, INT32_MAX}, {WallpaperChange::SoundsVolume, INT32_MIN},
    {WallpaperChange::SoundsVolume, -1}};

std::vector<WallpaperPost> Expected(const std::vector<Change>& changes) {
    std::vector<WallpaperPost> posts;
    for (const Change& change : changes) {
        posts.push_back(WallpaperPost{static_cast<WPARAM>(change.code), static_cast<LPARAM>(change.value)});
    }
    return posts;
}

void PostAll(HWND& window, const std::vector<Change>& changes) {
    for (const Change& change : changes) PostWallpaperChange(window, ChangeMessage(), change.code, change.value);
}

// A window of this process that no longer exists.
HWND DestroyedWindow() {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(window);
    return window;
}

// Change messages that reached this thread's own queue (where a post to a
// null window goes), taken out of it.
int ChangesInOwnQueue() {
    int count = 0;
    MSG message;
    while (::PeekMessageW(&message, nullptr, ChangeMessage(), ChangeMessage(), PM_REMOVE)) ++count;
    return count;
}

TEST(PostWallpaperChange, FindsWallpaperFromNullOrStaleWindowAndPostsEveryChangeInOrder) {
    for (HWND start : {HWND{nullptr}, DestroyedWindow()}) {
        StubWallpaper wallpaper;
        ASSERT_TRUE(wallpaper.Window());
        HWND window = start;
        PostAll(window, kChanges);
        EXPECT_EQ(window, wallpaper.Window());
        wallpaper.Close();
        EXPECT_EQ(wallpaper.Received(), Expected(kChanges)) << "starting from " << start;
    }
}

// The guard and its control: a listener that is no wallpaper, and this
// thread's own queue, see every post that goes astray.
class NothingPostedTest : public ::testing::Test {
protected:
    void SetUp() override { ChangesInOwnQueue(); }
};

TEST_F(NothingPostedTest, WithoutWallpaperNothingIsPostedAndWindowStaysNull) {
    StubWallpaper listener(StubWallpaper::Queue::Pumped, L"Marrowdale Listener");
    ASSERT_TRUE(listener.Window());
    for (HWND start : {HWND{nullptr}, DestroyedWindow()}) {
        HWND window = start;
        PostAll(window, kChanges);
        EXPECT_EQ(window, nullptr);
    }
    listener.Close();
    EXPECT_TRUE(listener.Received().empty());
    EXPECT_EQ(ChangesInOwnQueue(), 0);
}

TEST_F(NothingPostedTest, ControlTheChecksSeeAPost) {
    // The same listener as a wallpaper records the post...
    StubWallpaper listener(StubWallpaper::Queue::Pumped, L"Direct3D Window");
    ASSERT_TRUE(listener.Window());
    HWND window = nullptr;
    PostWallpaperChange(window, ChangeMessage(), WallpaperChange::MusicVolume, 7);
    listener.Close();
    EXPECT_EQ(listener.Received(), (std::vector<WallpaperPost>{{1, 7}}));
    // ...and a post to a null window lands in this thread's queue.
    ::PostMessageW(nullptr, ChangeMessage(), 1, 7);
    EXPECT_EQ(ChangesInOwnQueue(), 1);
}

TEST(PostWallpaperChange, WallpaperStartedOrRestartedLaterGetsTheNextChange) {
    HWND window = nullptr;
    PostWallpaperChange(window, ChangeMessage(), WallpaperChange::MusicVolume, 10);
    ASSERT_EQ(window, nullptr);

    StubWallpaper first;
    PostWallpaperChange(window, ChangeMessage(), WallpaperChange::MusicVolume, 20);
    EXPECT_EQ(window, first.Window());
    first.Close();
    EXPECT_EQ(first.Received(), (std::vector<WallpaperPost>{{1, 20}}));

    // The first one's handle is stale now: the next change finds the new one.
    StubWallpaper second;
    PostWallpaperChange(window, ChangeMessage(), WallpaperChange::SoundsEnabled, 1);
    EXPECT_EQ(window, second.Window());
    second.Close();
    EXPECT_EQ(second.Received(), (std::vector<WallpaperPost>{{4, 1}}));
}

DWORD WINAPI PostManyChanges(void* context) {
    HWND& window = *static_cast<HWND*>(context);
    for (int i = 0; i < 500; ++i) PostWallpaperChange(window, ChangeMessage(), WallpaperChange::MusicVolume, i % 101);
    return 0;
}

TEST(PostWallpaperChange, StuckWallpaperDoesNotHoldUpThePoster) {
    StubWallpaper stuck(StubWallpaper::Queue::Stuck);
    ASSERT_TRUE(stuck.Window());
    // Control: anything that waits for the wallpaper would wait in vain.
    DWORD_PTR result = 0;
    EXPECT_EQ(::SendMessageTimeoutW(stuck.Window(), ChangeMessage(), 1, 0, SMTO_BLOCK, 300, &result), 0);

    // On another thread, so that a poster that waits fails the test instead of
    // hanging it; the limit is far beyond what posting takes.
    // The window handle lives on the heap: a poster that is still waiting when
    // the test gives up must not write into a stack frame that is gone.
    auto* window = new HWND(nullptr);
    framework::UniqueHandle poster(::CreateThread(nullptr, 0, &PostManyChanges, window, 0, nullptr));
    ASSERT_TRUE(poster);
    ASSERT_EQ(::WaitForSingleObject(poster.Get(), 60000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(*window, stuck.Window());
    delete window;
}

// The search through windows of this process, laid out as a desktop would
// be. Each layout lists its windows in the order the search meets them
// (top-level windows from the top of the Z order, each followed by its
// descendants, depth first).
struct Layout {
    const wchar_t* className;
    int parent;  // index of an earlier entry, or -1 for a top-level window
};

struct SearchCase {
    const char* name;
    std::vector<Layout> windows;
    int found;  // index of the window kept, or -1
};

const wchar_t kRender[] = L"Direct3D Window";
const wchar_t kDefView[] = L"SHELLDLL_DefView";
const wchar_t kListView[] = L"SysListView32";
const wchar_t kFrame[] = L"MarrowdaleFrame";

struct OrderWalk {
    std::set<HWND> ours;
    std::vector<HWND> met;
};

BOOL CALLBACK WalkChild(HWND window, LPARAM context) {
    auto& walk = *reinterpret_cast<OrderWalk*>(context);
    if (walk.ours.count(window)) walk.met.push_back(window);
    return TRUE;
}

BOOL CALLBACK WalkTopLevel(HWND window, LPARAM context) {
    auto& walk = *reinterpret_cast<OrderWalk*>(context);
    if (!walk.ours.count(window)) return TRUE;
    walk.met.push_back(window);
    ::EnumChildWindows(window, &WalkChild, context);
    return TRUE;
}

// Forty frames of three children each, then the given windows (their parents
// counted from the first of them).
std::vector<Layout> Crowded(const std::vector<Layout>& below) {
    std::vector<Layout> windows;
    for (int frame = 0; frame < 40; ++frame) {
        const int parent = static_cast<int>(windows.size());
        windows.push_back({kFrame, -1});
        for (int child = 0; child < 3; ++child) windows.push_back({kFrame, parent});
    }
    const int offset = static_cast<int>(windows.size());
    for (const Layout& entry : below) windows.push_back({entry.className, entry.parent < 0 ? -1 : entry.parent + offset});
    return windows;
}

const wchar_t* const kClasses[] = {kRender, kDefView, kListView, kFrame, L"Progman", L"WorkerW"};

class FindWallpaperWindowTest : public ::testing::TestWithParam<SearchCase> {
protected:
    static void SetUpTestSuite() {
        for (const wchar_t* name : kClasses) {
            WNDCLASSW windowClass = {};
            windowClass.lpfnWndProc = &::DefWindowProcW;
            windowClass.hInstance = ::GetModuleHandleW(nullptr);
            windowClass.lpszClassName = name;
            ::RegisterClassW(&windowClass);  // a local class wins over a system one of the same name
        }
    }

    void TearDown() override {
        for (size_t i = windows_.size(); i-- > 0;) {
            if (GetParam().windows[i].parent < 0) ::DestroyWindow(windows_[i]);
        }
    }

    // Creates the layout and puts it in the order given, above every other
    // window.
    void Create(const std::vector<Layout>& layout) {
        for (const Layout& entry : layout) {
            const HWND parent = entry.parent < 0 ? nullptr : windows_[static_cast<size_t>(entry.parent)];
            windows_.push_back(::CreateWindowExW(0, entry.className, L"", parent ? WS_CHILD : WS_POPUP, 0, 0, 50, 50,
                                                 parent, nullptr, ::GetModuleHandleW(nullptr), nullptr));
            ASSERT_TRUE(windows_.back()) << "window " << windows_.size() - 1;
        }
        // Raising the windows from the last to the first leaves the first on top
        // among its siblings.
        for (size_t i = windows_.size(); i-- > 0;) {
            ::SetWindowPos(windows_[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }

    // This process's windows in the order a search over all windows meets them.
    std::vector<HWND> MetOrder() const {
        OrderWalk walk{std::set<HWND>(windows_.begin(), windows_.end()), {}};
        ::EnumWindows(&WalkTopLevel, reinterpret_cast<LPARAM>(&walk));
        return walk.met;
    }

    std::vector<HWND> windows_;
};

TEST_P(FindWallpaperWindowTest, KeepsTheRenderWindowMetLastBeforeTheSearchStops) {
    const SearchCase& c = GetParam();
    Create(c.windows);
    ASSERT_EQ(MetOrder(), windows_) << "the layout is not in the order the search meets it";
    const HWND expected = c.found < 0 ? nullptr : windows_[static_cast<size_t>(c.found)];
    EXPECT_EQ(FindWallpaperWindow(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FindWallpaperWindowTest,
    ::testing::Values(
        SearchCase{"NoRenderWindow", {{kFrame, -1}, {kFrame, 0}}, -1},
        // Without the desktop's icon list the whole list is searched.
        SearchCase{"WithoutIconListLastRenderWindowWins",
                   {{kRender, -1}, {kRender, -1}, {kFrame, -1}, {kRender, 2}, {kFrame, -1}},
                   3},
        SearchCase{"IconListThenRenderWindowStops",
                   {{L"Progman", -1}, {kDefView, 0}, {kListView, 1}, {kRender, -1}, {kRender, -1}},
                   3},
        SearchCase{"RenderWindowThenIconListStops",
                   {{kRender, -1}, {L"Progman", -1}, {kDefView, 1}, {kListView, 2}, {kRender, -1}},
                   0},
        SearchCase{"RenderChildBesideIconListStopsChildSearch",
                   {{L"WorkerW", -1}, {kRender, 0}, {kDefView, 0}, {kListView, 2}, {kRender, 0}, {kRender, -1}},
                   1},
        SearchCase{"RenderChildAfterIconListStops",
                   {{L"Progman", -1}, {kDefView, 0}, {kListView, 1}, {kRender, 0}, {kRender, 0}, {kRender, -1}},
                   3},
        // An icon list only counts under the desktop's view window.
        SearchCase{"ListViewUnderOtherParentIsNoIconList",
                   {{L"Progman", -1}, {kFrame, 0}, {kListView, 1}, {kRender, -1}, {kRender, -1}},
                   4},
        SearchCase{"IconListEarlierThenRenderChildStops",
                   {{L"Progman", -1}, {kDefView, 0}, {kListView, 1}, {kFrame, -1}, {kRender, 3}, {kRender, 3}},
                   4},
        // Many windows above the desktop, as on a busy screen: the wallpaper
        // under the shell's window behind the icons, or none at all.
        SearchCase{"CrowdedDesktopWithWallpaper",
                   Crowded({{L"Progman", -1}, {kDefView, 0}, {kListView, 1}, {L"WorkerW", -1}, {kRender, 3}}), 164},
        SearchCase{"CrowdedDesktopWithoutWallpaper", Crowded({{L"Progman", -1}, {kDefView, 0}, {kListView, 1}}), -1},
        // Render windows are met at any depth, their order kept: below a
        // frame's child, and below a host inside the shell's desktop window
        // after its icon list, as on Windows 11 24H2.
        SearchCase{"RenderWindowBelowAChild", {{kFrame, -1}, {kFrame, 0}, {kRender, 1}}, 2},
        SearchCase{"CrowdedDesktopWithRenderWindowDeepDownMetLast",
                   Crowded({{kRender, -1}, {kFrame, -1}, {kFrame, 1}, {kRender, 2}}), 163},
        SearchCase{"IconListThenNestedRenderWindowStops",
                   {{L"Progman", -1}, {kDefView, 0}, {kListView, 1}, {L"WorkerW", 0}, {kRender, 3}, {kRender, -1}},
                   4},
        // A nested render window's own children are searched too.
        SearchCase{"RenderWindowInsideANestedRenderWindow", {{kFrame, -1}, {kRender, 0}, {kRender, 1}}, 2}),
    [](const ::testing::TestParamInfo<SearchCase>& info) { return std::string(info.param.name); });

}  // namespace

// Routing of the message-map macros: by message, by control id and
// notification code, the handled flag, and a derived map that falls back to
// its base's map.
#include "framework/message_map.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

class BaseMap : public framework::CMessageMap {
public:
    std::string called;

    BEGIN_MSG_MAP(BaseMap)
        MESSAGE_HANDLER(WM_APP, OnApp)
        COMMAND_HANDLER(10, BN_CLICKED, OnTen)
        COMMAND_HANDLER(11, CBN_SELENDOK, OnElevenChosen)
        MESSAGE_HANDLER(WM_APP + 1, OnDeclines)
        MESSAGE_HANDLER(WM_APP + 1, OnTakesDeclined)
    END_MSG_MAP()

    LRESULT OnApp(UINT, WPARAM, LPARAM, BOOL&) { return Record("base:app", 1); }
    LRESULT OnTen(WORD, WORD, HWND, BOOL&) { return Record("base:ten", 2); }
    LRESULT OnElevenChosen(WORD, WORD, HWND, BOOL&) { return Record("base:eleven", 3); }
    LRESULT OnDeclines(UINT, WPARAM, LPARAM, BOOL& handled) {
        handled = FALSE;
        return Record("base:declines;", 99);
    }
    LRESULT OnTakesDeclined(UINT, WPARAM, LPARAM, BOOL&) { return Record("base:takes", 4); }

protected:
    LRESULT Record(const char* name, LRESULT result) {
        called += name;
        return result;
    }
};

class DerivedMap : public BaseMap {
public:
    BEGIN_MSG_MAP(DerivedMap)
        COMMAND_HANDLER(12, BN_CLICKED, OnTwelve)
        MESSAGE_HANDLER(WM_APP, OnAppFirst)
        CHAIN_MSG_MAP(BaseMap)
        COMMAND_HANDLER(10, BN_CLICKED, OnTenAfterBase)
        COMMAND_HANDLER(13, BN_CLICKED, OnThirteen)
        NOTIFY_HANDLER(14, NM_CLICK, OnNotify)
    END_MSG_MAP()

    LRESULT OnTwelve(WORD, WORD, HWND, BOOL&) { return Record("derived:twelve", 5); }
    LRESULT OnAppFirst(UINT, WPARAM, LPARAM, BOOL&) { return Record("derived:app", 6); }
    LRESULT OnTenAfterBase(WORD, WORD, HWND, BOOL&) { return Record("derived:ten", 7); }
    LRESULT OnThirteen(WORD, WORD, HWND, BOOL&) { return Record("derived:thirteen", 8); }
    LRESULT OnNotify(int, NMHDR*, BOOL&) { return Record("derived:notify", 9); }
};

struct RouteCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    BOOL handled;
    const char* called;
    LRESULT result;
};

class RouteTest : public ::testing::TestWithParam<RouteCase> {};

TEST_P(RouteTest, ReachesTheRightHandler) {
    const RouteCase& c = GetParam();
    DerivedMap map;
    NMHDR header{nullptr, 14, static_cast<UINT>(NM_CLICK)};
    LRESULT result = -1;
    const LPARAM lParam = c.message == WM_NOTIFY ? reinterpret_cast<LPARAM>(&header) : 0;
    EXPECT_EQ(map.ProcessWindowMessage(nullptr, c.message, c.wParam, lParam, result), c.handled);
    EXPECT_EQ(map.called, c.called);
    if (c.handled) {
        EXPECT_EQ(result, c.result);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Maps, RouteTest,
    ::testing::Values(
        RouteCase{"DerivedEntryBeforeTheChainWins", WM_APP, 0, TRUE, "derived:app", 6},
        RouteCase{"BaseEntryBeforeALaterDerivedOne", WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), TRUE, "base:ten", 2},
        RouteCase{"OnlyInTheBase", WM_COMMAND, MAKEWPARAM(11, CBN_SELENDOK), TRUE, "base:eleven", 3},
        RouteCase{"OtherNotificationCodeIsNotHandled", WM_COMMAND, MAKEWPARAM(11, CBN_SELCHANGE), FALSE, "", 0},
        RouteCase{"OtherControlIsNotHandled", WM_COMMAND, MAKEWPARAM(15, BN_CLICKED), FALSE, "", 0},
        RouteCase{"DerivedAfterTheChain", WM_COMMAND, MAKEWPARAM(13, BN_CLICKED), TRUE, "derived:thirteen", 8},
        RouteCase{"DerivedBeforeTheChain", WM_COMMAND, MAKEWPARAM(12, BN_CLICKED), TRUE, "derived:twelve", 5},
        RouteCase{"ADeclinedMessageGoesOn", WM_APP + 1, 0, TRUE, "base:declines;base:takes", 4},
        RouteCase{"NotifyByIdAndCode", WM_NOTIFY, 14, TRUE, "derived:notify", 9},
        RouteCase{"UnknownMessage", WM_APP + 2, 0, FALSE, "", 0}),
    [](const ::testing::TestParamInfo<RouteCase>& info) { return std::string(info.param.name); });

}  // namespace

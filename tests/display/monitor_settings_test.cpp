// The per-monitor setting names.
#include "display/monitor_settings.h"

#include "config/node.h"

#include <gtest/gtest.h>

namespace {

using namespace monitor_setting;

struct WriteCase {
    std::int32_t monitor;
    const wchar_t* path;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << "monitor" << c.monitor;
}

class WriteMonitorSettingTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteMonitorSettingTest, WritesThePlainNameForMonitorZeroOnly) {
    Node settings;
    WriteMonitorSetting(settings, kModeWidth, GetParam().monitor, 1024);
    EXPECT_TRUE(settings.Has(GetParam().path, ValueType::Integer));
    EXPECT_EQ(settings.Get(GetParam().path).AsInt(), 1024);
    EXPECT_EQ(settings.entries().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Monitors, WriteMonitorSettingTest,
                         ::testing::Values(WriteCase{0, L"ModeWidth"}, WriteCase{1, L"ModeWidth1"},
                                           WriteCase{2, L"ModeWidth2"}, WriteCase{8, L"ModeWidth8"},
                                           WriteCase{-1, L"ModeWidth"}, WriteCase{12, L"ModeWidth12"}));

struct ReadCase {
    const char* name;
    std::int32_t monitor;
    bool storePlain;
    std::int32_t plain;
    const wchar_t* numberedPath;  // null: nothing stored under a number
    ConfigValue (*numbered)();
    std::int32_t expected;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadMonitorSettingTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadMonitorSettingTest, PrefersTheNumberedEntry) {
    const ReadCase& c = GetParam();
    Node settings;
    if (c.storePlain) settings.Get(L"UseDesktopRes") = ConfigValue(c.plain);
    if (c.numberedPath) settings.Get(c.numberedPath) = c.numbered();
    EXPECT_EQ(ReadMonitorSetting(settings, kUseDesktopRes, c.monitor), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ReadMonitorSettingTest,
    ::testing::Values(
        ReadCase{"OnlyPlain", 1, true, 1, nullptr, nullptr, 1},
        ReadCase{"NumberedZero", 1, true, 1, L"UseDesktopRes1", [] { return ConfigValue(std::int32_t{0}); }, 0},
        ReadCase{"Monitor0ReadsNumberedFirst", 0, true, 1, L"UseDesktopRes0",
                 [] { return ConfigValue(std::int32_t{5}); }, 5},
        ReadCase{"Monitor0FallsBack", 0, true, 7, nullptr, nullptr, 7},
        ReadCase{"NumberedOfAnotherTypeReadsZero", 2, true, 1, L"UseDesktopRes2", [] { return ConfigValue(L"1"); }, 0},
        ReadCase{"NumberedUnsetFallsBack", 2, true, 1, L"UseDesktopRes2", [] { return ConfigValue(); }, 1},
        ReadCase{"Nothing", 4, false, 0, nullptr, nullptr, 0},
        ReadCase{"OtherMonitorIgnored", 1, true, 3, L"UseDesktopRes2", [] { return ConfigValue(std::int32_t{9}); },
                 3}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

}  // namespace

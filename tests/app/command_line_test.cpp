#include "app/command_line.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct Case {
    const wchar_t* commandLine;
    RunMode mode;
    std::int32_t window;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
    std::string narrow;
    for (const wchar_t* p = c.commandLine; *p; ++p) narrow += (*p < 128) ? static_cast<char>(*p) : '?';
    return out << "[" << narrow << "]";
}

class ParseCommandLineTest : public ::testing::TestWithParam<Case> {};

TEST_P(ParseCommandLineTest, GivesModeAndWindow) {
    const Case& c = GetParam();
    const ParsedCommandLine parsed = ParseCommandLine(c.commandLine);
    EXPECT_EQ(parsed.mode, c.mode);
    EXPECT_EQ(parsed.window, c.window);
}

constexpr RunMode C = RunMode::Configure;
constexpr RunMode P = RunMode::Preview;
constexpr RunMode S = RunMode::Run;
constexpr RunMode T = RunMode::NoAction;
constexpr RunMode A = RunMode::ChangePassword;

// The program path, as the system passes it.
#define QUOTED L"\"C:\\Windows\\Marrowdale 3D Screensaver.scr\""
#define PLAIN L"C:\\WINDOWS\\MARROW~1.SCR"

const Case kSwitches[] = {
    {L"", C, 0},
    {L"     ", C, 0},
    {QUOTED, C, 0},
    {QUOTED L" ", C, 0},
    {PLAIN, C, 0},
    {PLAIN L" nothing here", C, 0},
    {PLAIN L" /c:1234", C, 1234},
    {PLAIN L" /C 1234", C, 1234},
    {PLAIN L" -c1234", C, 1234},
    {PLAIN L" /r 1234", C, 1234},
    {QUOTED L" /c:1234", C, 1234},
    {QUOTED L"/c:1234", C, 1234},
    {PLAIN L" /p 4567", P, 4567},
    {PLAIN L" /P 4567", P, 4567},
    {PLAIN L" /s", S, 0},
    {PLAIN L" /S", S, 0},
    {PLAIN L" /x", S, 0},
    {PLAIN L" /s 55", S, 0},
    {PLAIN L" /", S, 0},
    {PLAIN L" -", S, 0},
    {PLAIN L" /t", T, 0},
    {PLAIN L" /T 77", T, 0},
    {PLAIN L" /a 99", A, 99},
    {PLAIN L" /A", A, 0},
    {PLAIN L" /p", P, 0},
    {PLAIN L" /p window", P, 0},
    {PLAIN L" /c /p 12", C, 12},
    {PLAIN L" /p -5", P, 5},
    {PLAIN L" /p:-5", P, 5},
    {PLAIN L" /p                           99", P, 99},
    {PLAIN L" /p 2147483647", P, 2147483647},
    {PLAIN L" /p 2147483648", P, 2147483647},
    {PLAIN L" /p 99999999999", P, 2147483647},
    {PLAIN L" /p 123456789012345678901234567890", P, 2147483647},
    {PLAIN L" /p 00042", P, 42},
    {PLAIN L" /p 12x34", P, 12},
    // Arabic-Indic and full-width digits are not digits.
    {PLAIN L" /p \x0663\x0664 7", P, 7},
    {PLAIN L" /p \xFF11\xFF12", P, 0},
    // Letters outside ASCII are not switch letters.
    {PLAIN L" /\x0421", S, 0},
    {PLAIN L" foo /p 7", P, 7},
    {L"\"C:\\a b\\x.scr\" foo bar /a", A, 0},
    {QUOTED L"\t/p 3", P, 3},
    // An unclosed quote swallows the rest of the text.
    {L"\"C:\\x.scr /s", C, 0},
    {L"\"C:\\x.scr", C, 0},
    // A hyphen inside an unquoted path is part of the path, not a switch.
    {L"C:\\Program Files\\a-c.scr /s", S, 0},
    {L"C:\\Program Files\\a-c.scr", C, 0},
    {L"C:\\Program Files\\x/y.scr /p 8", P, 8},
    {L"\"C:\\Program Files\\a-c.scr\" /s", S, 0},
    {L"scr.exe first-word /p 4", P, 4},
    {L"scr.exe -p 4", P, 4},
};

INSTANTIATE_TEST_SUITE_P(Table, ParseCommandLineTest, ::testing::ValuesIn(kSwitches));

}  // namespace

// The elevated mode is reached by its own first argument only; everything
// else is left to the screensaver switches.
struct GrantCase {
    const wchar_t* commandLine;
    bool grant;
    const wchar_t* argument;
};

class GrantArgumentTest : public ::testing::TestWithParam<GrantCase> {};

TEST_P(GrantArgumentTest, OnlyTheExactFirstArgument) {
    const GrantCase& c = GetParam();
    const std::optional<std::wstring_view> argument = GrantArgument(c.commandLine);
    ASSERT_EQ(argument.has_value(), c.grant);
    if (c.grant) {
        EXPECT_EQ(std::wstring(*argument), c.argument);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, GrantArgumentTest,
    ::testing::Values(GrantCase{QUOTED L" --grant-settings-access S-1-5-21-1-2-3-1001", true, L"S-1-5-21-1-2-3-1001"},
                      GrantCase{PLAIN L" --grant-settings-access S-1-5-21-1-2-3-1001", true, L"S-1-5-21-1-2-3-1001"},
                      GrantCase{QUOTED L"   --grant-settings-access x y", true, L"x y"},
                      GrantCase{QUOTED L" --grant-settings-accessX S-1-1-0", false, nullptr},
                      GrantCase{QUOTED L" --GRANT-SETTINGS-ACCESS S-1-1-0", false, nullptr},
                      GrantCase{QUOTED L" /c --grant-settings-access S-1-1-0", false, nullptr},
                      GrantCase{QUOTED, false, nullptr},
                      // The switch inside an unquoted path is the path's.
                      GrantCase{L"C:\\x --grant-settings-access\\a.scr /s", false, nullptr}));

// The screensaver switches of the command line, as pure logic.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

enum class RunMode : std::int32_t {
    Configure = 0,
    Preview = 1,
    Run = 2,
    NoAction = 3,
    ChangePassword = 4,
};

struct ParsedCommandLine {
    RunMode mode = RunMode::Configure;
    // The window number after the switch letter: the owner of the settings
    // dialog or the parent of the preview; 0 when there is none.
    std::int32_t window = 0;
};

// Takes the whole process command line, program path included. Never fails.
ParsedCommandLine ParseCommandLine(std::wstring_view commandLine);

// When the first argument after the program path is exactly the grant
// switch (config/product.h):
// the rest of the command line after it and one blank (empty when there is
// none), unchecked. Otherwise nothing, and the command line is one of the
// screensaver switches.
std::optional<std::wstring_view> GrantArgument(std::wstring_view commandLine);

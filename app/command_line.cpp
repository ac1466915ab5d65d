#include "app/command_line.h"

#include "config/product.h"

#include <cstddef>

namespace {

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Position just past the program path: a quoted path up to and past its
// closing quote, an unquoted one up to and past its first space.
std::size_t SkipProgramPath(std::wstring_view text) {
    if (text.empty()) return 0;
    if (text[0] == L'"') {
        const std::size_t close = text.find(L'"', 1);
        return close == std::wstring_view::npos ? text.size() : close + 1;
    }
    const std::size_t space = text.find(L' ');
    return space == std::wstring_view::npos ? text.size() : space + 1;
}

// The first '/' or '-' that starts a word of the arguments. A hyphen or slash
// inside a word, such as in the rest of an unquoted path "C:\Program Files\a-c.scr",
// is not a switch.
std::size_t FindSwitch(std::wstring_view text, std::size_t start) {
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] != L'/' && text[i] != L'-') continue;
        if (i == start || IsBlank(text[i - 1])) return i;
    }
    return std::wstring_view::npos;
}

// The first run of ASCII digits from start on, saturated at INT32_MAX; 0 when
// there is none. Whatever comes before the digits is skipped, signs included.
std::int32_t ReadWindowNumber(std::wstring_view text, std::size_t start) {
    std::size_t i = start;
    while (i < text.size() && !IsAsciiDigit(text[i])) ++i;
    constexpr std::int64_t kMax = 2147483647;
    std::int64_t value = 0;
    for (; i < text.size() && IsAsciiDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > kMax) value = kMax;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

ParsedCommandLine ParseCommandLine(std::wstring_view commandLine) {
    ParsedCommandLine result;
    const std::size_t switchAt = FindSwitch(commandLine, SkipProgramPath(commandLine));
    if (switchAt == std::wstring_view::npos) return result;

    const std::size_t letterAt = switchAt + 1;
    const wchar_t letter = letterAt < commandLine.size() ? commandLine[letterAt] : L'\0';
    switch (letter) {
        case L'A': case L'a': result.mode = RunMode::ChangePassword; break;
        case L'C': case L'c': case L'R': case L'r': result.mode = RunMode::Configure; break;
        case L'P': case L'p': result.mode = RunMode::Preview; break;
        case L'T': case L't': result.mode = RunMode::NoAction; return result;
        default: result.mode = RunMode::Run; return result;
    }
    result.window = ReadWindowNumber(commandLine, letterAt + 1);
    return result;
}

std::optional<std::wstring_view> GrantArgument(std::wstring_view commandLine) {
    std::size_t at = SkipProgramPath(commandLine);
    while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
    const std::wstring_view rest = commandLine.substr(at);
    const std::wstring_view grant(product::kGrantSwitch);
    if (rest.substr(0, grant.size()) != grant) return std::nullopt;
    if (rest.size() == grant.size()) return std::wstring_view();
    if (rest[grant.size()] != L' ') return std::nullopt;
    return rest.substr(grant.size() + 1);
}

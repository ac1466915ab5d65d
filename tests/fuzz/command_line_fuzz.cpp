// The command-line parser on any text: it never fails, the mode is one of the
// five, the window number is never negative and only the modes that use it
// read one. The program path, quoted or not, never changes how the
// arguments read; nor how the elevated mode's first argument reads.
#include "app/command_line.h"
#include "tests/fuzz/fuzz_check.h"

#include <string>

namespace {

bool operator==(const ParsedCommandLine& a, const ParsedCommandLine& b) {
    return a.mode == b.mode && a.window == b.window;
}

void CheckResult(const ParsedCommandLine& parsed) {
    const auto mode = static_cast<std::int32_t>(parsed.mode);
    FUZZ_CHECK(mode >= 0 && mode <= 4);
    FUZZ_CHECK(parsed.window >= 0);
    if (parsed.mode == RunMode::Run || parsed.mode == RunMode::NoAction) FUZZ_CHECK(parsed.window == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = fuzz::Utf16FromBytes(data, size);
    CheckResult(ParseCommandLine(text));

    // The same text as the arguments after a program path.
    const ParsedCommandLine unquoted = ParseCommandLine(L"C:\\Windows\\Marrowdale.scr " + text);
    const ParsedCommandLine quoted = ParseCommandLine(L"\"C:\\Program Files\\Marrowdale 3D.scr\" " + text);
    CheckResult(unquoted);
    FUZZ_CHECK(unquoted == quoted);

    // The elevated mode's argument, when there is one, is the end of the line,
    // and the program path does not change it either.
    const std::wstring quotedLine = L"\"C:\\Program Files\\Marrowdale 3D.scr\" " + text;
    const std::wstring unquotedLine = L"C:\\Windows\\Marrowdale.scr " + text;
    const auto grant = GrantArgument(quotedLine);
    if (grant) {
        FUZZ_CHECK(grant->size() <= text.size());
        FUZZ_CHECK(text.compare(text.size() - grant->size(), grant->size(), *grant) == 0);
    }
    FUZZ_CHECK(grant.has_value() == GrantArgument(unquotedLine).has_value());
    return 0;
}

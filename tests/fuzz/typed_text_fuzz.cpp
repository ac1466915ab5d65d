// The typed text of the registry values. Any stored data parses without
// fault, and what the parser makes of it is stable: formatting a parsed value
// and parsing it again gives the same value back. Values made from the input
// survive format-then-parse: integers and texts exactly, floats to the six
// digits after the point that the format keeps.
#include "config/typed_text.h"
#include "tests/fuzz/fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace {

bool SameValue(const ConfigValue& a, const ConfigValue& b) {
    if (a.type != b.type) return false;
    switch (a.type) {
        case ValueType::Float:
            // Bit for bit, so that -0 and 0 differ.
            return std::memcmp(&a.floatValue, &b.floatValue, sizeof(float)) == 0;
        case ValueType::Integer:
            return a.intValue == b.intValue;
        case ValueType::Str:
            return a.text == b.text;
        default:
            return true;
    }
}

// A parsed value, formatted and parsed again, comes back the same; a float
// may move once to the nearest float of its six-digit text, then no more.
void CheckStable(const ConfigValue& value) {
    if (value.type == ValueType::Float) FUZZ_CHECK(std::isfinite(value.floatValue));
    const std::optional<std::wstring> stored = typed_text::Format(value);
    if (!stored) {
        FUZZ_CHECK(value.type == ValueType::Str && value.text.empty());
        return;
    }
    const std::optional<ConfigValue> again = typed_text::Parse(*stored);
    FUZZ_CHECK(again.has_value());
    if (value.type == ValueType::Float) {
        FUZZ_CHECK(again->type == ValueType::Float);
        FUZZ_CHECK(typed_text::Format(*again) == stored);
    } else {
        FUZZ_CHECK(SameValue(*again, value));
    }
}

bool IsScanSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Stored data as it comes from the registry.
    const std::wstring stored = fuzz::Utf16FromBytes(data, size);
    if (const std::optional<ConfigValue> value = typed_text::Parse(stored)) CheckStable(*value);
    FUZZ_CHECK(std::isfinite(typed_text::ScanFloat(stored)));

    // Values made from the input, formatted, then parsed.
    FuzzedDataProvider input(data, size);
    const auto integer = input.ConsumeIntegral<std::int32_t>();
    const std::optional<ConfigValue> readInteger = typed_text::Parse(typed_text::FormatInteger(integer));
    FUZZ_CHECK(readInteger && readInteger->type == ValueType::Integer && readInteger->intValue == integer);

    float number;
    const auto bits = input.ConsumeIntegral<std::uint32_t>();
    std::memcpy(&number, &bits, sizeof(number));
    const std::optional<ConfigValue> readFloat = typed_text::Parse(typed_text::FormatFloat(number));
    FUZZ_CHECK(readFloat && readFloat->type == ValueType::Float);
    if (std::isnan(number)) {
        FUZZ_CHECK(readFloat->floatValue == 0.0f);
    } else if (std::isinf(number)) {
        FUZZ_CHECK(readFloat->floatValue == std::copysign(std::numeric_limits<float>::max(), number));
    } else {
        // Half a unit of the sixth digit, and the rounding to the nearest float.
        const double error = std::fabs(static_cast<double>(readFloat->floatValue) - static_cast<double>(number));
        const double step = std::fabs(static_cast<double>(std::nextafter(number, 0.0f)) - number);
        FUZZ_CHECK(error <= 5e-7 + step);
    }
    CheckStable(*readFloat);

    const std::wstring text = stored.substr(std::min(stored.size(), input.ConsumeIntegralInRange<std::size_t>(0, 8)));
    const std::optional<ConfigValue> readText = typed_text::Parse(typed_text::FormatString(text));
    FUZZ_CHECK(readText && readText->type == ValueType::Str);
    // A text comes back whole unless it holds what ends a stored value (a
    // NUL or a tab) or begins with the white space the reader skips.
    const bool plain = text.find_first_of(std::wstring(L"\t\0", 2)) == std::wstring::npos &&
                       (text.empty() || !IsScanSpace(text[0]));
    if (plain) FUZZ_CHECK(readText->text == text);
    CheckStable(*readText);
    return 0;
}

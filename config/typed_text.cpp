#include "config/typed_text.h"

#include "config/fixed_decimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace typed_text {

namespace {

constexpr float kLargestFloat = std::numeric_limits<float>::max();

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// The white space that a blank in a scanf format skips.
bool IsScanSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

std::wstring Widen(const char* begin, const char* end) { return std::wstring(begin, end); }

std::wstring WithCode(wchar_t code, std::wstring_view text) {
    std::wstring data;
    data.reserve(text.size() + 3);
    data.push_back(code);
    data.append(L": ");
    data.append(text);
    return data;
}

}  // namespace

std::wstring FormatFloat(float value) {
    if (std::isnan(value)) value = 0.0f;
    if (std::isinf(value)) value = std::copysign(kLargestFloat, value);
    const std::string text = fixed_decimal::SixDecimals(value);
    return WithCode(L'1', Widen(text.data(), text.data() + text.size()));
}

std::wstring FormatInteger(std::int32_t value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return WithCode(L'2', Widen(buffer, result.ptr));
}

std::wstring FormatString(std::wstring_view text) { return WithCode(L'3', text); }

std::optional<std::wstring> Format(const ConfigValue& value) {
    switch (value.type) {
        case ValueType::Float:
            return FormatFloat(value.floatValue);
        case ValueType::Integer:
            return FormatInteger(value.intValue);
        case ValueType::Str:
            if (value.text.empty()) return std::nullopt;
            return FormatString(value.text);
        case ValueType::Subtree:
        case ValueType::Unset:
            break;
    }
    return std::nullopt;
}

std::optional<ConfigValue> Parse(std::wstring_view data) {
    data = data.substr(0, data.find(L'\0'));
    if (data.size() < 3 || data[0] < L'1' || data[0] > L'3' || data[1] != L':' || data[2] != L' ') {
        return std::nullopt;
    }
    size_t start = 3;
    while (start < data.size() && IsScanSpace(data[start])) ++start;
    std::wstring_view text = data.substr(start);
    text = text.substr(0, text.find(L'\t'));

    switch (data[0]) {
        case L'1':
            return ConfigValue(ScanFloat(text));
        case L'2':
            return ConfigValue(ScanInteger(text));
        default:
            return ConfigValue(std::wstring(text));
    }
}

float ScanFloat(std::wstring_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';

    // The number is copied into plain ASCII in a form strtof takes, which
    // rounds exactly; the program never sets a locale, so the point is '.'.
    std::vector<char> number;
    size_t integerDigits = 0;
    size_t fractionDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++integerDigits) {
        number.push_back(static_cast<char>(text[i]));
    }
    if (i < text.size() && text[i] == L'.') {
        ++i;
        number.push_back('.');
        for (; i < text.size() && IsDigit(text[i]); ++i, ++fractionDigits) {
            number.push_back(static_cast<char>(text[i]));
        }
    }
    if (integerDigits + fractionDigits == 0) return 0.0f;
    if (integerDigits == 0) number.insert(number.begin(), '0');

    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) negativeExponent = text[j++] == L'-';
        if (j < text.size() && IsDigit(text[j])) {
            number.push_back('e');
            if (negativeExponent) number.push_back('-');
            for (; j < text.size() && IsDigit(text[j]); ++j) number.push_back(static_cast<char>(text[j]));
        }
    }

    // Too large gives infinity, which becomes the largest float; too small
    // gives zero or a denormal, which stand as they are.
    number.push_back('\0');
    float magnitude = std::strtof(number.data(), nullptr);
    if (std::isinf(magnitude)) magnitude = kLargestFloat;
    if (std::isnan(magnitude)) magnitude = 0.0f;
    return negative ? -magnitude : magnitude;
}

std::int32_t ScanInteger(std::wstring_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';

    unsigned base = 10;
    if (i < text.size() && text[i] == L'0') {
        if (i + 2 < text.size() && (text[i + 1] == L'x' || text[i + 1] == L'X') && HexDigitValue(text[i + 2]) >= 0) {
            base = 16;
            i += 2;
        } else {
            base = 8;
        }
    }

    // Unsigned arithmetic wraps modulo 2^32, which is the documented result
    // for numbers wider than 32 bits.
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) break;
        value = value * base + static_cast<std::uint32_t>(digit);
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

}  // namespace typed_text

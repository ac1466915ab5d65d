// The typed-text value format on its own: writing, recognising and splitting
// stored data, and the number conversions.
#include "config/typed_text.h"

#include "tests/config/tree_dump.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <ostream>
#include <string>

namespace {

using test_support::Dump;

constexpr float kInf = std::numeric_limits<float>::infinity();

std::uint32_t Bits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

// ---------------------------------------------------------------- writing

struct FormatCase {
    const char* name;
    ConfigValue (*make)();
    std::optional<std::wstring> data;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

class FormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, WritesTheTypedText) { EXPECT_EQ(typed_text::Format(GetParam().make()), GetParam().data); }

const std::wstring kFltMaxText = L"340282346638528859811704183484516925440.000000";

INSTANTIATE_TEST_SUITE_P(
    Values, FormatTest,
    ::testing::Values(
        FormatCase{"Half", [] { return ConfigValue(0.5f); }, L"1: 0.500000"},
        FormatCase{"TinyRoundsToZero", [] { return ConfigValue(1.0e-7f); }, L"1: 0.000000"},
        FormatCase{"NegativeTinyKeepsSign", [] { return ConfigValue(-1.0e-7f); }, L"1: -0.000000"},
        FormatCase{"NegativeZero", [] { return ConfigValue(-0.0f); }, L"1: -0.000000"},
        FormatCase{"Negative", [] { return ConfigValue(-1.5f); }, L"1: -1.500000"},
        FormatCase{"OneTenthWidened", [] { return ConfigValue(0.1f); }, L"1: 0.100000"},
        // 2.5e-6f is 2.4999999e-6 exactly: rounding must see the true value.
        FormatCase{"ExactRounding", [] { return ConfigValue(2.5e-6f); }, L"1: 0.000002"},
        // 2^-7 and 3 * 2^-7 lie exactly halfway between two millionths: ties go to the even one.
        FormatCase{"TieToEvenDown", [] { return ConfigValue(0.0078125f); }, L"1: 0.007812"},
        FormatCase{"TieToEvenUp", [] { return ConfigValue(0.0234375f); }, L"1: 0.023438"},
        FormatCase{"SmallestSubnormal", [] { return ConfigValue(1.4e-45f); }, L"1: 0.000000"},
        FormatCase{"JustBelowHalfAMillionth", [] { return ConfigValue(4.9999997e-7f); }, L"1: 0.000000"},
        FormatCase{"JustAboveHalfAMillionth", [] { return ConfigValue(5.0000005e-7f); }, L"1: 0.000001"},
        FormatCase{"TwoToThe32", [] { return ConfigValue(4294967296.0f); }, L"1: 4294967296.000000"},
        FormatCase{"LargeNoGrouping", [] { return ConfigValue(16777216.0f); }, L"1: 16777216.000000"},
        FormatCase{"Huge", [] { return ConfigValue(1e30f); }, L"1: 1000000015047466219876688855040.000000"},
        FormatCase{"Largest", [] { return ConfigValue(FLT_MAX); }, L"1: " + kFltMaxText},
        FormatCase{"Infinity", [] { return ConfigValue(kInf); }, L"1: " + kFltMaxText},
        FormatCase{"MinusInfinity", [] { return ConfigValue(-kInf); }, L"1: -" + kFltMaxText},
        FormatCase{"NaN", [] { return ConfigValue(std::numeric_limits<float>::quiet_NaN()); }, L"1: 0.000000"},
        FormatCase{"MinusOne", [] { return ConfigValue(-1); }, L"2: -1"},
        FormatCase{"Zero", [] { return ConfigValue(0); }, L"2: 0"},
        FormatCase{"IntMax", [] { return ConfigValue(INT32_MAX); }, L"2: 2147483647"},
        FormatCase{"IntMin", [] { return ConfigValue(INT32_MIN); }, L"2: -2147483648"},
        FormatCase{"Text", [] { return ConfigValue(L"ru"); }, L"3: ru"},
        FormatCase{"TextKeepsLeadingBlanks", [] { return ConfigValue(L" \t x"); }, L"3:  \t x"},
        FormatCase{"TextKeepsTabs", [] { return ConfigValue(L"a\tb"); }, L"3: a\tb"},
        FormatCase{"TextPercentSigns", [] { return ConfigValue(L"%s%n%d"); }, L"3: %s%n%d"},
        FormatCase{"EmptyTextWritesNothing", [] { return ConfigValue(L""); }, std::nullopt},
        FormatCase{"UnsetWritesNothing", [] { return ConfigValue(); }, std::nullopt},
        FormatCase{"SubtreeIsNoValue", [] { return ConfigValue(std::make_unique<Node>()); }, std::nullopt}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(Format, LongTextHasNoLimit) {
    const std::wstring text(100000, L'z');
    EXPECT_EQ(typed_text::FormatString(text), L"3: " + text);
}

// ---------------------------------------------------------------- reading

struct ParseCase {
    const char* name;
    std::wstring data;
    std::wstring entry;  // the Dump of the entry, or empty when ignored
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, RecognisesSplitsAndConverts) {
    const ParseCase& c = GetParam();
    const std::optional<ConfigValue> value = typed_text::Parse(c.data);
    EXPECT_EQ(value ? Dump(*value) : std::wstring(), c.entry);
}

std::wstring WithNul(const wchar_t* before, const wchar_t* after) {
    return std::wstring(before) + L'\0' + std::wstring(after);
}

INSTANTIATE_TEST_SUITE_P(
    Data, ParseTest,
    ::testing::Values(
        ParseCase{"Float", L"1: 0.500000", L"f0.5"}, ParseCase{"FloatZero", L"1: 0.000000", L"f0"},
        ParseCase{"Integer", L"2: -1", L"i-1"}, ParseCase{"String", L"3: ru", L"s'ru'"},
        // The split: white space after the colon is skipped, a tab ends the text.
        ParseCase{"LeadingSpaces", L"3:    lead", L"s'lead'"},
        ParseCase{"LeadingTabs", L"3: \t\tlead", L"s'lead'"},
        ParseCase{"AllWhiteSpaceKinds", L"3: \n\r\v\f\t x", L"s'x'"},
        ParseCase{"TabInside", L"3: ab\tcd", L"s'ab'"}, ParseCase{"TrailingSpacesKept", L"3: a b  ", L"s'a b  '"},
        ParseCase{"IntegerBeforeTab", L"2: 12\t34", L"i12"},
        ParseCase{"NonBreakingSpaceIsText", L"3: \x00A0x", L"s'\x00A0x'"},
        ParseCase{"OtherPrintfDirectivesAreText", L"3: %s%n", L"s'%s%n'"},
        // Only the prefix: the type with 0 or the empty text.
        ParseCase{"OnlyPrefixString", L"3: ", L"s''"}, ParseCase{"OnlyPrefixFloat", L"1: ", L"f0"},
        ParseCase{"OnlyPrefixInteger", L"2: ", L"i0"}, ParseCase{"OnlyBlanksAndTabs", L"3:  \t \t", L"s''"},
        ParseCase{"IntegerNotANumber", L"2: abc", L"i0"}, ParseCase{"FloatNotANumber", L"1: abc", L"f0"},
        // Data ends at its first NUL.
        ParseCase{"NulInText", WithNul(L"3: ab", L"cd"), L"s'ab'"},
        ParseCase{"NulInPrefix", WithNul(L"3:", L" x"), L""}, ParseCase{"NulFirst", WithNul(L"", L"3: x"), L""},
        // Not typed text.
        ParseCase{"Empty", L"", L""}, ParseCase{"CodeFour", L"4: 1", L""}, ParseCase{"CodeZero", L"0: 1", L""},
        ParseCase{"NoSpace", L"1:0.5", L""}, ParseCase{"TabForSpace", L"3:\tx", L""},
        ParseCase{"SpaceBeforeColon", L"1 : 0.5", L""}, ParseCase{"TwoDigitCode", L"12: 3", L""},
        ParseCase{"LeadingSpace", L" 3: x", L""}, ParseCase{"JustCode", L"3", L""}, ParseCase{"CodeColon", L"3:", L""},
        ParseCase{"FullwidthDigit", L"\xFF13: x", L""}, ParseCase{"PlainText", L"C:\\Games", L""}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- %i

struct IntegerCase {
    const char* name;
    std::wstring text;
    std::int32_t value;
};

void PrintTo(const IntegerCase& c, std::ostream* os) { *os << c.name; }

class ScanIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ScanIntegerTest, Converts) { EXPECT_EQ(typed_text::ScanInteger(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(
    Texts, ScanIntegerTest,
    ::testing::Values(
        IntegerCase{"Decimal", L"42", 42}, IntegerCase{"Negative", L"-1", -1}, IntegerCase{"Plus", L"+7", 7},
        IntegerCase{"Hex", L"0x10", 16}, IntegerCase{"HexUpper", L"0XfF", 255}, IntegerCase{"NegativeHex", L"-0x10", -16},
        IntegerCase{"Octal", L"010", 8}, IntegerCase{"OctalStopsAtEight", L"0789", 7},
        IntegerCase{"ZeroThenEight", L"08", 0}, IntegerCase{"TrailingLetters", L"12abc", 12},
        IntegerCase{"DecimalStopsAtHexLetter", L"12f", 12}, IntegerCase{"HexPrefixOnly", L"0x", 0},
        IntegerCase{"HexPrefixThenJunk", L"0xg", 0}, IntegerCase{"SignOnly", L"-", 0},
        IntegerCase{"DoubleSign", L"--1", 0}, IntegerCase{"Empty", L"", 0}, IntegerCase{"Letters", L"abc", 0},
        IntegerCase{"FloatText", L"2.9", 2}, IntegerCase{"ArabicIndicDigit", L"\x0661", 0},
        IntegerCase{"IntMax", L"2147483647", INT32_MAX}, IntegerCase{"IntMin", L"-2147483648", INT32_MIN},
        // Wider than 32 bits: the low 32 bits, as the Windows C runtime reads.
        IntegerCase{"JustAboveIntMax", L"2147483648", INT32_MIN},
        IntegerCase{"UnsignedMax", L"4294967295", -1}, IntegerCase{"HexUnsignedMax", L"0xFFFFFFFF", -1},
        IntegerCase{"HexBit32", L"0x100000000", 0}, IntegerCase{"ElevenDigits", L"99999999999", 1215752191},
        IntegerCase{"NegativeElevenDigits", L"-99999999999", -1215752191},
        IntegerCase{"Huge", L"340282366920938463463374607431768211457", 1}),
    [](const ::testing::TestParamInfo<IntegerCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- %f

struct FloatCase {
    const char* name;
    std::wstring text;
    float value;
};

void PrintTo(const FloatCase& c, std::ostream* os) { *os << c.name; }

class ScanFloatTest : public ::testing::TestWithParam<FloatCase> {};

TEST_P(ScanFloatTest, ConvertsBitForBit) {
    const float read = typed_text::ScanFloat(GetParam().text);
    EXPECT_EQ(Bits(read), Bits(GetParam().value)) << read << " instead of " << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ScanFloatTest,
    ::testing::Values(
        FloatCase{"Half", L"0.500000", 0.5f}, FloatCase{"Written", L"0.000000", 0.0f},
        FloatCase{"Integer", L"3", 3.0f}, FloatCase{"NoLeadingDigit", L".5", 0.5f},
        FloatCase{"NoTrailingDigit", L"5.", 5.0f}, FloatCase{"Exponent", L"1.5e3", 1500.0f},
        FloatCase{"ExponentUpperNegative", L"2E-1", 0.2f}, FloatCase{"ExponentPlus", L"1e+2", 100.0f},
        FloatCase{"IncompleteExponent", L"1e", 1.0f}, FloatCase{"ExponentSignOnly", L"1e+", 1.0f},
        FloatCase{"Plus", L"+3", 3.0f}, FloatCase{"Negative", L"-2.25", -2.25f},
        FloatCase{"MinusZero", L"-0", -0.0f}, FloatCase{"MinusZeroPoint", L"-0.000000", -0.0f},
        FloatCase{"NearestFloat", L"0.1", 0.1f}, FloatCase{"TrailingJunk", L"0.5abc", 0.5f},
        FloatCase{"CommaIsNoPoint", L"1,5", 1.0f}, FloatCase{"HexIsNotDecimal", L"0x10", 0.0f},
        FloatCase{"NaNIsNoNumber", L"nan", 0.0f}, FloatCase{"InfIsNoNumber", L"inf", 0.0f},
        FloatCase{"MinusInfIsNoNumber", L"-inf", 0.0f}, FloatCase{"PointOnly", L".", 0.0f},
        FloatCase{"SignOnly", L"-", 0.0f}, FloatCase{"ExponentOnly", L"e5", 0.0f}, FloatCase{"Empty", L"", 0.0f},
        // Out of the float range: the largest float or a signed zero.
        FloatCase{"Overflow", L"1e40", FLT_MAX}, FloatCase{"NegativeOverflow", L"-1e40", -FLT_MAX},
        FloatCase{"JustAboveLargestRounding", L"3.4028236e38", FLT_MAX},
        FloatCase{"LargestExactly", L"340282346638528859811704183484516925440", FLT_MAX},
        FloatCase{"HugeExponent", L"1e99999999999999999999", FLT_MAX},
        FloatCase{"ManyDigits", std::wstring(2000, L'9'), FLT_MAX},
        FloatCase{"Underflow", L"1e-50", 0.0f}, FloatCase{"NegativeUnderflow", L"-1e-50", -0.0f},
        FloatCase{"TinyExponent", L"1e-99999999999999999999", 0.0f},
        FloatCase{"Subnormal", L"1e-40", 1e-40f}, FloatCase{"ZeroWithHugeExponent", L"0e99999", 0.0f},
        FloatCase{"ZerosThenHugeExponent", L"0.000e400", 0.0f},
        // Leading zeros and the exponent together decide the size.
        FloatCase{"LongFractionScaledUp", L"0." + std::wstring(1500, L'0') + L"1e1501", 1.0f},
        FloatCase{"LongIntegerScaledDown", L"1" + std::wstring(1500, L'0') + L"e-1500", 1.0f}),
    [](const ::testing::TestParamInfo<FloatCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- round trips and fuzzing

TEST(TypedTextRoundTrip, EveryIntegerReadsBackExactly) {
    std::mt19937 random(20261209);
    std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
    for (int i = 0; i < 20000; ++i) {
        const std::int32_t value = i < 4 ? (i == 0 ? 0 : i == 1 ? -1 : i == 2 ? INT32_MIN : INT32_MAX) : any(random);
        const std::optional<ConfigValue> read = typed_text::Parse(typed_text::FormatInteger(value));
        ASSERT_TRUE(read);
        ASSERT_EQ(read->type, ValueType::Integer);
        ASSERT_EQ(read->intValue, value);
    }
}

TEST(TypedTextRoundTrip, WideDecimalsKeepTheirLow32Bits) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const std::int64_t wide = static_cast<std::int64_t>(random());
        const std::string digits = std::to_string(wide);
        const std::wstring text(digits.begin(), digits.end());
        ASSERT_EQ(typed_text::ScanInteger(text), static_cast<std::int32_t>(static_cast<std::uint32_t>(wide))) << digits;
    }
}

TEST(TypedTextRoundTrip, FloatTextIsStableAfterOneLoad) {
    // Six decimals lose precision, but what was written once reads back as a
    // float that writes the same text again.
    std::mt19937 random(42);
    for (int i = 0; i < 20000; ++i) {
        std::uint32_t bits = random();
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof(value));
        if (!std::isfinite(value)) continue;
        const std::wstring written = typed_text::FormatFloat(value);
        const std::optional<ConfigValue> read = typed_text::Parse(written);
        ASSERT_TRUE(read);
        ASSERT_EQ(read->type, ValueType::Float);
        ASSERT_EQ(typed_text::FormatFloat(read->floatValue), written) << Bits(value);
    }
}

TEST(TypedTextFuzz, ArbitraryDataIsReadSafelyAndConsistently) {
    const wchar_t alphabet[] = {L'1', L'2', L'3', L'4', L':', L' ', L'\t', L'\n', L'0', L'x', L'X', L'e', L'.',
                                L'-', L'+', L'9', L'7', L'f', L'\0', L'a', L'\xD800', L'\xFFFF', L'%', L'\x00A0'};
    std::mt19937 random(1234);
    std::uniform_int_distribution<size_t> pick(0, std::size(alphabet) - 1);
    std::uniform_int_distribution<size_t> length(0, 14);
    for (int i = 0; i < 50000; ++i) {
        std::wstring data;
        // Half the inputs start with a valid prefix so that the values get tested.
        if (i % 2) data = std::wstring(1, static_cast<wchar_t>(L'1' + i % 3)) + L": ";
        for (size_t n = length(random); n > 0; --n) data.push_back(alphabet[pick(random)]);
        const std::optional<ConfigValue> value = typed_text::Parse(data);
        const std::wstring text = data.substr(0, data.find(L'\0'));
        const bool typed = text.size() >= 3 && text[0] >= L'1' && text[0] <= L'3' && text.compare(1, 2, L": ") == 0;
        ASSERT_EQ(value.has_value(), typed);
        if (!value) continue;
        ASSERT_EQ(static_cast<int>(value->type), text[0] - L'0');
        if (value->type == ValueType::Float) {
            ASSERT_TRUE(std::isfinite(value->floatValue));
        }
        if (value->type == ValueType::Str) {
            const std::wstring& s = value->text;
            ASSERT_EQ(s.find(L'\t'), std::wstring::npos);
            ASSERT_EQ(s.find(L'\0'), std::wstring::npos);
            ASSERT_TRUE(s.empty() || (s[0] != L' ' && s[0] != L'\n'));
            ASSERT_NE(text.find(s, 3), std::wstring::npos);
        }
    }
}

}  // namespace

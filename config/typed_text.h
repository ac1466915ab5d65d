// The typed text that holds one setting in the registry: a type code (1 float,
// 2 integer, 3 string), a colon, one space and the value, such as "2: -1".
// The renderer reads the same values, so the format is fixed.
#pragma once

#include "config/node.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace typed_text {

// "1: %f": six digits after the point, whatever the locale. Infinities are
// written as the largest finite float and NaN as 0, so that every stored
// float is a plain number for any reader.
std::wstring FormatFloat(float value);
// "2: %i".
std::wstring FormatInteger(std::int32_t value);
// "3: %s", the text unchanged.
std::wstring FormatString(std::wstring_view text);

// The stored text of an entry, or nothing for the entries that are not
// stored: subtrees, Unset entries and empty strings.
std::optional<std::wstring> Format(const ConfigValue& value);

// The entry that stored data stands for, or nothing when the data, up to its
// first NUL, does not begin with "1: ", "2: " or "3: ". After the colon any
// white space is skipped and the value ends before the next tab. A value
// without a number reads as 0, one without text as the empty string.
std::optional<ConfigValue> Parse(std::wstring_view data);

// The longest leading decimal or exponent-form number as the nearest float; 0
// when the text does not begin with one. Beyond the float range the result
// is the largest float of that sign; below it, a zero of that sign.
float ScanFloat(std::wstring_view text);

// An optional sign, then hexadecimal after 0x or 0X, octal after a leading 0,
// decimal otherwise, as far as the digits go; 0 when there are none. Numbers
// wider than 32 bits keep their low 32 bits, as the Windows C runtime's scanf
// does: 4294967295 and 0xFFFFFFFF read as -1, 99999999999 as 1215752191.
std::int32_t ScanInteger(std::wstring_view text);

}  // namespace typed_text

// The decimal text of an integer, as "%d" and std::to_wstring write it. The
// program shows only a few numbers; the C runtime's formatted output would
// link its whole wide printf for them.
#pragma once

#include <cstddef>
#include <string>
#include <type_traits>

namespace framework {

template <class Integer>
std::wstring DecimalText(Integer value) {
    static_assert(std::is_integral_v<Integer> && sizeof(Integer) <= 8, "an integer of at most 64 bits");
    // Through the unsigned type, so that the most negative value has a
    // magnitude too.
    using Unsigned = std::make_unsigned_t<Integer>;
    const bool negative = value < 0;
    Unsigned magnitude = static_cast<Unsigned>(value);
    if (negative) magnitude = static_cast<Unsigned>(0u - magnitude);

    wchar_t digits[21];  // 20 digits of 2^64 - 1 and a sign
    std::size_t first = sizeof(digits) / sizeof(digits[0]);
    do {
        digits[--first] = static_cast<wchar_t>(L'0' + magnitude % 10u);
        magnitude = static_cast<Unsigned>(magnitude / 10u);
    } while (magnitude != 0);
    if (negative) digits[--first] = L'-';
    return std::wstring(digits + first, digits + sizeof(digits) / sizeof(digits[0]));
}

}  // namespace framework

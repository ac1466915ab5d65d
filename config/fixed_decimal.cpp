#include "config/fixed_decimal.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace fixed_decimal {

namespace {

constexpr std::uint64_t kMillion = 1000000;

// value = significand * 2^exponent exactly, significand below 2^24.
void Decompose(float value, std::uint32_t& significand, int& exponent) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    const std::uint32_t field = (bits >> 23) & 0xFF;
    significand = bits & 0x7FFFFF;
    if (field == 0) {
        exponent = -149;  // subnormal: no hidden bit
    } else {
        significand |= 0x800000;
        exponent = static_cast<int>(field) - 150;
    }
}

// Decimal digits of a number held as 32-bit words, least significant first;
// the words are used up.
std::string DecimalDigits(std::uint32_t* words, int count) {
    std::string digits;
    for (;;) {
        while (count > 0 && words[count - 1] == 0) --count;
        if (count == 0) break;
        // Divide by 10^9 from the top word down; the remainder gives nine digits.
        std::uint64_t remainder = 0;
        for (int i = count - 1; i >= 0; --i) {
            const std::uint64_t current = (remainder << 32) | words[i];
            words[i] = static_cast<std::uint32_t>(current / 1000000000u);
            remainder = current % 1000000000u;
        }
        for (int i = 0; i < 9; ++i) {
            digits.insert(digits.begin(), static_cast<char>('0' + remainder % 10));
            remainder /= 10;
        }
    }
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string() : digits.substr(first);
}

}  // namespace

std::string SixDecimals(float value) {
    std::uint32_t significand;
    int exponent;
    Decompose(value, significand, exponent);

    // The value in millionths, rounded to the nearest with ties to even:
    // significand * 10^6 * 2^exponent, where significand * 10^6 < 2^44.
    const std::uint64_t scaled = significand * kMillion;
    // Below 2^44 shifted left by at most 104 bits fits in five 32-bit words,
    // but the shift below writes each half of the scaled value into two
    // neighbouring words, from word 104 / 32 = 3 up to word 5: six words.
    std::uint32_t words[6] = {};
    if (exponent >= 0) {
        const int wordShift = exponent / 32, bitShift = exponent % 32;
        const std::uint32_t low = static_cast<std::uint32_t>(scaled), high = static_cast<std::uint32_t>(scaled >> 32);
        const std::uint32_t parts[2] = {low, high};
        for (int i = 0; i < 2; ++i) {
            const std::uint64_t shifted = static_cast<std::uint64_t>(parts[i]) << bitShift;
            words[wordShift + i] |= static_cast<std::uint32_t>(shifted);
            words[wordShift + i + 1] |= static_cast<std::uint32_t>(shifted >> 32);
        }
    } else if (-exponent < 45) {
        // Beyond 44 bits of shift the value is below half a millionth: zero.
        const int shift = -exponent;
        std::uint64_t quotient = scaled >> shift;
        const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (quotient & 1) != 0)) ++quotient;
        words[0] = static_cast<std::uint32_t>(quotient);
        words[1] = static_cast<std::uint32_t>(quotient >> 32);
    }

    std::string digits = DecimalDigits(words, 6);
    if (digits.size() < 7) digits.insert(0, 7 - digits.size(), '0');
    digits.insert(digits.size() - 6, 1, '.');
    if (std::signbit(value)) digits.insert(0, 1, '-');
    return digits;
}

}  // namespace fixed_decimal

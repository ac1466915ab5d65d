// A float's exact value rounded to six decimal places, as "%.6f" writes it:
// digits, a point and six decimals, with a minus sign for any negative value
// (a negative zero included) and ties rounded to even. The C runtime's
// formatted output does the same, but links a general floating-point printf
// that is a twentieth of the program for this one use.
#pragma once

#include <string>

namespace fixed_decimal {

// value must be finite.
std::string SixDecimals(float value);

}  // namespace fixed_decimal

// Conversion of the narrow UTF-8 names of settings to UTF-16.
#pragma once

#include <string>

// The text up to its first NUL as UTF-16; malformed input follows the
// system's replacement rules.
std::wstring WideFromUtf8(const char* utf8);

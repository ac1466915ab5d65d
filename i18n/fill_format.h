// Filling the printf-style formats of the string table ("%s %s Configuration",
// "Music volume: %.01i%%") without handing a translated text to printf: a
// translation with more, fewer or other conversions than the English text
// must never read arguments that were not passed.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Each conversion (%s, %i, %.01i, %ls, ...) is replaced by the next argument,
// already written as text; %% gives one percent sign. Conversions beyond the
// arguments become empty, and a lone % at the end stays as it is.
std::wstring FillFormat(std::wstring_view format, std::initializer_list<std::wstring_view> arguments);

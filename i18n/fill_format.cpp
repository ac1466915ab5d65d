#include "i18n/fill_format.h"

#include <cwchar>

namespace {

bool IsConversionLetter(wchar_t c) { return c != 0 && std::wcschr(L"diouxXeEfFgGaAcCsSpn", c) != nullptr; }

// Flags, width, precision and length modifiers between % and the letter.
bool IsSpecificationPart(wchar_t c) { return c != 0 && std::wcschr(L"-+ #0123456789.hlLIjzt", c) != nullptr; }

}  // namespace

std::wstring FillFormat(std::wstring_view format, std::initializer_list<std::wstring_view> arguments) {
    std::wstring text;
    text.reserve(format.size());
    auto next = arguments.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') {
            text += format[i];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            text += L'%';
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < format.size() && IsSpecificationPart(format[end])) ++end;
        if (end >= format.size() || !IsConversionLetter(format[end])) {
            // Not a conversion: keep the text as written.
            text += format[i];
            continue;
        }
        if (next != arguments.end()) text += *next++;
        i = end;
    }
    return text;
}

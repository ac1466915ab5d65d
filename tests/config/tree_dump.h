// A tree as one line of text, so that tests can compare whole trees:
// {key=value,...} in key order; U Unset, i12 Integer, f0.5 Float, s'text' Str,
// {...} Subtree.
#pragma once

#include "config/node.h"

#include <charconv>
#include <string>

namespace test_support {

inline std::wstring Dump(const ConfigValue& value);

inline std::wstring Dump(const Node& node) {
    std::wstring out = L"{";
    bool first = true;
    for (const auto& [key, value] : node.entries()) {
        if (!first) out += L",";
        first = false;
        out += key + L"=" + Dump(value);
    }
    return out + L"}";
}

inline std::wstring Dump(const ConfigValue& value) {
    switch (value.type) {
        case ValueType::Subtree:
            return value.subtree ? Dump(*value.subtree) : L"{null}";
        case ValueType::Float: {
            char buffer[64];
            const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value.floatValue);
            return L"f" + std::wstring(buffer, result.ptr);
        }
        case ValueType::Integer:
            return L"i" + std::to_wstring(value.intValue);
        case ValueType::Str:
            return L"s'" + value.text + L"'";
        case ValueType::Unset:
            return L"U";
    }
    return L"?";
}

}  // namespace test_support

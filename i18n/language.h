// The language the installer chose, as a tag of the string table.
#pragma once

#include <string>

// "de", "fr" or "ru" for the installer's values "3: de", "3: fr" and "3: ru"
// (compared exactly); "en" for anything else.
std::wstring LanguageTagFromValue(const std::wstring& value);

// The tag for the product key's "Language" value under HKEY_LOCAL_MACHINE
// (64-bit view); "en" when it is missing or unreadable.
std::wstring LanguageTagFromRegistry();

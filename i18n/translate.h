// The lookup of a user-visible text by its English wording.
#pragma once

#include <string>

// The text in the current language, or the key itself when there is no
// current string table or it has no entry for the key.
std::wstring Translate(const std::wstring& key);

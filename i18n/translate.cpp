#include "i18n/translate.h"

// No string table exists yet in this build: every text is shown as written.
std::wstring Translate(const std::wstring& key) { return key; }

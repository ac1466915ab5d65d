// The registry calls that open, create and write keys go through this table so
// that a test can watch the access rights asked for (Wine ignores the view
// flags) or make a write fail. The program itself never changes it.
#pragma once

#include "framework/scoped_override.h"

#include <windows.h>

#include <optional>

namespace registry_seam {

struct Api {
    decltype(&::RegOpenKeyExW) openKey = &::RegOpenKeyExW;
    decltype(&::RegCreateKeyExW) createKey = &::RegCreateKeyExW;
    decltype(&::RegSetValueExW) setValue = &::RegSetValueExW;
    // When set, Is64BitWindows answers this instead of asking the system.
    std::optional<bool> is64BitWindows;
    // Wine's RegFlushKey does nothing, so a test can only see the call here.
    decltype(&::RegFlushKey) flushKey = &::RegFlushKey;
};

Api& Current();

// Replaces the table for the lifetime of the object and restores it afterwards.
class ScopedApi : public framework::ScopedOverride<Api> {
public:
    explicit ScopedApi(const Api& replacement) : ScopedOverride(Current(), replacement) {}
};

}  // namespace registry_seam

// The open-file dialog of the playlist dialog goes through this table, so
// that a test can hand back what the real dialog cannot be made to return (a
// buffer too small, a buffer cut short) and see how it was asked. The
// program itself never changes it.
#pragma once

#include "framework/scoped_override.h"

#include <windows.h>
#include <commdlg.h>

namespace open_file_seam {

struct Api {
    decltype(&::GetOpenFileNameW) getOpenFileName = &::GetOpenFileNameW;
};

Api& Current();

class ScopedApi : public framework::ScopedOverride<Api> {
public:
    explicit ScopedApi(const Api& replacement) : ScopedOverride(Current(), replacement) {}
};

}  // namespace open_file_seam

// The calls of the settings dialog that leave the program (opening the web
// site) go through this table, so that a test can see the address without a
// browser. The program itself never changes it.
#pragma once

#include "framework/scoped_override.h"

#include <windows.h>
#include <shellapi.h>

namespace ui_seam {

struct Api {
    decltype(&::ShellExecuteW) shellExecute = &::ShellExecuteW;
};

Api& Current();

class ScopedApi : public framework::ScopedOverride<Api> {
public:
    explicit ScopedApi(const Api& replacement) : ScopedOverride(Current(), replacement) {}
};

}  // namespace ui_seam

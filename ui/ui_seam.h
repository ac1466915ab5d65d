// The calls of the settings dialog that leave the program (opening the web
// site, asking for consent to save) go through this table, so that a test can
// see the address without a browser and decline a consent that Wine never
// asks for. The program itself never changes it.
#pragma once

#include "framework/scoped_override.h"

#include <windows.h>
#include <shellapi.h>

namespace ui_seam {

struct Api {
    decltype(&::ShellExecuteW) shellExecute = &::ShellExecuteW;
    decltype(&::ShellExecuteExW) shellExecuteEx = &::ShellExecuteExW;
};

Api& Current();

class ScopedApi : public framework::ScopedOverride<Api> {
public:
    explicit ScopedApi(const Api& replacement) : ScopedOverride(Current(), replacement) {}
};

}  // namespace ui_seam

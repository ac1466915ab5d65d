// The settings dialog run from a test template that also has the resolution
// list (1001) and the desktop-resolution box (1012), which the program's
// template leaves out: the monitor group's code for them can be watched live.
#pragma once

#define IDD_SETTINGS_WITH_RESOLUTION 3003

#ifndef RC_INVOKED

#include "ui/settings_dlg.h"

class CResolutionSettingsDlg : public CSettingsDlg {
public:
    CResolutionSettingsDlg() : CSettingsDlg(IDD_SETTINGS_WITH_RESOLUTION) {}
};

#endif

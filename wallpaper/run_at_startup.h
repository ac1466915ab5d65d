#pragma once
#include <windows.h>
bool IsRunAtStartupSet();
HRESULT StoreRunAtStartup(bool checked);

// Identifiers of the program's resources, shared by the resource scripts and the code.
#pragma once

#define IDR_STRING_TABLE 11
#define IDI_APP_ICON 100
#define IDR_PREVIEW_PICTURE 150

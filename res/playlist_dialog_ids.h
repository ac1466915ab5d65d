// Identifiers of the playlist dialog's template and controls, shared by the
// resource script and the code.
#pragma once

#define IDD_PLAYLIST 162

#define IDC_SHUFFLE 1074
#define IDC_ADD_FILES 1080
#define IDC_REMOVE_FILES 1081
#define IDC_PLAYLIST_FILES 1082

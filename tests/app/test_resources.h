// Identifiers of the app test program's own resources: pictures that cannot
// be decoded, each in one way.
#pragma once

#define IDR_NOT_A_PICTURE 901
#define IDR_EMPTY_PICTURE 902
#define IDR_HEADERS_ONLY_PICTURE 903
#define IDR_TRUNCATED_SCAN_PICTURE 904
// No resource has this identifier.
#define IDR_ABSENT_PICTURE 999

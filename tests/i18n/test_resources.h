// Identifiers of the test program's own resources: string tables that are
// broken in one way each, and a dialog to translate.
#pragma once

#define IDR_NO_FINAL_BREAK 201
#define IDR_FINAL_BREAK_LF 202
#define IDR_NO_LANGUAGES 203
#define IDR_EMPTY_LANGUAGES 204
#define IDR_LOWERCASE_LANGUAGE 205
#define IDR_WRONG_ROOT 206
#define IDR_MALFORMED 207
#define IDR_EMPTY 208
#define IDR_ONE_BYTE 209
#define IDR_NO_TEXT_BLOCK 210
#define IDR_NO_ENGLISH 211
#define IDR_MISSING_STRING 212
#define IDR_DUPLICATES 213
#define IDR_INTERLEAVED 214
#define IDR_LONG_TEXTS 215
// No resource has this identifier.
#define IDR_ABSENT 299

#define IDD_TRANSLATE_TEST 300
#define IDC_ADD 301
#define IDC_REMOVE 302
#define IDC_SHUFFLE 303
#define IDC_FRAME 304
#define IDC_NO_ROW 305
#define IDC_LOWER_CASE 306
#define IDC_HOST 307
#define IDC_LIST 308
#define IDC_COMBO 309
#define IDC_LONG 310
#define IDC_LIST_VIEW 311

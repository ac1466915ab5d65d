// The product key as the settings tests see it: emptied before each test and
// afterwards, filled with typed texts, and read back as raw data.
#pragma once

#include "config/product.h"
#include "display/display_seam.h"
#include "tests/support/scoped_value.h"
#include "tests/support/scratch_key.h"
#include "wallpaper/run_at_startup.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace test_support {

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const RawValue& other) const { return type == other.type && data == other.data; }
};
using RawValues = std::map<std::wstring, RawValue>;

// Every value of the key, raw; empty when the key is missing.
RawValues ReadRawValues(HKEY root, const std::wstring& path);
// The value's data as text when it is REG_SZ of whole characters with no
// terminator stored, else a description that no test expects.
std::wstring UnterminatedText(const RawValue& value);
// Stores REG_SZ data without a terminator, as the program does.
void StoreTypedText(const std::wstring& name, const std::wstring& text);
// A value of the product key as UnterminatedText reads it; "<missing>" when absent.
std::wstring StoredTypedText(const std::wstring& name);

// For the registry seam: RegOpenKeyExW, except that a subkey named
// "Unreadable" cannot be opened (access denied), as a key the user may not
// read.
LSTATUS WINAPI OpenFailingSubkey(HKEY root, LPCWSTR path, DWORD options, REGSAM access, PHKEY key);

// The probes of the dialog's start made quick and repeatable: 256 MB of
// video memory from a made-up WMI row (no DirectDraw), a clock that reads
// 0 MHz at once (so the graphics and antialiasing tiers are 0) and multisampling with
// 2, 4 and 8 samples. Direct3D 9 stays real: one object of it serves the
// whole test program.
display_seam::Api QuickProbes();

class ProductKeyTest : public ::testing::Test {
protected:
    ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
    display_seam::ScopedApi probes_{QuickProbes()};
};

// The installer's uninstall entry that the wallpaper's command may come from.
inline constexpr wchar_t kUninstallEntry[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Marrowdale 3D Screensaver_is1";

// As ProductKeyTest, and OK may write the Run entry: it and the uninstall
// entry start absent, and the Run entry is put back afterwards.
class OptionsTest : public ProductKeyTest {
protected:
    ScopedKeyRemoval uninstallEntry_{HKEY_LOCAL_MACHINE, kUninstallEntry};
    ScopedValueRemoval runValue_{HKEY_CURRENT_USER, kRunKey, kRunValueName};
};

}  // namespace test_support

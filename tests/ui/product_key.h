// The product key as the settings tests see it: emptied before each test and
// afterwards, filled with typed texts, and read back as raw data.
#pragma once

#include "config/product.h"
#include "display/display_seam.h"
#include "tests/support/scratch_key.h"

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

// The probes of the dialog's start made quick and repeatable: no WMI, a
// clock that reads 0 MHz (so the graphics and antialiasing tiers are 0) and
// multisampling with 2, 4 and 8 samples. Direct3D 9 stays real.
display_seam::Api QuickProbes();

class ProductKeyTest : public ::testing::Test {
protected:
    ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
    display_seam::ScopedApi probes_{QuickProbes()};
};

}  // namespace test_support

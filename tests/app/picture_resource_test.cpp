// Decoding JPEG resources into OLE pictures: the program's own preview
// picture, and resources that are missing or do not decode.
#include "app/picture_resource.h"
#include "res/resource_ids.h"
#include "tests/app/test_resources.h"
#include "tests/support/temp_folder.h"

#include <windows.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The decoder is reached through COM, which the preview mode initialises.
class PictureResourceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr))); }
    void TearDown() override { ::CoUninitialize(); }
};

// The picture's size in HIMETRIC units (2540 per inch) for a size in pixels
// at the 96 dots per inch of the test display.
LONG HimetricAt96Dpi(int pixels) { return ::MulDiv(pixels, 2540, 96); }

// The built program, loaded for its resources only.
class ProgramModule {
public:
    ProgramModule()
        : module_(::LoadLibraryExW(test_support::TestBuildFile(L"Marrowdale 3D Screensaver.scr").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ProgramModule() {
        if (module_) ::FreeLibrary(module_);
    }
    ProgramModule(const ProgramModule&) = delete;
    ProgramModule& operator=(const ProgramModule&) = delete;

    HMODULE Get() const { return module_; }

private:
    HMODULE module_;
};

TEST_F(PictureResourceTest, DecodesThePreviewPictureAtItsSizeInPixels) {
    const ProgramModule program;
    ASSERT_TRUE(program.Get());
    // The program's own copy, and the test program's from the same resource script.
    for (HMODULE module : {program.Get(), ::GetModuleHandleW(nullptr)}) {
        framework::ComPtr<IPicture> picture;
        LONG width = -1;
        LONG height = -1;
        ASSERT_EQ(LoadPictureResource(module, IDR_PREVIEW_PICTURE, picture, width, height), S_OK);
        ASSERT_TRUE(picture);
        SHORT type = PICTYPE_NONE;
        ASSERT_EQ(picture->get_Type(&type), S_OK);
        EXPECT_EQ(type, PICTYPE_BITMAP);
        // Rounding to whole HIMETRIC units may differ by one.
        EXPECT_NEAR(width, HimetricAt96Dpi(152), 1);
        EXPECT_NEAR(height, HimetricAt96Dpi(112), 1);
    }
}

struct FailureCase {
    const char* name;
    int resourceId;
};

class UndecodablePicture : public PictureResourceTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(UndecodablePicture, FailsAndLeavesNoPicture) {
    // A picture held from before must not survive a failed load.
    framework::ComPtr<IPicture> picture;
    LONG width = -1;
    LONG height = -1;
    const HMODULE module = ::GetModuleHandleW(nullptr);
    ASSERT_EQ(LoadPictureResource(module, IDR_PREVIEW_PICTURE, picture, width, height), S_OK);

    EXPECT_EQ(LoadPictureResource(module, GetParam().resourceId, picture, width, height), E_FAIL);
    EXPECT_FALSE(picture);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Resources, UndecodablePicture,
    ::testing::Values(FailureCase{"NoSuchResource", IDR_ABSENT_PICTURE},
                      // The icon's identifier names a resource of another type only.
                      FailureCase{"IdentifierOfAnIcon", IDI_APP_ICON}, FailureCase{"Text", IDR_NOT_A_PICTURE},
                      FailureCase{"Empty", IDR_EMPTY_PICTURE},
                      FailureCase{"CutInTheHeaders", IDR_HEADERS_ONLY_PICTURE},
                      // Wine's decoder rejects a scan that ends early rather than fill in the rest.
                      FailureCase{"CutInTheScan", IDR_TRUNCATED_SCAN_PICTURE}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// The program's icon as Windows picks it for each size the shell asks for.
TEST(ProgramIcon, HoldsA32BitImageAtEachSize) {
    const ProgramModule program;
    ASSERT_TRUE(program.Get());
    const HRSRC group = ::FindResourceW(program.Get(), MAKEINTRESOURCEW(IDI_APP_ICON), RT_GROUP_ICON);
    ASSERT_TRUE(group);
    auto* directory = static_cast<BYTE*>(::LockResource(::LoadResource(program.Get(), group)));
    ASSERT_TRUE(directory);
    for (int size : {16, 32, 48}) {
        // The best match falls back to another size when one is missing.
        const int id = ::LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        const HRSRC image = ::FindResourceW(program.Get(), MAKEINTRESOURCEW(id), RT_ICON);
        ASSERT_TRUE(image) << size;
        const auto* header = static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(program.Get(), image)));
        ASSERT_TRUE(header) << size;
        EXPECT_EQ(header->biSize, sizeof(BITMAPINFOHEADER)) << size;
        EXPECT_EQ(header->biWidth, size);
        EXPECT_EQ(header->biBitCount, 32) << size;
    }
}

}  // namespace

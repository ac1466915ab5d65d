// The preview pane in this process, where its pixels can be read: the
// picture stretched over the parent's client area, the background when the
// picture cannot be loaded, and the loop that ends with the pane.
#include "app/preview_wnd.h"

#include "framework/app_module.h"
#include "res/resource_ids.h"
#include "tests/app/preview_parent.h"
#include "tests/app/test_resources.h"
#include "tests/support/screenshot.h"

#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using test_support::CaptureWindow;
using test_support::Pixels;
using test_support::PreviewParent;

// The shipped JPEG decoded apart from the program's own path, by WIC.
Pixels DecodeShippedPicture() {
    Pixels image;
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_PREVIEW_PICTURE), L"JPEGFILE");
    auto* bytes = static_cast<BYTE*>(::LockResource(::LoadResource(module, info)));
    framework::ComPtr<IWICImagingFactory> factory;
    framework::ComPtr<IWICStream> stream;
    framework::ComPtr<IWICBitmapDecoder> decoder;
    framework::ComPtr<IWICBitmapFrameDecode> frame;
    framework::ComPtr<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    if (!bytes || FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IWICImagingFactory, factory.PutVoid())) ||
        FAILED(factory->CreateStream(stream.Put())) ||
        FAILED(stream->InitializeFromMemory(bytes, ::SizeofResource(module, info))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.Put())) ||
        FAILED(decoder->GetFrame(0, frame.Put())) || FAILED(factory->CreateFormatConverter(converter.Put())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height))) {
        return image;
    }
    std::vector<BYTE> pixels(static_cast<size_t>(width) * height * 4);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()), pixels.data()))) {
        return image;
    }
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.bgrx = std::move(pixels);
    return image;
}

bool Close(const BYTE* a, const BYTE* b, int tolerance) {
    for (int channel = 0; channel < 3; ++channel) {
        if (std::abs(a[channel] - b[channel]) > tolerance) return false;
    }
    return true;
}

const int kSampleStep = 5;

// Samples of a grid over what the pane shows that match no picture pixel
// next to where stretching the picture over the pane puts them. Decoders
// and stretching may differ by a pixel and by a little colour, not more.
int MismatchedSamples(const Pixels& shown, const Pixels& picture) {
    if (shown.width == 0 || shown.height == 0 || picture.width == 0) return -1;
    int mismatched = 0;
    for (int y = kSampleStep / 2; y < shown.height; y += kSampleStep) {
        for (int x = kSampleStep / 2; x < shown.width; x += kSampleStep) {
            const int pictureX = (2 * x + 1) * picture.width / (2 * shown.width);
            const int pictureY = (2 * y + 1) * picture.height / (2 * shown.height);
            bool matched = false;
            for (int dy = -1; dy <= 1 && !matched; ++dy) {
                for (int dx = -1; dx <= 1 && !matched; ++dx) {
                    const int px = std::min(std::max(pictureX + dx, 0), picture.width - 1);
                    const int py = std::min(std::max(pictureY + dy, 0), picture.height - 1);
                    matched = Close(shown.At(x, y), picture.At(px, py), 24);
                }
            }
            if (!matched) ++mismatched;
        }
    }
    return mismatched;
}

// Samples of the grid that are not the colour.
int SamplesNotOfColour(const Pixels& shown, COLORREF colour) {
    if (shown.width == 0 || shown.height == 0) return -1;
    const BYTE expected[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
    int other = 0;
    for (int y = kSampleStep / 2; y < shown.height; y += kSampleStep) {
        for (int x = kSampleStep / 2; x < shown.width; x += kSampleStep) {
            if (!Close(shown.At(x, y), expected, 2)) ++other;
        }
    }
    return other;
}

const Pixels& ShippedPicture() {
    static const Pixels picture = DecodeShippedPicture();
    return picture;
}

bool TakeQuitMessage() {
    MSG quit;
    return ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// The preview mode needs COM and the module object, with the test program's
// resources (which hold the shipped picture) as the module's.
class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        framework::Module().Init(::GetModuleHandleW(nullptr));
        ASSERT_EQ(ShippedPicture().width, 152);
    }
    void TearDown() override {
        framework::Module().Term();
        ::CoUninitialize();
    }
};

std::function<void()>* runningScript = nullptr;
bool watchdogFired = false;

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    if (runningScript) (*runningScript)();
}

void CALLBACK EndStuckLoop(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    watchdogFired = true;
    ::PostQuitMessage(0);
}

// Runs the preview mode for the parent, with the script run once inside its
// message loop. False when the loop did not end by itself within 10 s.
bool RunPreviewWithScript(HWND parent, std::function<void()> script) {
    runningScript = &script;
    watchdogFired = false;
    const UINT_PTR scriptTimer = ::SetTimer(nullptr, 0, 200, &RunScript);
    const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 10000, &EndStuckLoop);
    RunPreview(parent, ::GetModuleHandleW(nullptr));
    ::KillTimer(nullptr, scriptTimer);
    ::KillTimer(nullptr, watchdog);
    runningScript = nullptr;
    return !watchdogFired;
}

struct SizeCase {
    const char* name;
    int width;
    int height;
};

class PreviewSizes : public PreviewTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(PreviewSizes, PaneFillsTheParentWithThePictureUntilTheParentCloses) {
    PreviewParent parent(GetParam().width, GetParam().height);
    const RECT client = parent.ClientOnScreen();
    ASSERT_EQ(client.right - client.left, GetParam().width);

    HWND pane = nullptr;
    RECT paneRect = {};
    bool loopKnown = false;
    Pixels shown;
    const bool endedByItself = RunPreviewWithScript(parent.Get(), [&] {
        pane = ::GetWindow(parent.Get(), GW_CHILD);
        ::GetWindowRect(pane, &paneRect);
        loopKnown = framework::Module().GetMessageLoop() != nullptr;
        shown = CaptureWindow(pane);
        const std::string name = std::string("preview_") + GetParam().name + ".png";
        EXPECT_TRUE(test_support::SaveWindowPicture(
            parent.Get(), test_support::ScreenshotPath(std::wstring(name.begin(), name.end()))));
        parent.Destroy();
    });

    EXPECT_TRUE(endedByItself);
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(::EqualRect(&paneRect, &client));
    EXPECT_EQ(MismatchedSamples(shown, ShippedPicture()), 0);
    EXPECT_FALSE(::IsWindow(pane));
    EXPECT_TRUE(loopKnown);
    EXPECT_EQ(framework::Module().GetMessageLoop(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Parents, PreviewSizes,
                         ::testing::Values(SizeCase{"152x112", 152, 112}, SizeCase{"304x224", 304, 224}),
                         [](const ::testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

struct LoadCase {
    const char* name;
    int resourceId;
    HRESULT result;
    bool showsPicture;
};

class PreviewPicture : public PreviewTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(PreviewPicture, PaneShowsThePictureOrElseItsBackground) {
    PreviewParent parent(152, 112);
    RECT client = {};
    ::GetClientRect(parent.Get(), &client);
    CPreviewWnd pane;
    ASSERT_TRUE(pane.Create(parent.Get(), client, L"", WS_CHILD | WS_VISIBLE));
    // A picture held from before must not be drawn after a failed load.
    ASSERT_EQ(pane.LoadPicture(IDR_PREVIEW_PICTURE), S_OK);

    EXPECT_EQ(pane.LoadPicture(GetParam().resourceId), GetParam().result);
    const Pixels shown = CaptureWindow(pane);
    if (GetParam().showsPicture) {
        EXPECT_EQ(MismatchedSamples(shown, ShippedPicture()), 0);
    } else {
        EXPECT_EQ(SamplesNotOfColour(shown, ::GetSysColor(COLOR_WINDOW)), 0);
    }

    // Closing the parent ends the loop the pane runs in.
    parent.Destroy();
    EXPECT_TRUE(TakeQuitMessage());
}

INSTANTIATE_TEST_SUITE_P(
    Resources, PreviewPicture,
    ::testing::Values(LoadCase{"Shipped", IDR_PREVIEW_PICTURE, S_OK, true},
                      LoadCase{"Missing", IDR_ABSENT_PICTURE, E_FAIL, false},
                      LoadCase{"NotAPicture", IDR_NOT_A_PICTURE, E_FAIL, false},
                      LoadCase{"CutInTheScan", IDR_TRUNCATED_SCAN_PICTURE, E_FAIL, false}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST_F(PreviewTest, QuitFromElsewhereTakesThePaneAlong) {
    PreviewParent parent(152, 112);
    // As if someone posted the thread a quit message before the loop ran.
    ::PostQuitMessage(0);
    RunPreview(parent.Get(), ::GetModuleHandleW(nullptr));
    // A pane left behind would reach its freed object with its next message.
    EXPECT_EQ(::GetWindow(parent.Get(), GW_CHILD), nullptr);
    EXPECT_FALSE(TakeQuitMessage());
}

}  // namespace

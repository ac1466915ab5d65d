#include "tests/support/screenshot.h"

#include "framework/gdi.h"
#include "framework/handles.h"
#include "tests/support/temp_folder.h"

#include <wincodec.h>

#include <vector>

namespace test_support {

namespace {

bool EncodePng(const std::vector<BYTE>& pixels, UINT width, UINT height, const std::wstring& path) {
    framework::ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  factory.PutVoid()))) {
        return false;
    }
    framework::ComPtr<IWICStream> stream;
    framework::ComPtr<IWICBitmapEncoder> encoder;
    framework::ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    const UINT stride = width * 4;
    return SUCCEEDED(factory->CreateStream(stream.Put())) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put())) &&
           SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.Put(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
           SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
           format == GUID_WICPixelFormat32bppBGR &&
           SUCCEEDED(frame->WritePixels(height, stride, stride * height, const_cast<BYTE*>(pixels.data()))) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

Pixels CaptureWindow(HWND window) {
    Pixels captured;
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) return captured;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return captured;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows, as the encoder takes them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    framework::WindowDc screen(nullptr);
    framework::MemoryDc memory(screen.Get());
    void* bits = nullptr;
    framework::GdiObject bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory.Get() || !bitmap.Get()) return captured;
    framework::Selection selected(memory.Get(), bitmap.Get());
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // What the window shows on the screen, frame and controls included.
    // (Wine's PrintWindow paints the dialog's background alone.)
    HDC windowDc = ::GetWindowDC(window);
    const BOOL printed = windowDc && ::BitBlt(memory.Get(), 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    if (windowDc) ::ReleaseDC(window, windowDc);
    ::GdiFlush();
    if (printed) {
        captured.width = width;
        captured.height = height;
        captured.bgrx.assign(static_cast<const BYTE*>(bits), static_cast<const BYTE*>(bits) + width * height * 4);
    }
    return captured;
}

bool SaveWindowPicture(HWND window, const std::wstring& pngPath) {
    const Pixels captured = CaptureWindow(window);
    return captured.width > 0 &&
           EncodePng(captured.bgrx, static_cast<UINT>(captured.width), static_cast<UINT>(captured.height), pngPath);
}

std::wstring ScreenshotPath(const std::wstring& name) {
    const std::wstring folder = TestBuildFile(L"screenshots");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + name;
}

}  // namespace test_support

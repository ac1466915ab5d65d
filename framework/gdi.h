// Owning wrappers for device contexts and GDI objects, so that a drawing or
// measuring function gives back what it takes on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace framework {

// A window's device context, released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context, deleted with DeleteDC.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : dc_(::CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (dc_) ::DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// A pen, brush, font or bitmap that this code made, deleted with DeleteObject.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    ~GdiObject() {
        if (object_) ::DeleteObject(object_);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    HGDIOBJ Get() const { return object_; }

private:
    HGDIOBJ object_;
};

// An object selected into a device context for the object's lifetime; the
// one it replaced is selected again afterwards.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~Selection() {
        if (previous_) ::SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace framework

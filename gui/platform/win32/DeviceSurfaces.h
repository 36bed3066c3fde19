#pragma once
// The two surfaces that own their device context: one on a window's client area and one on
// an offscreen bitmap. The device is acquired before the drawing part is made and given
// back after it has put the device's own objects back (base-from-member: the device base is
// declared first, so it is built first and destroyed last).

#include "gui/platform/win32/DibSection.h"
#include "gui/platform/win32/GdiSurface.h"

#include <windows.h>

#include <memory>

namespace quillory::gui::win32 {

// The window's device, got with GetDC and released with ReleaseDC; null when the window is
// gone (GetDC of a null window would give the whole screen).
struct WindowDevice {
    explicit WindowDevice(HWND window);
    ~WindowDevice();
    WindowDevice(const WindowDevice&) = delete;
    WindowDevice& operator=(const WindowDevice&) = delete;

    HWND window;
    HDC device;
};

class WindowSurface final : private WindowDevice, public GdiSurface {
public:
    // Draws on `window`'s client area; draws nothing when the window is gone.
    WindowSurface(const Backend& owner, HWND window, int32_t width, int32_t height);
};

// A memory device with a DIB section of its own selected into it.
struct OffscreenDevice {
    OffscreenDevice(int32_t width, int32_t height);
    ~OffscreenDevice();
    OffscreenDevice(const OffscreenDevice&) = delete;
    OffscreenDevice& operator=(const OffscreenDevice&) = delete;

    DibSection pixels;
    HDC device = nullptr;
    HGDIOBJ previousBitmap = nullptr;
};

class OffscreenSurface final : private OffscreenDevice, public GdiSurface {
public:
    // Null when the bitmap or its device cannot be made.
    static std::unique_ptr<OffscreenSurface> create(const Backend& owner, int32_t width,
                                                    int32_t height);
    OffscreenSurface(const Backend& owner, int32_t width, int32_t height);

    bool readPixels(PixelImage& out) const override;
};

} // namespace quillory::gui::win32

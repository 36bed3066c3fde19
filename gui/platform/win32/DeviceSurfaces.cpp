#include "gui/platform/win32/DeviceSurfaces.h"

#include <algorithm>

namespace quillory::gui::win32 {

WindowDevice::WindowDevice(HWND handle)
    : window(handle), device(handle != nullptr && IsWindow(handle) ? GetDC(handle) : nullptr) {}

WindowDevice::~WindowDevice() {
    if (device != nullptr) {
        ReleaseDC(window, device);
    }
}

WindowSurface::WindowSurface(const Backend& owner, HWND handle, int32_t w, int32_t h)
    : WindowDevice(handle), GdiSurface(owner, device, w, h) {}

OffscreenDevice::OffscreenDevice(int32_t width, int32_t height)
    : pixels(createDibSection(width, height)) {
    if (pixels.bitmap != nullptr) {
        device = CreateCompatibleDC(nullptr);
    }
    if (device != nullptr) {
        previousBitmap = SelectObject(device, pixels.bitmap);
    }
}

OffscreenDevice::~OffscreenDevice() {
    if (device != nullptr) {
        SelectObject(device, previousBitmap); // a bitmap selected into a device is not deleted
        DeleteDC(device);
    }
    if (pixels.bitmap != nullptr) {
        DeleteObject(pixels.bitmap);
    }
}

std::unique_ptr<OffscreenSurface> OffscreenSurface::create(const Backend& owner, int32_t width,
                                                           int32_t height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    auto surface = std::make_unique<OffscreenSurface>(owner, width, height);
    return surface->device != nullptr ? std::move(surface) : nullptr;
}

OffscreenSurface::OffscreenSurface(const Backend& owner, int32_t w, int32_t h)
    : OffscreenDevice(w, h), GdiSurface(owner, device, w, h) {}

bool OffscreenSurface::readPixels(PixelImage& out) const {
    if (pixels.bits == nullptr) {
        return false;
    }
    GdiFlush(); // GDI may still be drawing into the bits
    out = PixelImage(width(), height());
    std::transform(pixels.bits, pixels.bits + out.pixels.size(), out.pixels.begin(),
                   [](uint32_t pixel) { return pixel & 0xFFFFFFu; });
    return true;
}

} // namespace quillory::gui::win32

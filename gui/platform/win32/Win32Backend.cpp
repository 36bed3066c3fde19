#include "gui/platform/win32/Win32Backend.h"

#include "gui/platform/win32/DeviceSurfaces.h"
#include "gui/platform/win32/GdiBitmap.h"
#include "gui/platform/win32/Win32Window.h"
#include "gui/platform/win32/WindowClass.h"

namespace quillory::gui::win32 {

std::unique_ptr<Window> Win32Backend::createWindow(void* parent, int32_t width, int32_t height,
                                                   WindowEvents& events) {
    return Win32Window::create(*this, static_cast<HWND>(parent), width, height, events);
}

std::unique_ptr<Surface> Win32Backend::createOffscreen(int32_t width, int32_t height, Window*) {
    // A DIB section copies quickly to any window, whatever the screen's format.
    return OffscreenSurface::create(*this, width, height);
}

std::unique_ptr<PlatformBitmap> Win32Backend::loadBitmap(int32_t resourceId) {
    return GdiBitmap::fromResource(*this, moduleInstance(), resourceId);
}

std::unique_ptr<PlatformBitmap> Win32Backend::createBitmap(const PixelImage& image) {
    return GdiBitmap::fromPixels(*this, image);
}

} // namespace quillory::gui::win32

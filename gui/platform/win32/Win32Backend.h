#pragma once
// The back end of the Windows DLLs: child windows of the host's window, GDI drawing with
// memory-device offscreens, skin bitmaps from the module's bitmap resources, native popup
// menus and OLE file drops.

#include "gui/platform/Backend.h"

namespace quillory::gui::win32 {

class Win32Backend final : public Backend {
public:
    // `parent` is the host's HWND.
    std::unique_ptr<Window> createWindow(void* parent, int32_t width, int32_t height,
                                         WindowEvents& events) override;
    std::unique_ptr<Surface> createOffscreen(int32_t width, int32_t height,
                                             Window* compatibleWith) override;
    std::unique_ptr<PlatformBitmap> loadBitmap(int32_t resourceId) override;
    std::unique_ptr<PlatformBitmap> createBitmap(const PixelImage& image) override;
};

} // namespace quillory::gui::win32

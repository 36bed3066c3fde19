#pragma once
// The back end of the Linux module: the editor is an X11 child window of the window the host
// passes, on our own connection to the X server, with its events pumped from the editor's
// idle. Drawing is the portable rasteriser's (the same pixels as the headless back end), text
// is cairo's with fontconfig, and the result is copied to the window. No toolkit library.
// Files cannot be dropped onto the window: the drag events never come.

#include "gui/platform/Backend.h"
#include "gui/platform/cairo/CairoTextRenderer.h"

namespace quillory::gui::x11 {

class X11Backend final : public Backend {
public:
    // `parent` is the host's X11 Window id, passed as a pointer-sized value.
    std::unique_ptr<Window> createWindow(void* parent, int32_t width, int32_t height,
                                         WindowEvents& events) override;
    std::unique_ptr<Surface> createOffscreen(int32_t width, int32_t height,
                                             Window* compatibleWith) override;
    std::unique_ptr<PlatformBitmap> loadBitmap(int32_t resourceId) override;
    std::unique_ptr<PlatformBitmap> createBitmap(const PixelImage& image) override;

    raster::TextRenderer& textRenderer() { return text; }

private:
    cairo::CairoTextRenderer text;
};

} // namespace quillory::gui::x11

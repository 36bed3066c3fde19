#pragma once
// Our pixels to and from an X drawable. On a 24-bit TrueColor screen stored in 32 bits the
// pixels go to the server as they are (XPutImage); on any other screen (16 bits, say) a raw
// copy would show garbage without an X error, so cairo converts them for the visual.

#include "gui/CRect.h"
#include "gui/platform/PixelImage.h"
#include "gui/platform/x11/X11Connection.h"

#include <X11/Xlib.h>

namespace quillory::gui::x11 {

// Copies `area` of `image` to `drawable` (a window of `size` on a screen of `format`) with
// its top-left corner at `at`. Call it under an ErrorTrap.
void putPixels(Display* display, Drawable drawable, GC gc, const ScreenFormat& format, CPoint size,
               const PixelImage& image, const CRect& area, CPoint at);

// Reads the `size` pixels of `drawable` as the screen shows them, converted to 0x00RRGGBB.
// False when they cannot be read (the window is gone or not viewable).
bool readDrawable(Display* display, Drawable drawable, const ScreenFormat& format, CPoint size,
                  PixelImage& out);

} // namespace quillory::gui::x11

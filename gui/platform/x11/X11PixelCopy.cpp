#include "gui/platform/x11/X11PixelCopy.h"

#include "gui/platform/x11/X11ErrorTrap.h"

#include <X11/Xutil.h>
#include <cairo-xlib.h>
#include <cairo.h>

#include <bit>

namespace quillory::gui::x11 {

namespace {

void putAsTheyAre(Display* display, Drawable drawable, GC gc, const ScreenFormat& format,
                  const PixelImage& image, const CRect& area, CPoint at) {
    // The image only borrows our pixels; Xlib neither writes nor frees them.
    auto* data = reinterpret_cast<char*>(const_cast<uint32_t*>(image.pixels.data()));
    XImage* wrapped = XCreateImage(display, format.visual, 24, ZPixmap, 0, data,
                                   static_cast<unsigned>(image.width),
                                   static_cast<unsigned>(image.height), 32, image.width * 4);
    if (wrapped == nullptr) {
        return;
    }
    // Our words are in this machine's byte order; Xlib converts for a server with another.
    wrapped->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    XPutImage(display, drawable, gc, wrapped, area.left, area.top, at.x, at.y,
              static_cast<unsigned>(area.width()), static_cast<unsigned>(area.height()));
    wrapped->data = nullptr;
    XDestroyImage(wrapped);
}

void putThroughCairo(Display* display, Drawable drawable, const ScreenFormat& format, CPoint size,
                     const PixelImage& image, const CRect& area, CPoint at) {
    auto* data = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(image.pixels.data()));
    cairo_surface_t* source = cairo_image_surface_create_for_data(
        data, CAIRO_FORMAT_RGB24, image.width, image.height, image.width * 4);
    cairo_surface_t* target =
        cairo_xlib_surface_create(display, drawable, format.visual, size.x, size.y);
    cairo_t* context = cairo_create(target);
    cairo_set_operator(context, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(context, source, at.x - area.left, at.y - area.top);
    cairo_rectangle(context, at.x, at.y, area.width(), area.height());
    cairo_fill(context);
    cairo_destroy(context);
    cairo_surface_flush(target);
    cairo_surface_destroy(target);
    cairo_surface_destroy(source);
}

// One channel of a visual's pixel, scaled to 8 bits.
uint32_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const unsigned long maximum = mask >> shift;
    const unsigned long value = (pixel & mask) >> shift;
    return static_cast<uint32_t>((value * 255 + maximum / 2) / maximum);
}

} // namespace

void putPixels(Display* display, Drawable drawable, GC gc, const ScreenFormat& format, CPoint size,
               const PixelImage& image, const CRect& area, CPoint at) {
    const CRect inside = intersection(area, CRect(0, 0, image.width, image.height));
    if (inside.isEmpty()) {
        return;
    }
    at.offset(inside.left - area.left, inside.top - area.top);
    if (format.takesPixelsAsTheyAre) {
        putAsTheyAre(display, drawable, gc, format, image, inside, at);
    } else {
        putThroughCairo(display, drawable, format, size, image, inside, at);
    }
}

bool readDrawable(Display* display, Drawable drawable, const ScreenFormat& format, CPoint size,
                  PixelImage& out) {
    if (size.x <= 0 || size.y <= 0) {
        return false;
    }
    ErrorTrap trap(display);
    XImage* read = XGetImage(display, drawable, 0, 0, static_cast<unsigned>(size.x),
                             static_cast<unsigned>(size.y), AllPlanes, ZPixmap);
    if (read == nullptr || !trap.succeeded()) {
        if (read != nullptr) {
            XDestroyImage(read);
        }
        return false;
    }
    out = PixelImage(size.x, size.y);
    const Visual* visual = format.visual;
    for (int32_t y = 0; y < size.y; ++y) {
        for (int32_t x = 0; x < size.x; ++x) {
            const unsigned long pixel = XGetPixel(read, x, y);
            out.at(x, y) = channel(pixel, visual->red_mask) << 16 |
                           channel(pixel, visual->green_mask) << 8 |
                           channel(pixel, visual->blue_mask);
        }
    }
    XDestroyImage(read);
    return true;
}

} // namespace quillory::gui::x11

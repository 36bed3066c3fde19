#include "gui/platform/x11/X11NativeWindow.h"

#include "gui/platform/x11/BoundingRect.h"
#include "gui/platform/x11/X11ErrorTrap.h"
#include "gui/platform/x11/X11PixelCopy.h"

#include <X11/Xatom.h>

namespace quillory::gui::x11 {

namespace {

// What an editor window hears of: exposures, presses (not releases or motion: a drag polls
// the pointer) and its own destruction.
constexpr long kEditorEvents = ExposureMask | ButtonPressMask | StructureNotifyMask;

// _XEMBED_INFO: protocol version 0, flags XEMBED_MAPPED.
constexpr long kEmbedInfo[2] = {0, 1};

} // namespace

NativeWindow::NativeWindow(std::shared_ptr<Connection> sharedConnection, ::Window window,
                           GC context, const ScreenFormat& screen, int32_t width, int32_t height)
    : connection(std::move(sharedConnection)), id(window), gc(context), format(screen),
      shown(width, height) {}

NativeWindow::~NativeWindow() {
    XFreeGC(display(), gc);
}

void NativeWindow::touch(const CRect& area) {
    unflushed = boundingRect(unflushed, intersection(area, CRect(0, 0, shown.width, shown.height)));
}

void NativeWindow::flush() {
    if (unflushed.isEmpty()) {
        return;
    }
    if (alive) {
        ErrorTrap trap(display());
        putPixels(display(), id, gc, format, size(), shown, unflushed, unflushed.topLeft());
    }
    unflushed = CRect();
}

std::shared_ptr<NativeWindow> createNativeWindow(std::shared_ptr<Connection> connection,
                                                 ::Window parent, int32_t width, int32_t height) {
    Display* display = connection->display();
    ErrorTrap trap(display);
    XWindowAttributes parentAttributes{};
    if (XGetWindowAttributes(display, parent, &parentAttributes) == 0 || !trap.succeeded()) {
        return nullptr;
    }
    const ScreenFormat format =
        connection->screenFormat(XScreenNumberOfScreen(parentAttributes.screen));

    // The screen's own visual with an explicit colormap, so that the window is made whatever
    // visual and depth the host's parent has. No background: exposed parts keep their pixels
    // until we repaint them, without a flash of grey.
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    attributes.colormap = format.colormap;
    attributes.event_mask = kEditorEvents;
    attributes.bit_gravity = NorthWestGravity;
    const ::Window window = XCreateWindow(
        display, parent, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
        format.depth, InputOutput, format.visual,
        CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask | CWBitGravity, &attributes);
    const Atom embedInfo = connection->atom("_XEMBED_INFO");
    XChangeProperty(display, window, embedInfo, embedInfo, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(kEmbedInfo), 2);
    XMapWindow(display, window);
    XGCValues values{};
    values.graphics_exposures = False;
    GC gc = XCreateGC(display, window, GCGraphicsExposures, &values);
    if (!trap.succeeded()) {
        XFreeGC(display, gc);
        XDestroyWindow(display, window);
        return nullptr;
    }
    return std::make_shared<NativeWindow>(std::move(connection), window, gc, format, width, height);
}

} // namespace quillory::gui::x11

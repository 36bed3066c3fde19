#pragma once
// The platform interface beneath the toolkit: everything the views, the frame and the draw
// contexts need of a window system. One implementation per platform (X11 for the Linux
// module, Win32 for the DLLs) and a headless one for tests, screenshots and benchmarks.
// Portable code sees only these classes; no platform type appears in them.
//
// A back end is installed once with setBackend before the toolkit makes anything, and stays
// installed as long as anything it made exists. Until then backend() answers a back end that
// makes nothing: windows fail to open, bitmaps are missing, offscreen surfaces are absent.

#include <cstdint>
#include <memory>

namespace quillory::gui {

class PlatformBitmap;
class Surface;
class Window;
class WindowEvents;
struct PixelImage;

class Backend {
public:
    virtual ~Backend() = default;

    // Creates the frame's child window inside `parent` (the window the host passed to the
    // editor: an HWND on Windows, an X11 Window id on Linux), at (0, 0) of the parent and
    // `width` by `height` pixels, visible, delivering its events to `events` (which outlives
    // the window). Null when it cannot: no parent, a parent that is not a window or is
    // already destroyed, no window system. Delivers no event before it returns.
    // User-interface thread only.
    virtual std::unique_ptr<Window> createWindow(void* parent, int32_t width, int32_t height,
                                                 WindowEvents& events) = 0;

    // An offscreen surface of `width` by `height` pixels (both > 0), its content undefined
    // until drawn, which copies quickly to surfaces of `compatibleWith` (null: to any window
    // of this back end). Null when it cannot be made. It may outlive `compatibleWith`.
    // User-interface thread only.
    virtual std::unique_ptr<Surface> createOffscreen(int32_t width, int32_t height,
                                                     Window* compatibleWith) = 0;

    // The skin bitmap with numeric resource id `resourceId` (101 ... 111), built into the
    // module; nothing is read from disk. Null when the module has no such bitmap.
    // Any thread, also several at once.
    virtual std::unique_ptr<PlatformBitmap> loadBitmap(int32_t resourceId) = 0;

    // A bitmap holding a copy of `image`; null for an empty image. Any thread.
    virtual std::unique_ptr<PlatformBitmap> createBitmap(const PixelImage& image) = 0;
};

// The back end in use. Thread-safe to read.
Backend& backend();
// Installs `installed` (not owned) as the back end; null goes back to the one that makes
// nothing.
void setBackend(Backend* installed);
// True once a back end has been installed with setBackend (and not taken back with null).
bool hasInstalledBackend();

} // namespace quillory::gui

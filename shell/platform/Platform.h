#pragma once
// The few window-system and kernel services the shell needs, implemented once per platform.
// Tests substitute their own implementation (a controllable clock, a scripted cursor).
// No platform header may be included here.

#include <cstdint>

namespace quillory::platform {

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
};

class Services {
public:
    virtual ~Services() = default;

    // Milliseconds since an arbitrary start, wrapping at 2^32.
    virtual uint32_t tickCount() = 0;
    virtual void sleepMilliseconds(uint32_t milliseconds) = 0;
    // Mouse position in screen coordinates.
    virtual ScreenPoint cursorPosition() = 0;
    // Takes one pending paint request of the calling thread off its queue and handles it.
    virtual void dispatchOnePendingPaint() = 0;
    // Per-thread set-up for drag and drop of files onto the editor window.
    virtual void oleInitialize() = 0;
    virtual void oleUninitialize() = 0;
};

// The platform's own services, implemented once per platform.
Services& systemServices();

// The services in use: the platform's own unless a test has substituted others.
Services& services();
// Substitutes `replacement` (not owned); null restores the platform's own services.
void setServices(Services* replacement);

// Handle of the loaded plug-in module, used to find the skin bitmaps and to name the
// editor's window class. Null only before the module has been loaded by a host.
void* moduleHandle();

} // namespace quillory::platform

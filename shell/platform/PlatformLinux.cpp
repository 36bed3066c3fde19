// Linux implementation of the platform services. There is no module-load hook here: the
// module finds its own handle by asking the dynamic loader which object holds its code.

#include "shell/platform/Platform.h"

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <time.h>

namespace quillory::platform {
namespace {

class LinuxServices final : public Services {
public:
    uint32_t tickCount() override {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const uint64_t milliseconds = static_cast<uint64_t>(now.tv_sec) * 1000u +
                                      static_cast<uint64_t>(now.tv_nsec) / 1000000u;
        return static_cast<uint32_t>(milliseconds);
    }

    void sleepMilliseconds(uint32_t milliseconds) override {
        timespec duration{};
        duration.tv_sec = static_cast<time_t>(milliseconds / 1000u);
        duration.tv_nsec = static_cast<long>(milliseconds % 1000u) * 1000000L;
        while (nanosleep(&duration, &duration) != 0) {
        }
    }

    // Asks the X server where the pointer is; without a display the pointer is at the
    // origin, which is what a headless host can offer.
    ScreenPoint cursorPosition() override {
        Display* display = XOpenDisplay(nullptr);
        if (display == nullptr) {
            return {};
        }
        Window root = 0;
        Window child = 0;
        int rootX = 0;
        int rootY = 0;
        int windowX = 0;
        int windowY = 0;
        unsigned int buttons = 0;
        XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX,
                      &windowY, &buttons);
        XCloseDisplay(display);
        return ScreenPoint{rootX, rootY};
    }

    // X11 delivers exposures to the window's own event handling; there is no thread
    // message queue to take a paint request from.
    void dispatchOnePendingPaint() override {}

    // Dropped files arrive through the X11 window itself; there is nothing to initialise.
    void oleInitialize() override {}
    void oleUninitialize() override {}
};

} // namespace

Services& systemServices() {
    static LinuxServices instance;
    return instance;
}

void* moduleHandle() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&moduleHandle), &info) == 0 || info.dli_fname == nullptr) {
        return nullptr;
    }
    // RTLD_NOLOAD only looks the module up; the reference it adds is dropped again at once,
    // and the handle stays valid for as long as the host keeps the module loaded.
    void* handle = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (handle != nullptr) {
        dlclose(handle);
    }
    return handle;
}

} // namespace quillory::platform

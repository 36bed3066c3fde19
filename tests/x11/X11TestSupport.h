#pragma once
// Shared by the X11 back end's tests: a host on a connection of its own whose X error handler
// must never hear of an error of ours and must be its own again after every test, and frames
// of the X11 back end in host windows.

// GoogleTest comes before Xlib, whose None and Bool macros would rename GoogleTest's own.
#include <gtest/gtest.h>

#include "X11TestHost.h"

#include "../gui/GuiTestSupport.h"

#include "gui/CFrame.h"
#include "gui/platform/x11/X11Backend.h"
#include "gui/platform/x11/X11Window.h"

#include <atomic>

namespace quillory::test {

inline gui::x11::X11Window* windowOf(const CFrame& frame) {
    return static_cast<gui::x11::X11Window*>(frame.getPlatformWindow());
}

// Idles `frame` until its window's first exposure has been painted.
inline bool waitForFirstPaint(CFrame& frame) {
    return waitUntil([&] {
        frame.idle();
        return windowOf(frame)->paintsDelivered() > 0;
    });
}

class X11Gui : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(host.display(), nullptr) << "no X server: run under scripts/with-xvfb.sh";
        gui::setBackend(&backend);
        hostErrors = 0;
        handlerBefore = XSetErrorHandler(countHostError);
    }
    void TearDown() override {
        if (host.display() == nullptr) {
            return;
        }
        EXPECT_EQ(XSetErrorHandler(handlerBefore), countHostError)
            << "the host's error handler was not given back";
        EXPECT_EQ(hostErrors.load(), 0) << "X errors reached the host's handler";
        gui::setBackend(nullptr);
    }

    // A frame of `size` in a new host window whose top-left corner is at `corner` on the
    // screen, painted once.
    CFrame* openFrame(CPoint corner, const CRect& size) {
        parent = host.makeWindow(
            CRect(corner.x, corner.y, corner.x + size.width(), corner.y + size.height()));
        auto* frame = new CFrame(size, asParent(parent), nullptr);
        EXPECT_TRUE(frame->isOpen());
        EXPECT_TRUE(waitForFirstPaint(*frame));
        return frame;
    }

    static int countHostError(Display*, XErrorEvent*) {
        ++hostErrors;
        return 0;
    }

    X11TestHost host;
    gui::x11::X11Backend backend;
    ::Window parent = 0;
    XErrorHandler handlerBefore = nullptr;
    static inline std::atomic<int> hostErrors{0};
};

} // namespace quillory::test

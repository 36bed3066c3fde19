#pragma once
// Shared by the Win32 back end's tests: host-like parent windows, the message pump a host
// runs, and access to a frame's native window.

#include "gui/CFrame.h"
#include "gui/CView.h"
#include "gui/platform/win32/Win32Backend.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quillory::test {

// A visible top-level window whose client area is `width` by `height`, at `left`, `top` of
// the screen, as a host makes for an editor.
HWND makeHostWindow(int32_t width, int32_t height, int32_t left = 40, int32_t top = 40);
// The same, hidden: for tests that destroy it, since Wine takes seconds to destroy a visible
// top-level window on a screen without a window manager.
HWND makeHiddenHostWindow(int32_t width, int32_t height);

// Handles every message waiting for this thread's windows.
void pumpMessages();

// The frame's native window; null when it has none.
HWND frameWindow(const CFrame& frame);

// True while the toolkit's window class "Plugin%p" is registered.
bool windowClassRegistered();

// Installs the Win32 back end for each test.
class Win32Gui : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    gui::win32::Win32Backend backend;
};

// Records the presses and wheel turns that reach it.
class RecordingView : public CView {
public:
    explicit RecordingView(const CRect& rect) : CView(rect) {}
    void draw(CDrawContext*) override { setDirty(false); }
    void mouse(CDrawContext*, const CPoint& where, int32_t buttons) override {
        ++presses;
        lastWhere = where;
        lastButtons = buttons;
    }
    bool onWheel(CDrawContext*, const CPoint& where, float distance) override {
        lastWhere = where;
        wheel = distance;
        return true;
    }

    int presses = 0;
    CPoint lastWhere{-1, -1};
    int32_t lastButtons = 0;
    float wheel = 0.0f;
};

} // namespace quillory::test

#pragma once
// The test's side of the X server, as a host has it: windows made on a connection of its
// own, real input sent through XTEST, and what windows show read back. One per thread.

#include "gui/CRect.h"
#include "gui/platform/PixelImage.h"

#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillory::test {

// Calls `done` until it answers true, a moment apart, for at most `limit`; its last answer.
bool waitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::milliseconds(5000));

class X11TestHost {
public:
    X11TestHost();
    ~X11TestHost();
    X11TestHost(const X11TestHost&) = delete;
    X11TestHost& operator=(const X11TestHost&) = delete;

    // Null when DISPLAY names no server.
    Display* display() const { return connection; }
    int depth() const;

    // A mapped top-level window at `where` on the screen, filled with `color`: a host's
    // editor window, or something covering the editor.
    ::Window makeWindow(const CRect& where, uint32_t color = 0x808080);
    void destroy(::Window window);
    void unmap(::Window window);
    std::vector<::Window> children(::Window window) const;
    // Mapped override-redirect windows on the root: open popup menus.
    std::vector<::Window> popups() const;
    CRect screenRect(::Window window) const;
    // What `window` shows, as 0x00RRGGBB; empty when it cannot be read.
    gui::PixelImage read(::Window window) const;

    // Real input through XTEST, at screen positions.
    void moveTo(CPoint where);
    void press(unsigned int button);
    void release(unsigned int button);
    void click(CPoint where, unsigned int button = 1);
    void key(const char* keysymName, bool down);
    void tap(const char* keysymName);
    void sync() const;

private:
    Display* connection;
};

// The host's own window id as the pointer a host passes to the editor.
inline void* asParent(::Window window) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
}

} // namespace quillory::test

#pragma once
// The window a host makes for a plug-in's editor: a top-level window of the editor's size,
// on a connection of the host's own (X11) or in the host's own thread (Windows). No
// window-system header is included here.

#include <cstdint>
#include <memory>

namespace quillory::validate {

class HostWindow {
public:
    virtual ~HostWindow() = default;

    // Skips the check (CheckSkipped) when there is no window system to show it on.
    static std::unique_ptr<HostWindow> create(int width, int height);

    // What effEditOpen gets: the window as `ptr`, and as `value` what Linux hosts pass
    // alongside it (their X connection); 0 under Windows.
    virtual void* handle() const = 0;
    virtual intptr_t displayValue() const = 0;

    // Windows the plug-in has put into this one. The plug-in may work on a connection of
    // its own whose requests land in their own time, so this waits (half a second at most)
    // until there are some when `expectSome`, or none otherwise.
    virtual int childCount(bool expectSome) = 0;
    // Handles whatever the window system has delivered to the host's side.
    virtual void pump() = 0;
};

} // namespace quillory::validate

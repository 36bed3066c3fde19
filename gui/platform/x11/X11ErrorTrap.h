#pragma once
// A scoped trap for the X errors our own requests cause. The error handler is process-wide
// and belongs to the host: a trap installs ours only while it lives, counts the errors of
// our connection, hands every other connection's errors on to the handler that was there
// before, and puts that handler back at the end. Before it ends it waits until the server has
// answered everything sent so far, so that no error of ours arrives after the host's handler
// is back.
//
// Traps nest (an inner one shares the outer one's installation). They are made on the
// thread that uses our connection; the handler itself may run on any thread.

#include <X11/Xlib.h>

namespace quillory::gui::x11 {

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Waits until the server has handled every request sent so far; true when none of ours
    // failed since the trap was set.
    bool succeeded();

private:
    void waitForServer();

    Display* display;
    unsigned long errorsAtStart;
};

} // namespace quillory::gui::x11

#pragma once
// A top-level X11 window for a plug-in's editor to open in, on an X connection of the
// host's own: the plug-in makes its editor a child of this window (effEditOpen gets the
// window id) and works through its own connection.

#include "host/PngFile.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillory::host {

class EditorWindow {
public:
    // Connects to the X display named by DISPLAY. Throws std::runtime_error when there is
    // none.
    EditorWindow();
    ~EditorWindow();

    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    // Makes and maps the window, `width` by `height` pixels and of fixed size, and waits
    // until the server has mapped it. Throws std::runtime_error when it cannot.
    void show(int width, int height, const std::string& title);
    // Resizes the window at the editor's request.
    void resize(int width, int height);

    // What effEditOpen is given: the Display* as its value, the window id as its pointer.
    void* display() const;
    void* windowId() const;

    // Handles the window's pending events; false once the user asked to close it (its
    // close button) or it was destroyed.
    bool processEvents();

    // The window's pixels as the screen shows them, the editor's child window included.
    // Empty when they cannot be read.
    RgbImage capture();

private:
    struct Connection;
    std::unique_ptr<Connection> x;
};

} // namespace quillory::host

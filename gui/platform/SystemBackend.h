#pragma once
// The window system's own back end for the plug-in module: X11 in the Linux module, Win32 in
// the DLLs. Each platform's back-end library defines systemBackend(); when it answers null
// the editor fails to open, cleanly.

namespace quillory::gui {

class Backend;

// The module's back end, alive as long as the module is loaded; null when there is none.
Backend* systemBackend();

// Installs systemBackend() with setBackend, once per process, unless a back end is already
// installed (tests install the headless one first). Any thread.
void installSystemBackend();

} // namespace quillory::gui

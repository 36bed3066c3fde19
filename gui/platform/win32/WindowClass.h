#pragma once
// The window class of every editor window of this module, named "Plugin%p" after the
// module's instance handle, so that two builds of the plug-in loaded into one host never
// share a window procedure. It is registered when the first window is made and
// unregistered when the last one goes; the count is process-wide, since several instances
// of the plug-in may have their editors open at once.

#include <windows.h>

#include <string>

namespace quillory::gui::win32 {

// The module that holds this code: the plug-in DLL, or the program that links the toolkit
// statically (a test program, where the DLL's load hook never runs).
HINSTANCE moduleInstance();

// "Plugin%p" formatted with moduleInstance().
std::string windowClassName();

// Counts one more window of the class, registering it with `procedure` for the first.
// False, with nothing counted, when the class cannot be registered.
bool acquireWindowClass(WNDPROC procedure);
// Counts one window less; the last one unregisters the class.
void releaseWindowClass();

} // namespace quillory::gui::win32

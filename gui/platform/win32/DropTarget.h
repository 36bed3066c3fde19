#pragma once
// The OLE drop target of a frame window: files dragged from another program over the window
// become the drag events of WindowEvents, with the names of the dropped files. OLE holds a
// reference to it between RegisterDragDrop and RevokeDragDrop; the window detaches it before
// it goes, so a call that OLE still makes afterwards reaches nothing.

#include "gui/platform/Window.h"

#include <ole2.h>
#include <windows.h>

namespace quillory::gui::win32 {

class DropTarget final : public IDropTarget {
public:
    // Starts with one reference, which the caller releases.
    DropTarget(HWND window, WindowEvents& events);

    // Registers the target for its window; false when OLE refuses (OLE is not initialised
    // on this thread, or the window already has a target).
    bool registerWithWindow();
    // Revokes the registration, if any, and stops delivering events.
    void detach();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL where,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL where, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL where,
                                   DWORD* effect) override;

    // The dropped files' names of `data` (its CF_HDROP list); none when it holds no files.
    static DragData filesOf(IDataObject* data);

private:
    ~DropTarget() = default;
    CPoint clientPoint(POINTL screen) const;

    LONG references = 1;
    HWND window;
    WindowEvents* events;
    bool registered = false;
    DragData dragged;
};

} // namespace quillory::gui::win32

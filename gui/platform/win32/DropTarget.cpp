#include "gui/platform/win32/DropTarget.h"

#include <shellapi.h>

#include <vector>

namespace quillory::gui::win32 {

namespace {
// The effect told to OLE. Copy, never move: a drag source that is told "moved" may delete
// the files it dragged, and the editor keeps nothing of them.
DWORD acceptedEffect(const DWORD* allowed) {
    return allowed != nullptr && (*allowed & DROPEFFECT_COPY) != 0 ? DROPEFFECT_COPY
                                                                   : DROPEFFECT_NONE;
}
} // namespace

DropTarget::DropTarget(HWND handle, WindowEvents& windowEvents)
    : window(handle), events(&windowEvents) {}

bool DropTarget::registerWithWindow() {
    registered = SUCCEEDED(RegisterDragDrop(window, this));
    return registered;
}

void DropTarget::detach() {
    if (registered) {
        RevokeDragDrop(window);
        registered = false;
    }
    events = nullptr;
}

HRESULT STDMETHODCALLTYPE DropTarget::QueryInterface(REFIID interfaceId, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DropTarget::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references));
}

ULONG STDMETHODCALLTYPE DropTarget::Release() {
    const LONG left = InterlockedDecrement(&references);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE DropTarget::DragEnter(IDataObject* data, DWORD, POINTL where,
                                                DWORD* effect) {
    dragged = filesOf(data);
    if (events != nullptr) {
        events->windowDragEnter(dragged, clientPoint(where));
    }
    if (effect != nullptr) {
        *effect = acceptedEffect(effect);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragOver(DWORD, POINTL where, DWORD* effect) {
    if (events != nullptr) {
        events->windowDragMove(dragged, clientPoint(where));
    }
    if (effect != nullptr) {
        *effect = acceptedEffect(effect);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragLeave() {
    if (events != nullptr) {
        events->windowDragLeave(dragged);
    }
    dragged.files.clear();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::Drop(IDataObject* data, DWORD, POINTL where, DWORD* effect) {
    dragged = filesOf(data);
    if (events != nullptr) {
        events->windowDrop(dragged, clientPoint(where));
    }
    dragged.files.clear();
    if (effect != nullptr) {
        *effect = acceptedEffect(effect);
    }
    return S_OK;
}

DragData DropTarget::filesOf(IDataObject* data) {
    DragData found;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (data == nullptr || FAILED(data->GetData(&format, &medium))) {
        return found;
    }
    // The file list is the global memory handle itself; DragQueryFileA locks it.
    auto* drop = static_cast<HDROP>(medium.hGlobal);
    const UINT count = drop != nullptr ? DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) : 0;
    for (UINT index = 0; index < count; ++index) {
        const UINT length = DragQueryFileA(drop, index, nullptr, 0);
        std::vector<char> name(length + 1, '\0');
        DragQueryFileA(drop, index, name.data(), length + 1);
        found.files.emplace_back(name.data());
    }
    ReleaseStgMedium(&medium);
    return found;
}

CPoint DropTarget::clientPoint(POINTL screen) const {
    POINT point{screen.x, screen.y};
    ScreenToClient(window, &point);
    return CPoint(point.x, point.y);
}

} // namespace quillory::gui::win32

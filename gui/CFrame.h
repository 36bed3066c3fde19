#pragma once
// The root of the view tree: owns the editor's child window inside the host's window,
// redraws dirty views at the editor's idle, repaints what the window system asks for and
// hands mouse, wheel, key and drop events to the views.
//
// Rules the editor relies on:
//  - Nothing is drawn before the window's first paint: idle does not update until then.
//  - idle redraws each dirty view's rectangle (background, then every view overlapping it,
//    in order) through the offscreen bitmap and copies it to the window in one step.
//  - The frame is reference counted like every view: the editor closes it with forget().
//    While the frame handles a window event or its idle, it holds a reference of its own,
//    so an editor closed from inside an event (a host called from a listener) destroys the
//    frame only when the event is over.
//  - A frame whose window could not be made (no window system, a parent that is not a live
//    window) is not open: it draws nothing and takes no events, and the editor should report
//    that the window could not be opened.
//  - idle does nothing when called again from inside itself (a host answering the idle
//    request with another idle) or while a popup menu is open.

#include "gui/CViewContainer.h"
#include "gui/GuiConstants.h"
#include "gui/platform/PopupMenu.h"
#include "gui/platform/Window.h"
#include "shell/EditorFrame.h"

#include <cstdint>
#include <memory>

namespace quillory {

class AEffGUIEditor;
class CDragContainer;

class CFrame : public CViewContainer, public EditorFrame, private gui::WindowEvents {
public:
    // Creates the frame's window inside `parentWindow` (the window the host passed to the
    // editor) unless that is null.
    CFrame(const CRect& size, void* parentWindow, AEffGUIEditor* editor);
    ~CFrame() override;

    // The window exists and has not been destroyed under the frame.
    bool isOpen() const { return open; }
    void* getParentWindow() const { return parentWindow; }
    gui::Window* getPlatformWindow() const { return window.get(); }
    AEffGUIEditor* getEditor() const override { return editor; }

    // EditorFrame: what the editor base calls.
    void idle() override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    int32_t onKeyUp(VstKeyCode& keyCode) override;
    bool onWheelAtScreenPoint(int32_t screenX, int32_t screenY, float distance) override;

    void setBackground(CBitmap* bitmap) override;
    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    void update(CDrawContext* context) override;
    void mouse(CDrawContext* context, const CPoint& where, int32_t buttons = -1) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    bool isTypeOf(const char* name) const override;

    // A view that takes all mouse events while set; false when another one is set already.
    bool setModalView(CView* view);
    CView* getModalView() const { return modalView; }
    void setFocusView(CView* view);
    CView* getFocusView() const { return focusView; }
    // Moves the focus to the next child after `from` that wants focus (the previous one
    // with `reverse`); answers whether one was found.
    bool advanceNextFocusView(CView* from, bool reverse = false);

    // A new draw context for the window; the caller releases it with forget().
    CDrawContext* createDrawContext();
    void beginEdit(int32_t index);
    void endEdit(int32_t index);
    // The editor's paced idle work, for views running a modal loop of their own.
    void doIdleStuff();
    void setCursor(CCursorType cursor);
    // Shows a popup menu through the window; the picked command number or kPopupCancelled.
    int32_t runPopup(const gui::PopupMenu& menu, CPoint screenPosition, gui::PopupButton button);
    bool isPopupOpen() const { return popupDepth > 0; }

    // Called by containers before a view leaves the tree: the frame forgets it as focus,
    // modal or drop view.
    void viewWillGo(CView* view);

private:
    // gui::WindowEvents
    void windowPaint(gui::Surface& target, const CRect& area) override;
    void windowMouseDown(CPoint where, int32_t buttons) override;
    void windowWheel(CPoint where, float distance) override;
    void windowDragEnter(const gui::DragData& data, CPoint where) override;
    void windowDragMove(const gui::DragData& data, CPoint where) override;
    void windowDragLeave(const gui::DragData& data) override;
    void windowDrop(const gui::DragData& data, CPoint where) override;
    void windowDestroyed() override;

    void endDrag();

    AEffGUIEditor* editor;
    void* parentWindow;
    CView* modalView = nullptr;
    CView* focusView = nullptr;
    bool firstDraw = true;
    bool open = false;
    bool inIdle = false;
    int32_t popupDepth = 0;
    CDragContainer* drag = nullptr;
    std::unique_ptr<gui::Window> window;
};

} // namespace quillory

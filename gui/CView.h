#pragma once
// A rectangle of the frame that draws itself, takes mouse and keyboard events and can be
// marked for redrawing.
//
// Rules subclasses and containers rely on:
//  - `size` is in the coordinates of the containing view; for views directly in the frame
//    these are frame (window client) coordinates.
//  - Containers draw their children back to front in the order they were added, and offer a
//    mouse press to the last added child first.
//  - draw() must leave the view clean (setDirty(false)); the base draw does.
//  - Everything runs on the user-interface thread, except setDirty(true) (and a control's
//    setValue), which any thread may call while the user-interface thread draws: the mark is
//    never lost, a view changed during its own drawing is drawn again at the next idle.

#include "gui/CColor.h"
#include "gui/CRect.h"
#include "gui/CReferenceCounter.h"
#include "shell/AEffect.h"

#include <atomic>
#include <cstdint>

namespace quillory {

class AEffGUIEditor;
class CBitmap;
class CDragContainer;
class CDrawContext;
class CFrame;

// Asked of a parent view through notify(); a container answers 1.
inline constexpr const char* kMsgCheckIfViewContainer = "kMsgCheckIfViewContainer";

class CView : public CReferenceCounter {
public:
    explicit CView(const CRect& size);
    ~CView() override;

    virtual void draw(CDrawContext* context);
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);
    // True when `rect` overlaps the view; rectangles that only touch count as overlapping.
    virtual bool checkUpdate(const CRect& rect) const;
    virtual void mouse(CDrawContext* context, const CPoint& where, int32_t buttons = -1);
    // Keeps a reference to `bitmap` (may be null) and releases the previous one.
    virtual void setBackground(CBitmap* bitmap);
    virtual CBitmap* getBackground() const { return background; }
    // Key events answer 1 when handled, -1 when not.
    virtual int32_t onKeyDown(VstKeyCode& keyCode);
    virtual int32_t onKeyUp(VstKeyCode& keyCode);
    virtual bool onWheel(CDrawContext* context, const CPoint& where, int32_t axis, float distance);
    virtual bool onWheel(CDrawContext* context, const CPoint& where, float distance);
    virtual bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void looseFocus(CDrawContext* context = nullptr);
    virtual void takeFocus(CDrawContext* context = nullptr);
    virtual bool isDirty() const;
    virtual void setDirty(bool state = true);
    virtual void setMouseEnabled(bool state) { mouseEnabled = state; }
    virtual bool getMouseEnabled() const { return mouseEnabled; }
    virtual void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
    virtual CRect& getMouseableArea(CRect& rect) const;
    // True when `where` lies in the mouseable area, its right and bottom edges included.
    virtual bool hitTest(const CPoint& where, int32_t buttons = -1);
    virtual void setTransparency(bool state) { transparent = state; }
    virtual bool getTransparency() const { return transparent; }
    virtual void setViewSize(const CRect& rect);
    virtual CRect& getViewSize(CRect& rect) const;
    virtual bool removed(CView* parent);
    virtual bool attached(CView* parent);
    // The cursor position in this view's coordinates.
    virtual void getMouseLocation(CDrawContext* context, CPoint& point);
    virtual CPoint& frameToLocal(CPoint& point) const;
    virtual CPoint& localToFrame(CPoint& point) const;
    virtual AEffGUIEditor* getEditor() const;
    virtual int32_t notify(CView* sender, const char* message);
    // Redraws `rect` (in this view's container's coordinates) through the container.
    virtual void redrawRect(CDrawContext* context, const CRect& rect);
    virtual bool getWantsFocus() const { return wantsFocus; }
    virtual void setWantsFocus(bool state) { wantsFocus = state; }
    virtual bool isTypeOf(const char* name) const;
    // Redraws the view now when it is dirty, and leaves it clean.
    virtual void update(CDrawContext* context);

    CFrame* getFrame() const { return parentFrame; }
    CView* getParentView() const { return parentView; }
    // Set by the container that takes the view in, cleared when it lets it go.
    void setParentFrame(CFrame* frame) { parentFrame = frame; }
    void setParentView(CView* view) { parentView = view; }

    // Counts every setDirty(true) (and every control value change) from any thread; a
    // container compares it before and after drawing the view.
    uint32_t changeCount() const { return changes.load(std::memory_order_seq_cst); }
    // Marks the view dirty again without counting a change: for a container that finds the
    // view changed, or only partly drawn, while it drew it.
    void keepDirty() { dirty.store(true, std::memory_order_seq_cst); }

protected:
    void countChange() { changes.fetch_add(1, std::memory_order_seq_cst); }

    CRect size;
    CRect mouseableArea;
    CFrame* parentFrame = nullptr;
    CView* parentView = nullptr;
    std::atomic<bool> dirty{false};
    bool mouseEnabled = true;
    bool transparent = false;
    bool wantsFocus = false;
    CBitmap* background = nullptr;

private:
    std::atomic<uint32_t> changes{0};
};

} // namespace quillory

#pragma once
// A view that holds other views in order, draws them through an offscreen bitmap and routes
// mouse, wheel and drop events to them.
//
// Contract for children and subclasses:
//  - Children's sizes are in the container's own coordinates: (0, 0) is the container's
//    top-left corner.
//  - The order of addition is the drawing order: the first added is drawn first, so a view
//    added later covers an earlier one where they overlap.
//  - A press goes to the last added child that takes mouse input and whose hitTest agrees;
//    no other child sees it.
//  - addView takes a reference; removeView and removeAll release it, and release the
//    creator's reference too when asked to forget.
//  - A child drawn only in part (its rectangle reaches beyond the area being redrawn), or
//    changed by another thread while it was drawn, stays dirty for the next idle.

#include "gui/CView.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quillory {

class COffscreenContext;

class CViewContainer : public CView {
public:
    CViewContainer(const CRect& size, CFrame* frame, CBitmap* background = nullptr);
    ~CViewContainer() override;

    virtual void addView(CView* view);
    virtual void removeView(CView* view, bool withForget = true);
    virtual void removeAll(bool withForget = true);
    virtual bool isChild(const CView* view) const;
    virtual int32_t getNbViews() const;
    virtual CView* getView(int32_t index) const;
    // The last added child that takes mouse input and covers `where` (local coordinates).
    virtual CView* getViewAt(const CPoint& where) const;

    virtual void setBackgroundColor(CColor color);
    virtual CColor getBackgroundColor() const { return backgroundColor; }
    void setDrawInOffscreen(bool state);
    bool getDrawInOffscreen() const { return drawInOffscreen; }

    void draw(CDrawContext* context) override;
    // Draws the part of `updateRect` (in the container's parent's coordinates) that the
    // container covers: background, then the overlapping children, then one copy to
    // `context`.
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    // `rect` is in this container's coordinates.
    void redrawRect(CDrawContext* context, const CRect& rect) override;
    void update(CDrawContext* context) override;
    void mouse(CDrawContext* context, const CPoint& where, int32_t buttons = -1) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    bool isDirty() const override;
    int32_t notify(CView* sender, const char* message) override;
    bool isTypeOf(const char* name) const override;
    CPoint& frameToLocal(CPoint& point) const override;
    CPoint& localToFrame(CPoint& point) const override;

protected:
    // Lets go of the offscreen bitmap; the next drawing makes a new one.
    void forgetOffscreen();
    // The container's own area in its own coordinates.
    CRect localBounds() const { return CRect(0, 0, size.width(), size.height()); }

    std::vector<CView*> children;

private:
    void drawBackground(CDrawContext* target, const CRect& localArea);
    void drawChild(CDrawContext* target, CView* child, const CRect& localArea);
    COffscreenContext* offscreenFor(CDrawContext* context);
    // Runs `action` with `context` moved into the container's coordinates.
    template <typename Action> void inLocalSpace(CDrawContext* context, Action action);

    CColor backgroundColor = kBlackCColor;
    bool drawInOffscreen = true;
    COffscreenContext* offscreen = nullptr;
    CView* dragTarget = nullptr; // the child that was last told of a drag moving over it
};

} // namespace quillory

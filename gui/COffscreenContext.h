#pragma once
// A draw context on an offscreen bitmap of the frame's window, cleared to a background colour
// when made. Containers draw their children into one and copy the result to the window in
// a single step, so the window never shows a half-drawn rectangle.

#include "gui/CDrawContext.h"

namespace quillory {

class COffscreenContext : public CDrawContext {
public:
    // `width` by `height` pixels, filled with `background`. Without a window system the
    // context has no surface (hasSurface() is false) and draws nothing.
    COffscreenContext(CFrame* frame, int32_t width, int32_t height,
                      CColor background = kBlackCColor);

    // Copies the offscreen pixels that start at `source` into `destination` (in the
    // target's coordinates, within its clip).
    void copyFrom(CDrawContext* target, const CRect& destination, const CPoint& source = {});

    bool hasSurface() const { return getSurface() != nullptr; }
    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    CColor getBackgroundColor() const { return backgroundColor; }

private:
    int32_t width;
    int32_t height;
    CColor backgroundColor;
};

} // namespace quillory

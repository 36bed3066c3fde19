#include "gui/COffscreenContext.h"

#include "gui/CFrame.h"
#include "gui/platform/Backend.h"

namespace quillory {

namespace {
std::unique_ptr<gui::Surface> makeOffscreen(CFrame* frame, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    gui::Window* window = frame != nullptr ? frame->getPlatformWindow() : nullptr;
    return gui::backend().createOffscreen(width, height, window);
}
} // namespace

COffscreenContext::COffscreenContext(CFrame* ownerFrame, int32_t w, int32_t h, CColor background)
    : CDrawContext(ownerFrame, makeOffscreen(ownerFrame, w, h)), width(w), height(h),
      backgroundColor(background) {
    // The offscreen has its own coordinates: (0, 0) is its top-left pixel, whatever the
    // frame's size; filling plus outlining covers every pixel.
    setClipRect(CRect(0, 0, width, height));
    setFillColor(background);
    fillRect(CRect(0, 0, width, height));
    setFrameColor(background);
    drawRect(CRect(0, 0, width, height));
}

void COffscreenContext::copyFrom(CDrawContext* target, const CRect& destination,
                                 const CPoint& source) {
    if (target == nullptr || getSurface() == nullptr || !target->prepareSurface() ||
        &target->getSurface()->owner() != &getSurface()->owner()) {
        return;
    }
    const CRect sourceArea(source.x, source.y, source.x + destination.width(),
                           source.y + destination.height());
    target->getSurface()->copyFrom(
        *getSurface(), sourceArea,
        CPoint(destination.left + target->offset.x, destination.top + target->offset.y));
}

} // namespace quillory

#pragma once
// A skin bitmap, loaded by numeric resource id from the data built into the module, and
// drawn by copying rectangles of it into a draw context. A bitmap that does not load has
// width and height 0 and draws nothing.

#include "gui/CColor.h"
#include "gui/CRect.h"
#include "gui/CReferenceCounter.h"

#include <cstdint>
#include <memory>

namespace quillory {

namespace gui {
class PlatformBitmap;
struct PixelImage;
} // namespace gui

class CDrawContext;

class CBitmap : public CReferenceCounter {
public:
    explicit CBitmap(int32_t resourceId);
    // A bitmap made from pixels in memory rather than from the module's resources.
    explicit CBitmap(const gui::PixelImage& image);
    ~CBitmap() override;

    // Copies the part of the bitmap that starts at `offset` opaquely into `rect`.
    virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = {});
    // The same, leaving out the pixels of the transparent colour.
    virtual void drawTransparent(CDrawContext* context, const CRect& rect,
                                 const CPoint& offset = {});
    // The same, blended over what is there with constant opacity `alpha`.
    virtual void drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset = {},
                                uint8_t alpha = 128);

    int32_t getWidth() const;
    int32_t getHeight() const;
    int32_t getResourceID() const { return resourceID; }
    bool isLoaded() const { return platformBitmap != nullptr; }
    void setTransparentColor(CColor color) { transparentColor = color; }
    CColor getTransparentColor() const { return transparentColor; }
    const gui::PlatformBitmap* getPlatformBitmap() const { return platformBitmap.get(); }

private:
    int32_t resourceID = 0;
    std::unique_ptr<gui::PlatformBitmap> platformBitmap;
    CColor transparentColor = kTransparentCColor;
};

} // namespace quillory

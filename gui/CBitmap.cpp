#include "gui/CBitmap.h"

#include "gui/CDrawContext.h"
#include "gui/platform/Backend.h"
#include "gui/platform/PlatformBitmap.h"

namespace quillory {

CBitmap::CBitmap(int32_t resourceId)
    : resourceID(resourceId), platformBitmap(gui::backend().loadBitmap(resourceId)) {}

CBitmap::CBitmap(const gui::PixelImage& image)
    : platformBitmap(gui::backend().createBitmap(image)) {}

CBitmap::~CBitmap() = default;

int32_t CBitmap::getWidth() const {
    return platformBitmap != nullptr ? platformBitmap->width() : 0;
}

int32_t CBitmap::getHeight() const {
    return platformBitmap != nullptr ? platformBitmap->height() : 0;
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    if (context != nullptr && platformBitmap != nullptr) {
        context->drawBitmap(*platformBitmap, rect, offset, CDrawContext::BitmapMode::kOpaque);
    }
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    if (context != nullptr && platformBitmap != nullptr) {
        context->drawBitmap(*platformBitmap, rect, offset, CDrawContext::BitmapMode::kTransparent,
                            transparentColor);
    }
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset,
                             uint8_t alpha) {
    if (context != nullptr && platformBitmap != nullptr) {
        context->drawBitmap(*platformBitmap, rect, offset, CDrawContext::BitmapMode::kAlpha, {},
                            alpha);
    }
}

} // namespace quillory

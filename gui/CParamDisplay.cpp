#include "gui/CParamDisplay.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"

#include <cstdio>
#include <cstring>

namespace quillory {

CParamDisplay::CParamDisplay(const CRect& rect, CBitmap* bitmap) : CControl(rect, bitmap) {}

void CParamDisplay::draw(CDrawContext* context) {
    char text[256] = {};
    if (stringConvert2 != nullptr) {
        stringConvert2(getValue(), text, userData);
    } else if (stringConvert != nullptr) {
        stringConvert(getValue(), text);
    } else {
        std::snprintf(text, sizeof text, "%2.2f", static_cast<double>(getValue()));
    }
    text[sizeof text - 1] = '\0'; // a converter that overran its buffer still ends here
    drawText(context, text);
}

bool CParamDisplay::isTypeOf(const char* name) const {
    return name != nullptr && (std::strcmp(name, "CParamDisplay") == 0 || CControl::isTypeOf(name));
}

void CParamDisplay::drawText(CDrawContext* context, const char* text, CBitmap* newBackground) {
    setDirty(false);
    if (context == nullptr || (style & kParamDisplayNoDrawing) != 0) {
        return;
    }
    drawBackground(context, newBackground);
    if ((style & (kParamDisplay3DIn | kParamDisplay3DOut)) != 0) {
        draw3DEdges(context);
    }
    if ((style & kParamDisplayNoText) != 0 || text == nullptr) {
        return;
    }
    drawLabel(context, text);
}

void CParamDisplay::drawBackground(CDrawContext* context, CBitmap* newBackground) {
    CBitmap* bitmap = newBackground != nullptr ? newBackground : background;
    if (bitmap != nullptr) {
        if (transparent) {
            bitmap->drawTransparent(context, size, backOffset);
        } else {
            bitmap->draw(context, size, backOffset);
        }
        return;
    }
    if (transparent) {
        return;
    }
    context->setFillColor(backColor);
    context->fillRect(size);
    if ((style & (kParamDisplayNoFrame | kParamDisplay3DIn | kParamDisplay3DOut)) == 0) {
        context->setFrameColor(frameColor);
        context->drawRect(size);
    }
}

// The upper-left edge in one colour and the lower-right edge in the other: light from the
// upper left for an outset display, from the lower right for an inset one.
void CParamDisplay::draw3DEdges(CDrawContext* context) {
    const bool inset = (style & kParamDisplay3DIn) != 0;
    context->setLineWidth(1);
    context->setFrameColor(inset ? backColor : frameColor);
    context->moveTo(CPoint(size.left, size.bottom - 1));
    context->lineTo(CPoint(size.left, size.top + 1));
    context->lineTo(CPoint(size.right - 1, size.top + 1));
    context->setFrameColor(inset ? frameColor : backColor);
    context->moveTo(CPoint(size.right - 1, size.top + 1));
    context->lineTo(CPoint(size.right - 1, size.bottom - 1));
    context->lineTo(CPoint(size.left, size.bottom - 1));
}

void CParamDisplay::drawLabel(CDrawContext* context, const char* text) {
    CRect previousClip;
    context->getClipRect(previousClip);
    context->setClipRect(intersection(size, previousClip));
    context->setFont(fontID, 0, txtFace);
    if ((style & kParamDisplayShadowText) != 0) {
        CRect shadowBox = size;
        shadowBox.offset(1, 1);
        context->setFontColor(shadowColor);
        context->drawString(text, shadowBox, !textTransparency, horiTxtAlign);
    }
    context->setFontColor(fontColor);
    context->setFillColor(backColor);
    context->drawString(text, size, !textTransparency, horiTxtAlign);
    context->setClipRect(previousClip);
}

void CParamDisplay::setFont(int32_t newFontID) {
    if (newFontID != fontID) {
        setDirty(true);
    }
    fontID = newFontID;
}

namespace {
// Stores `color` in `field`; answers whether any of the four bytes changed.
bool storeColor(CColor& field, CColor color) {
    const bool changed = !(field == color);
    field = color;
    return changed;
}
} // namespace

void CParamDisplay::setFontColor(CColor color) {
    if (storeColor(fontColor, color)) {
        setDirty(true);
    }
}

void CParamDisplay::setBackColor(CColor color) {
    if (storeColor(backColor, color)) {
        setDirty(true);
    }
}

void CParamDisplay::setFrameColor(CColor color) {
    if (storeColor(frameColor, color)) {
        setDirty(true);
    }
}

void CParamDisplay::setShadowColor(CColor color) {
    if (storeColor(shadowColor, color)) {
        setDirty(true);
    }
}

void CParamDisplay::setHoriAlign(CHoriTxtAlign align) {
    if (align != horiTxtAlign) {
        setDirty(true);
    }
    horiTxtAlign = align;
}

void CParamDisplay::setStringConvert(StringConvert2 convert, void* data) {
    stringConvert2 = convert;
    userData = data;
}

void CParamDisplay::setStringConvert(StringConvert convert) {
    stringConvert = convert;
}

void CParamDisplay::setString2FloatConvert(String2FloatConvert convert) {
    string2FloatConvert = convert;
}

void CParamDisplay::setStyle(int32_t newStyle) {
    if (newStyle != style) {
        style = newStyle;
        setDirty(true);
    }
}

void CParamDisplay::setTxtFace(int32_t face) {
    if (face != txtFace) {
        setDirty(true);
    }
    txtFace = face;
}

} // namespace quillory

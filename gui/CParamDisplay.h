#pragma once
// A control that shows its value as one line of text on a bitmap or a coloured background,
// with optional frame line, 3D edges and text shadow.

#include "gui/CControl.h"
#include "gui/GuiConstants.h"

namespace quillory {

// Style bits of a parameter display.
enum : int32_t {
    kParamDisplayShadowText = 0x04,
    kParamDisplay3DIn = 0x80,
    kParamDisplay3DOut = 0x100,
    kParamDisplayNoText = 0x800,
    kParamDisplayNoDrawing = 0x1000,
    kParamDisplayNoFrame = 0x4000,
};

class CParamDisplay : public CControl {
public:
    using StringConvert = void (*)(float value, char* text);
    using StringConvert2 = void (*)(float value, char* text, void* userData);
    using String2FloatConvert = void (*)(char* text, float& value);

    explicit CParamDisplay(const CRect& size, CBitmap* background = nullptr);

    // Formats the value (converters, else "%2.2f") and draws it with drawText.
    void draw(CDrawContext* context) override;
    bool isTypeOf(const char* name) const override;

    virtual void setFont(int32_t newFontID);
    virtual void setFontColor(CColor color);
    virtual void setBackColor(CColor color);
    virtual void setFrameColor(CColor color);
    virtual void setShadowColor(CColor color);
    virtual void setHoriAlign(CHoriTxtAlign align);
    virtual void setStringConvert(StringConvert2 convert, void* data);
    virtual void setStringConvert(StringConvert convert);
    virtual void setString2FloatConvert(String2FloatConvert convert);
    virtual void setStyle(int32_t newStyle);
    virtual void setTxtFace(int32_t face);
    virtual void setTextTransparency(bool state) { textTransparency = state; }

    int32_t getFont() const { return fontID; }
    CColor getFontColor() const { return fontColor; }
    CColor getBackColor() const { return backColor; }
    CColor getFrameColor() const { return frameColor; }
    CColor getShadowColor() const { return shadowColor; }
    CHoriTxtAlign getHoriAlign() const { return horiTxtAlign; }
    int32_t getStyle() const { return style; }
    int32_t getTxtFace() const { return txtFace; }
    bool getTextTransparency() const { return textTransparency; }

    // Draws background, edges and `text` (may be null: no text) in this order, marking the
    // display clean first. `newBackground`, when given, replaces the background bitmap for
    // this drawing only.
    void drawText(CDrawContext* context, const char* text, CBitmap* newBackground = nullptr);

protected:
    StringConvert stringConvert = nullptr;
    StringConvert2 stringConvert2 = nullptr;
    String2FloatConvert string2FloatConvert = nullptr;
    void* userData = nullptr;
    CHoriTxtAlign horiTxtAlign = kCenterText;
    int32_t style = 0;
    int32_t fontID = 3;
    int32_t txtFace = kFaceNormal;
    CColor fontColor = kWhiteCColor;
    CColor backColor = kBlackCColor;
    CColor frameColor = kBlackCColor;
    CColor shadowColor = kRedCColor;
    bool textTransparency = true;

private:
    void drawBackground(CDrawContext* context, CBitmap* newBackground);
    void draw3DEdges(CDrawContext* context);
    void drawLabel(CDrawContext* context, const char* text);
};

} // namespace quillory

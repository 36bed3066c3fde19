// Views, controls and parameter displays: dirty state, hit tests, value texts and styles.

#include "GuiTestSupport.h"

#include "gui/CControlListener.h"
#include "gui/COffscreenContext.h"
#include "gui/COptionMenu.h"
#include "gui/CParamDisplay.h"

#include <cmath>

namespace quillory::test {
namespace {

class Knob : public CControl {
public:
    explicit Knob(const CRect& rect) : CControl(rect) {}
    void draw(CDrawContext*) override { setDirty(false); }
};

class CountingListener : public CControlListener {
public:
    void valueChanged(CDrawContext*, CControl* control) override {
        ++changes;
        lastValue = control->getValue();
    }
    int changes = 0;
    float lastValue = -99.0f;
};

using Views = HeadlessGui;

TEST_F(Views, NewControlIsDirtyUntilMarkedCleanWhileAPlainViewStartsClean) {
    CView* plain = new CView(CRect(0, 0, 10, 10));
    EXPECT_FALSE(plain->isDirty());
    plain->forget();

    auto* knob = new Knob(CRect(0, 0, 10, 10));
    EXPECT_TRUE(knob->isDirty());
    EXPECT_EQ(knob->getOldValue(), -1.0f);
    knob->setDirty(false);
    EXPECT_FALSE(knob->isDirty());
    knob->setValue(0.25f); // no mark, but the value moved away from the old value
    EXPECT_TRUE(knob->isDirty());
    knob->setDirty(false);
    // A value of -1 would equal the usual old value -1: marking uses 0 instead.
    knob->setValue(-1.0f);
    knob->setDirty(false);
    knob->setDirty(true);
    EXPECT_EQ(knob->getOldValue(), 0.0f);
    EXPECT_TRUE(knob->isDirty());
    knob->forget();
}

TEST_F(Views, HitTestIncludesTheFarEdgesAndTouchingRectanglesNeedUpdating) {
    CView* view = new CView(CRect(10, 20, 30, 40));
    EXPECT_TRUE(view->hitTest(CPoint(30, 40)));
    EXPECT_TRUE(view->hitTest(CPoint(10, 20)));
    EXPECT_FALSE(view->hitTest(CPoint(31, 30)));
    EXPECT_FALSE(view->hitTest(CPoint(9, 30)));
    EXPECT_TRUE(view->checkUpdate(CRect(30, 40, 50, 50)));
    EXPECT_FALSE(view->checkUpdate(CRect(31, 0, 50, 50)));
    // Moving the view leaves the mouseable area where it was.
    view->setViewSize(CRect(100, 100, 110, 110));
    EXPECT_TRUE(view->hitTest(CPoint(15, 25)));
    view->forget();
}

TEST_F(Views, TypeNamesFollowTheClassTree) {
    auto* display = new CParamDisplay(CRect(0, 0, 10, 10));
    auto* menu = new COptionMenu(CRect(0, 0, 10, 10), nullptr, 0);
    CView* view = new CView(CRect(0, 0, 1, 1));
    for (const char* name : {"CView", "CControl", "CParamDisplay"}) {
        EXPECT_TRUE(display->isTypeOf(name)) << name;
        EXPECT_TRUE(menu->isTypeOf(name)) << name;
    }
    EXPECT_TRUE(menu->isTypeOf("COptionMenu"));
    EXPECT_FALSE(display->isTypeOf("COptionMenu"));
    EXPECT_TRUE(view->isTypeOf("CView"));
    EXPECT_FALSE(view->isTypeOf("CControl"));
    EXPECT_FALSE(view->isTypeOf(nullptr));
    display->forget();
    menu->forget();
    view->forget();
}

TEST_F(Views, DefaultValueReturnsOnlyForAControlClick) {
    CountingListener listener;
    auto* knob = new Knob(CRect(0, 0, 10, 10));
    knob->setListener(&listener);
    knob->setValue(0.9f);
    knob->setDefaultValue(0.3f);
    EXPECT_FALSE(knob->checkDefaultValue(nullptr, kMouseLeft));
    EXPECT_EQ(knob->getValue(), 0.9f);
    EXPECT_EQ(listener.changes, 0);
    EXPECT_TRUE(knob->checkDefaultValue(nullptr, kMouseLeft | kModifierControl));
    EXPECT_EQ(knob->getValue(), 0.3f);
    EXPECT_EQ(listener.changes, 1);
    EXPECT_EQ(listener.lastValue, 0.3f);
    knob->forget();
}

// Draws `display` alone on a grey offscreen and returns the pixels.
gui::PixelImage drawAlone(CParamDisplay* display, int32_t width, int32_t height) {
    auto* context = new COffscreenContext(nullptr, width, height, kGreyCColor);
    display->draw(context);
    gui::PixelImage out;
    context->getSurface()->readPixels(out);
    context->forget();
    return out;
}

TEST_F(Views, ParamDisplayWritesItsValueWithTwoDecimalsUnlessAConverterIsSet) {
    auto* display = new CParamDisplay(CRect(0, 0, 60, 20));
    display->setValue(0.5f);
    drawAlone(display, 60, 20);
    display->setValue(12.345f);
    drawAlone(display, 60, 20);
    display->setStringConvert([](float value, char* text) {
        std::snprintf(text, 256, "plain %d", static_cast<int>(value));
    });
    drawAlone(display, 60, 20);
    static int userData = 7;
    display->setStringConvert(
        [](float value, char* text, void* data) {
            std::snprintf(text, 256, "%d:%d", *static_cast<int*>(data), static_cast<int>(value));
        },
        &userData);
    drawAlone(display, 60, 20);
    ASSERT_EQ(backend.texts().size(), 4u);
    EXPECT_EQ(backend.texts()[0].text, "0.50");
    EXPECT_EQ(backend.texts()[1].text, "12.35");
    EXPECT_EQ(backend.texts()[2].text, "plain 12");
    EXPECT_EQ(backend.texts()[3].text, "7:12"); // the converter with user data wins
    EXPECT_FALSE(display->isDirty());
    display->forget();
}

TEST_F(Views, ParamDisplayStylesDrawFrameEdgesShadowOrNothing) {
    auto* display = new CParamDisplay(CRect(2, 2, 22, 12));
    display->setBackColor(kBlueCColor);
    display->setFrameColor(kWhiteCColor);
    display->setShadowColor(kRedCColor);
    display->setFontColor(kYellowCColor);
    display->setStringConvert([](float, char* text) { std::snprintf(text, 256, "A"); });

    // Plain: filled, then outlined over the whole border.
    gui::PixelImage image = drawAlone(display, 24, 14);
    EXPECT_EQ(image.colorAt(2, 2), kWhiteCColor);
    EXPECT_EQ(image.colorAt(21, 11), kWhiteCColor);
    EXPECT_EQ(image.colorAt(3, 3), kBlueCColor);

    // Inset 3D: no outline, so the fill leaves the top row and left column; the upper-left
    // edge (from one row down) in the back colour, the lower-right edge in the frame colour.
    display->setStyle(kParamDisplay3DIn | kParamDisplayNoText);
    image = drawAlone(display, 24, 14);
    EXPECT_EQ(image.colorAt(2, 2), kGreyCColor);
    EXPECT_EQ(image.colorAt(21, 5), kWhiteCColor);
    EXPECT_EQ(image.colorAt(10, 11), kWhiteCColor);
    EXPECT_EQ(image.colorAt(10, 3), kBlueCColor);
    EXPECT_EQ(image.colorAt(10, 6), kBlueCColor);

    // Outset 3D swaps the two colours.
    display->setStyle(kParamDisplay3DOut | kParamDisplayNoText);
    image = drawAlone(display, 24, 14);
    EXPECT_EQ(image.colorAt(2, 6), kWhiteCColor);
    EXPECT_EQ(image.colorAt(21, 5), kBlueCColor);

    // Shadow text: the text once in the shadow colour one pixel down and right, then in the
    // font colour, both clipped to the display.
    backend.texts().clear();
    display->setStyle(kParamDisplayShadowText);
    drawAlone(display, 24, 14);
    ASSERT_EQ(backend.texts().size(), 2u);
    EXPECT_EQ(backend.texts()[0].color, kRedCColor);
    EXPECT_EQ(backend.texts()[0].box, CRect(3, 3, 23, 13));
    EXPECT_EQ(backend.texts()[1].color, kYellowCColor);
    EXPECT_EQ(backend.texts()[1].clip, CRect(2, 2, 22, 12));

    // Draw-nothing style: not a pixel, but the display is clean.
    display->setStyle(kParamDisplayNoDrawing);
    image = drawAlone(display, 24, 14);
    EXPECT_TRUE(allPixelsAre(image, CRect(0, 0, 24, 14), pixel(kGreyCColor)));
    EXPECT_FALSE(display->isDirty());
    display->forget();
}

} // namespace
} // namespace quillory::test

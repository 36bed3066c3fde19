// The pixel rules on the X11 back end: the common suite, whose last test shows the reference
// scene in a real window under the virtual X server and reads it back from the server; and
// the same scene on a 16-bit screen, where the pixels reach the window through cairo.

#include "../gui/PixelRulesTest.h"
#include "../gui/ReferenceScene.h"
#include "X11TestSupport.h"

#include "gui/COffscreenContext.h"

#include <memory>
#include <vector>

namespace quillory::test {
namespace {

class X11Harness final : public BackendHarness {
public:
    ~X11Harness() override {
        for (::Window parent : parents) {
            host->destroy(parent);
        }
    }
    std::string name() const override { return "X11"; }
    gui::Backend& backend() override { return x11; }
    void* makeParentWindow(int32_t width, int32_t height) override {
        if (host == nullptr) {
            host = std::make_unique<X11TestHost>();
        }
        if (host->display() == nullptr) {
            return nullptr;
        }
        parents.push_back(host->makeWindow(CRect(20, 20, 20 + width, 20 + height)));
        return asParent(parents.back());
    }
    void showAndPaint(CFrame& frame) override { waitForFirstPaint(frame); }
    // As the screen shows it: read by the host from the server.
    bool readWindow(CFrame& frame, gui::PixelImage& out) override {
        out = host->read(windowOf(frame)->nativeId());
        return !out.isEmpty();
    }

private:
    gui::x11::X11Backend x11;
    std::unique_ptr<X11TestHost> host;
    std::vector<::Window> parents;
};

X11Harness harness;

INSTANTIATE_TEST_SUITE_P(X11, PixelRules, ::testing::Values(&harness), harnessName);

class SceneView : public CView {
public:
    SceneView() : CView(CRect(0, 0, kSceneWidth, kSceneHeight)) {}
    void draw(CDrawContext* context) override {
        drawReferenceScene(*context);
        setDirty(false);
    }
};

// Only the bits a 5-6-5 screen keeps of each channel.
gui::PixelImage sixteenBits(gui::PixelImage image) {
    for (uint32_t& pixel : image.pixels) {
        pixel &= 0xF8FCF8;
    }
    return image;
}

using X11SixteenBitScreen = X11Gui;

TEST_F(X11SixteenBitScreen, ShowsTheReferenceSceneConvertedForItsVisual) {
    if (host.depth() != 16) {
        GTEST_SKIP() << "needs a 16-bit screen: scripts/with-xvfb.sh --depth 16";
    }
    CFrame* frame = openFrame(CPoint(30, 30), CRect(0, 0, kSceneWidth, kSceneHeight));
    frame->addView(new SceneView);
    frame->idle();
    const gui::PixelImage shown = host.read(windowOf(*frame)->nativeId());
    frame->forget();

    auto* offscreen = new COffscreenContext(nullptr, kSceneWidth, kSceneHeight, kBlackCColor);
    drawReferenceScene(*offscreen);
    gui::PixelImage drawn;
    ASSERT_TRUE(offscreen->getSurface()->readPixels(drawn));
    offscreen->forget();
    host.destroy(parent);
    EXPECT_EQ(sceneDifferences(sixteenBits(shown), sixteenBits(drawn)), 0);
}

} // namespace
} // namespace quillory::test

// The pixel rules on the headless back end.

#include "PixelRulesTest.h"

#include "gui/platform/headless/HeadlessBackend.h"
#include "gui/platform/headless/HeadlessWindow.h"

namespace quillory::test {
namespace {

class HeadlessHarness final : public BackendHarness {
public:
    std::string name() const override { return "Headless"; }
    gui::Backend& backend() override { return headless; }
    void* makeParentWindow(int32_t, int32_t) override { return &parentToken; }
    void showAndPaint(CFrame& frame) override {
        CRect size;
        frame.getViewSize(size);
        headless.lastWindow()->queueExpose(size);
        frame.idle();
    }

private:
    gui::headless::HeadlessBackend headless;
    int parentToken = 0;
};

HeadlessHarness harness;

INSTANTIATE_TEST_SUITE_P(Headless, PixelRules, ::testing::Values(&harness), harnessName);

} // namespace
} // namespace quillory::test

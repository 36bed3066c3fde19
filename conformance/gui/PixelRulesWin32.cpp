// The pixel rules and the reference scene drawn through GDI.

#include "PixelRulesTest.h"
#include "Win32TestSupport.h"

namespace quillory::test {
namespace {

class Win32Harness final : public BackendHarness {
public:
    std::string name() const override { return "Win32"; }
    gui::Backend& backend() override { return win32; }
    void* makeParentWindow(int32_t width, int32_t height) override {
        return makeHostWindow(width, height);
    }
    void showAndPaint(CFrame& frame) override {
        UpdateWindow(frameWindow(frame)); // the first paint, now
        pumpMessages();
    }

private:
    gui::win32::Win32Backend win32;
};

Win32Harness harness;

INSTANTIATE_TEST_SUITE_P(Win32, PixelRules, ::testing::Values(&harness), harnessName);

} // namespace
} // namespace quillory::test

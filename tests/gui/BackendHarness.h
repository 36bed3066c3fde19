#pragma once
// What the pixel-rule tests need of a back end, so that the same tests run against every
// back end: instantiate PixelRules with a harness of your own (see PixelRulesHeadless.cpp).

#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/platform/Backend.h"
#include "gui/platform/PixelImage.h"

#include <cstdint>
#include <string>

namespace quillory::test {

class BackendHarness {
public:
    virtual ~BackendHarness() = default;
    virtual std::string name() const = 0;
    virtual gui::Backend& backend() = 0;
    // A live parent window at least `width` by `height` for a frame's window.
    virtual void* makeParentWindow(int32_t width, int32_t height) = 0;
    // Waits until `frame`'s window has been shown and painted once (its first exposure
    // delivered through the frame's idle).
    virtual void showAndPaint(CFrame& frame) = 0;
    // Reads what `frame`'s window shows now.
    virtual bool readWindow(CFrame& frame, gui::PixelImage& out) {
        CDrawContext* context = frame.createDrawContext();
        const bool read =
            context->getSurface() != nullptr && context->getSurface()->readPixels(out);
        context->forget();
        return read;
    }
};

} // namespace quillory::test

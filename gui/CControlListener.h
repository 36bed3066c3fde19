#pragma once
// Told by controls when the user changes them.

#include <cstdint>

namespace quillory {

class CControl;
class CDrawContext;

class CControlListener {
public:
    virtual ~CControlListener() = default;
    // The user changed `control`'s value; read it with getValue().
    virtual void valueChanged(CDrawContext* context, CControl* control) = 0;
    // A click with modifier keys; a non-zero answer means the listener took the click.
    virtual int32_t controlModifierClicked(CDrawContext* /*context*/, CControl* /*control*/,
                                           int32_t /*buttons*/) {
        return 0;
    }
};

} // namespace quillory

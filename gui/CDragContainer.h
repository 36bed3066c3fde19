#pragma once
// What is being dragged over, or dropped onto, the frame's window: a list of files. Made by
// the frame when a drag enters and released when it leaves or drops.

#include "gui/CReferenceCounter.h"
#include "gui/platform/Window.h"

#include <cstdint>

namespace quillory {

class CDragContainer : public CReferenceCounter {
public:
    explicit CDragContainer(const gui::DragData& dragged) : data(dragged) {}

    int32_t getCount() const { return static_cast<int32_t>(data.files.size()); }
    // The full path of file `index`, or null outside 0 ... getCount() - 1.
    const char* getFile(int32_t index) const {
        if (index < 0 || index >= getCount()) {
            return nullptr;
        }
        return data.files[static_cast<size_t>(index)].c_str();
    }

private:
    gui::DragData data;
};

} // namespace quillory

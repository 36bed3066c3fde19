#pragma once
// `quillory editor`: a plug-in's X11 editor in a window of its own, with silence running
// through the plug-in on a second thread and the editor's parameter changes printed.

#include "host/PngFile.h"

#include <string>
#include <vector>

namespace quillory::host {

// Decides when an editor has finished drawing: its picture has content (not one colour) and
// stayed the same over several idles in a row, or has content and time is up for waiting on
// an editor that keeps moving.
class DrawnEditorWatch {
public:
    // Samples a new picture, taken after idle number `idles`; true once it may be kept.
    bool settled(const RgbImage& picture, int idles);

private:
    RgbImage previous;
    int unchangedFor = 0;
};

int runEditor(const std::vector<std::string>& arguments);

} // namespace quillory::host

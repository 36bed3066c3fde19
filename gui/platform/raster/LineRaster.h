#pragma once
// The one-pixel line rule of the software rasteriser: the pixels of the line from `from`
// towards `to`, without `to` itself, one per step along the longer axis. The pixel at step t
// sits on the longer axis at t and on the shorter one at t * shorter / longer rounded to the
// nearest pixel (halves away from `from`).
//
// forEachLinePixel visits only the steps whose longer-axis coordinate lies inside `clip`
// (widened by `margin` pixels), so a line far longer than the surface costs no more than one
// across it.

#include "gui/CRect.h"

#include <cstdint>
#include <cstdlib>

namespace quillory::gui::raster {

template <typename Plot>
void forEachLinePixel(CPoint from, CPoint to, const CRect& clip, int32_t margin, Plot plot) {
    const int64_t dx = int64_t{to.x} - from.x;
    const int64_t dy = int64_t{to.y} - from.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t longer = xMajor ? std::llabs(dx) : std::llabs(dy);
    const int64_t shorter = xMajor ? std::llabs(dy) : std::llabs(dx);
    if (longer == 0) {
        return;
    }
    const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int64_t majorStart = xMajor ? from.x : from.y;
    const int64_t minorStart = xMajor ? from.y : from.x;
    const int64_t low = int64_t{xMajor ? clip.left : clip.top} - margin;
    const int64_t high = int64_t{xMajor ? clip.right : clip.bottom} - 1 + margin;

    // Steps t in [0, longer) whose major coordinate majorStart + majorStep * t is in range.
    int64_t first = majorStep > 0 ? low - majorStart : majorStart - high;
    int64_t last = majorStep > 0 ? high - majorStart : majorStart - low;
    first = first < 0 ? 0 : first;
    last = last > longer - 1 ? longer - 1 : last;
    for (int64_t t = first; t <= last; ++t) {
        const int64_t major = majorStart + majorStep * t;
        const int64_t minor = minorStart + minorStep * ((2 * t * shorter + longer) / (2 * longer));
        const int64_t x = xMajor ? major : minor;
        const int64_t y = xMajor ? minor : major;
        plot(static_cast<int32_t>(x), static_cast<int32_t>(y), t);
    }
}

} // namespace quillory::gui::raster

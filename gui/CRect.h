#pragma once
// Points and rectangles in pixels. A rectangle covers left <= x < right and
// top <= y < bottom: right and bottom are exclusive, so width = right - left.

#include <algorithm>
#include <cstdint>

namespace quillory {

struct CPoint {
    int32_t x = 0;
    int32_t y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(int32_t atX, int32_t atY) : x(atX), y(atY) {}

    constexpr CPoint& offset(int32_t dx, int32_t dy) {
        x += dx;
        y += dy;
        return *this;
    }
    friend constexpr bool operator==(const CPoint&, const CPoint&) = default;
};

struct CRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int32_t l, int32_t t, int32_t r, int32_t b)
        : left(l), top(t), right(r), bottom(b) {}

    constexpr int32_t width() const { return right - left; }
    constexpr int32_t height() const { return bottom - top; }
    // True when the rectangle covers no pixel.
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr CPoint topLeft() const { return CPoint(left, top); }

    constexpr CRect& offset(int32_t dx, int32_t dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }
    constexpr CRect& moveTo(int32_t x, int32_t y) { return offset(x - left, y - top); }

    // Shrinks the rectangle to its intersection with `other`; an empty result may have
    // right < left, which isEmpty() reports.
    constexpr CRect& bound(const CRect& other) {
        left = std::max(left, other.left);
        top = std::max(top, other.top);
        right = std::min(right, other.right);
        bottom = std::min(bottom, other.bottom);
        return *this;
    }
    // True when the point lies on a covered pixel.
    constexpr bool pointInside(const CPoint& point) const {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
    // True when every pixel of `other` is covered by this rectangle.
    constexpr bool contains(const CRect& other) const {
        return other.left >= left && other.top >= top && other.right <= right &&
               other.bottom <= bottom;
    }
    friend constexpr bool operator==(const CRect&, const CRect&) = default;
};

// The part of `a` that `b` also covers.
constexpr CRect intersection(CRect a, const CRect& b) {
    return a.bound(b);
}

} // namespace quillory

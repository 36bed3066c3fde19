#pragma once
// A bitmap in the back end's own form, made by Backend::loadBitmap or Backend::createBitmap
// and drawn by a Surface of the same back end.

#include <cstdint>

namespace quillory::gui {

class Backend;

class PlatformBitmap {
public:
    virtual ~PlatformBitmap() = default;
    PlatformBitmap(const PlatformBitmap&) = delete;
    PlatformBitmap& operator=(const PlatformBitmap&) = delete;

    // Size in pixels, both greater than 0.
    virtual int32_t width() const = 0;
    virtual int32_t height() const = 0;

    // The back end that made the bitmap; surfaces of other back ends do not draw it.
    const Backend& owner() const { return *maker; }

protected:
    explicit PlatformBitmap(const Backend& madeBy) : maker(&madeBy) {}

private:
    const Backend* maker;
};

} // namespace quillory::gui

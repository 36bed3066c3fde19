#include "gui/platform/win32/DibSection.h"

#include <algorithm>

namespace quillory::gui::win32 {

DibSection createDibSection(int32_t width, int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // negative: rows top to bottom, like PixelImage
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    DibSection section;
    section.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    section.bits = section.bitmap != nullptr ? static_cast<uint32_t*>(bits) : nullptr;
    return section;
}

bool readDevicePixels(HDC device, int32_t width, int32_t height, PixelImage& out) {
    if (device == nullptr || width <= 0 || height <= 0) {
        return false;
    }
    const DibSection copy = createDibSection(width, height);
    HDC memory = copy.bitmap != nullptr ? CreateCompatibleDC(device) : nullptr;
    bool read = false;
    if (memory != nullptr) {
        HGDIOBJ previous = SelectObject(memory, copy.bitmap);
        read = BitBlt(memory, 0, 0, width, height, device, 0, 0, SRCCOPY) != 0;
        GdiFlush(); // the bits are read directly below
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    if (read) {
        out = PixelImage(width, height);
        std::transform(copy.bits, copy.bits + out.pixels.size(), out.pixels.begin(),
                       [](uint32_t pixel) { return pixel & 0xFFFFFFu; });
    }
    if (copy.bitmap != nullptr) {
        DeleteObject(copy.bitmap);
    }
    return read;
}

} // namespace quillory::gui::win32

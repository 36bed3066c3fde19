#pragma once
// The pens, brushes and fonts of one device context. Each is made when a drawing call asks
// for a value other than the one made last, and kept until then: a run of lines in one
// colour, or of texts in one font, makes one GDI object. Fonts are kept a few at a time,
// since views alternate between two or three of them. The objects the device had at first
// are selected again before anything made here is deleted.

#include "gui/platform/Surface.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

namespace quillory::gui::win32 {

COLORREF colorRef(CColor color);

class GdiObjects {
public:
    // `device` may be null: nothing is then made or selected.
    explicit GdiObjects(HDC device);
    ~GdiObjects();
    GdiObjects(const GdiObjects&) = delete;
    GdiObjects& operator=(const GdiObjects&) = delete;

    // Selects a pen drawing `pen` into the device.
    void selectPen(const LinePen& pen);
    // A solid brush of `color` (not selected: the fill calls take it as an argument).
    HBRUSH brush(CColor color);
    // Selects the font `font` into the device.
    void selectFont(const FontDescription& font);

private:
    struct CachedFont {
        std::string face;
        int32_t height = 0;
        int32_t style = 0;
        HFONT handle = nullptr;
    };
    // At most one font per standard font of the toolkit.
    static constexpr size_t kMaxFonts = 8;

    HDC device;
    HGDIOBJ originalPen = nullptr;
    HGDIOBJ originalFont = nullptr;
    HPEN pen = nullptr;
    LinePen penValue;
    HBRUSH solidBrush = nullptr;
    COLORREF brushColor = 0;
    std::array<CachedFont, kMaxFonts> fonts{};
    size_t fontCount = 0;
    size_t nextFontToReplace = 0;
    HFONT selectedFont = nullptr;
};

} // namespace quillory::gui::win32

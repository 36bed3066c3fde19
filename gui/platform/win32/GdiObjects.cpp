#include "gui/platform/win32/GdiObjects.h"

namespace quillory::gui::win32 {

namespace {
// On and off lengths of a dashed line, in pixels, as the software rasteriser draws them.
const DWORD kDashPattern[] = {3, 3};

HPEN makePen(const LinePen& pen) {
    const COLORREF color = colorRef(pen.color);
    if (pen.style == CLineStyle::kOnOffDash) {
        LOGBRUSH brush{BS_SOLID, color, 0};
        return ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &brush, 2, kDashPattern);
    }
    return CreatePen(PS_SOLID, pen.width > 1 ? pen.width : 1, color);
}

HFONT makeFont(const FontDescription& font) {
    // A negative height asks for that character (em) height rather than the cell height.
    return CreateFontA(-font.height, 0, 0, 0, (font.style & kFaceBold) != 0 ? FW_BOLD : FW_NORMAL,
                       (font.style & kFaceItalic) != 0, (font.style & kFaceUnderline) != 0, FALSE,
                       ANSI_CHARSET, OUT_STRING_PRECIS, CLIP_STROKE_PRECIS, DEFAULT_QUALITY,
                       VARIABLE_PITCH | FF_SWISS, font.face);
}
} // namespace

COLORREF colorRef(CColor color) {
    return RGB(color.red, color.green, color.blue);
}

GdiObjects::GdiObjects(HDC dc) : device(dc) {
    if (device != nullptr) {
        originalPen = GetCurrentObject(device, OBJ_PEN);
        originalFont = GetCurrentObject(device, OBJ_FONT);
    }
}

GdiObjects::~GdiObjects() {
    if (device != nullptr) {
        SelectObject(device, originalPen);
        SelectObject(device, originalFont);
    }
    if (pen != nullptr) {
        DeleteObject(pen);
    }
    if (solidBrush != nullptr) {
        DeleteObject(solidBrush);
    }
    for (size_t index = 0; index < fontCount; ++index) {
        DeleteObject(fonts[index].handle);
    }
}

void GdiObjects::selectPen(const LinePen& wanted) {
    const bool same = pen != nullptr && wanted.color == penValue.color &&
                      wanted.width == penValue.width && wanted.style == penValue.style;
    if (same || device == nullptr) {
        return;
    }
    HPEN made = makePen(wanted);
    if (made == nullptr) {
        return;
    }
    SelectObject(device, made);
    if (pen != nullptr) {
        DeleteObject(pen);
    }
    pen = made;
    penValue = wanted;
}

HBRUSH GdiObjects::brush(CColor color) {
    const COLORREF wanted = colorRef(color);
    if (solidBrush == nullptr || wanted != brushColor) {
        HBRUSH made = CreateSolidBrush(wanted);
        if (made != nullptr) {
            if (solidBrush != nullptr) {
                DeleteObject(solidBrush);
            }
            solidBrush = made;
            brushColor = wanted;
        }
    }
    return solidBrush;
}

void GdiObjects::selectFont(const FontDescription& wanted) {
    if (device == nullptr) {
        return;
    }
    const char* face = wanted.face != nullptr ? wanted.face : "Arial";
    for (size_t index = 0; index < fontCount; ++index) {
        const CachedFont& cached = fonts[index];
        if (cached.height == wanted.height && cached.style == wanted.style && cached.face == face) {
            if (cached.handle != selectedFont) {
                SelectObject(device, cached.handle);
                selectedFont = cached.handle;
            }
            return;
        }
    }
    HFONT made = makeFont(FontDescription{face, wanted.height, wanted.style});
    if (made == nullptr) {
        return;
    }
    SelectObject(device, made); // before the font it may replace is deleted
    selectedFont = made;
    size_t slot = fontCount;
    if (fontCount == kMaxFonts) {
        slot = nextFontToReplace;
        nextFontToReplace = (nextFontToReplace + 1) % kMaxFonts;
        DeleteObject(fonts[slot].handle);
    } else {
        ++fontCount;
    }
    fonts[slot] = CachedFont{face, wanted.height, wanted.style, made};
}

} // namespace quillory::gui::win32

#include "gui/platform/x11/PopupPainter.h"

#include "gui/platform/raster/PixelSurface.h"

namespace quillory::gui::x11 {

namespace {

constexpr CColor kTextColor{0, 0, 0, 255};
constexpr CColor kGreyedTextColor{109, 109, 109, 255};
constexpr CColor kLineColor{215, 215, 215, 255};

void line(raster::PixelSurface& surface, CPoint from, CPoint to, CColor color) {
    surface.drawLine(from, to, LinePen{color, 1, CLineStyle::kSolid});
}

// A tick, two pixels thick, in the check column of `row`.
void drawCheckMark(raster::PixelSurface& surface, const CRect& row, CColor color) {
    const int32_t x = row.left + 6;
    const int32_t y = row.top + row.height() / 2;
    for (int32_t thickness = 0; thickness < 2; ++thickness) {
        line(surface, CPoint(x, y + thickness - 1), CPoint(x + 3, y + thickness + 2), color);
        line(surface, CPoint(x + 3, y + thickness + 2), CPoint(x + 10, y + thickness - 5), color);
    }
}

// A small triangle pointing right, in the arrow column of `row`.
void drawSubMenuArrow(raster::PixelSurface& surface, const CRect& row, CColor color) {
    const int32_t x = row.right - kPopupArrowColumn + 8;
    const int32_t y = row.top + row.height() / 2;
    for (int32_t step = 0; step < 4; ++step) {
        line(surface, CPoint(x + step, y - 3 + step), CPoint(x + step, y + 4 - step), color);
    }
}

void drawItem(raster::PixelSurface& surface, const PopupItem& item, const CRect& row,
              bool highlighted) {
    if (item.kind == PopupItem::Kind::kSeparator) {
        const int32_t y = row.top + row.height() / 2;
        line(surface, CPoint(row.left + 2, y), CPoint(row.right - 2, y), kLineColor);
        return;
    }
    CColor color = item.greyed ? kGreyedTextColor : kTextColor;
    if (highlighted) {
        surface.fillRect(row, kPopupHighlight);
        color = kWhiteCColor;
    }
    const CRect textBox(row.left + kPopupCheckColumn, row.top, row.right - kPopupArrowColumn,
                        row.bottom);
    surface.drawText(item.text.c_str(), textBox,
                     TextStyle{popupFont(), color, kLeftText, false, kPopupBackground});
    if (item.checked) {
        drawCheckMark(surface, row, color);
    }
    if (item.kind == PopupItem::Kind::kSubMenu) {
        drawSubMenuArrow(surface, row, color);
    }
}

} // namespace

FontDescription popupFont() {
    return FontDescription{"Arial", 12, kFaceNormal};
}

void paintPopupPane(PixelImage& image, const PopupPane& pane, const Backend& owner,
                    raster::TextRenderer& text) {
    raster::PixelSurface surface(owner, image, &text);
    const int32_t right = image.width - 1;
    const int32_t bottom = image.height - 1;
    surface.fillRect(CRect(0, 0, image.width, image.height), kPopupBackground);
    line(surface, CPoint(0, 0), CPoint(right, 0), kPopupOutline);
    line(surface, CPoint(right, 0), CPoint(right, bottom), kPopupOutline);
    line(surface, CPoint(right, bottom), CPoint(0, bottom), kPopupOutline);
    line(surface, CPoint(0, bottom), CPoint(0, 0), kPopupOutline);
    for (const int32_t x : pane.layout.dividers) {
        line(surface, CPoint(x, kPopupBorder), CPoint(x, bottom - kPopupBorder + 1), kLineColor);
    }
    for (std::size_t index = 0; index < pane.items->size(); ++index) {
        drawItem(surface, (*pane.items)[index], pane.layout.items[index],
                 static_cast<int32_t>(index) == pane.highlighted);
    }
}

} // namespace quillory::gui::x11

#include "gui/platform/cairo/CairoTextRenderer.h"

#include "gui/platform/PixelImage.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <string>

namespace quillory::gui::cairo {

namespace {

// Windows-1252 code points of bytes 0x80 ... 0x9F; the other bytes are Latin-1.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

std::string toUtf8(const char* text) {
    std::string out;
    for (const char* at = text; *at != '\0'; ++at) {
        const auto byte = static_cast<unsigned char>(*at);
        const char32_t code = byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

// Glyph rendering fixed here rather than left to the machine's fontconfig settings: grey
// antialiasing, slight hinting, metrics rounded to whole pixels as the Windows font engine
// does.
void selectFont(cairo_t* context, const FontDescription& font) {
    cairo_select_font_face(
        context, font.face != nullptr ? font.face : "Arial",
        (font.style & kFaceItalic) != 0 ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
        (font.style & kFaceBold) != 0 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(context, font.height);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(context, options);
    cairo_font_options_destroy(options);
}

void setColor(cairo_t* context, CColor color) {
    cairo_set_source_rgb(context, color.red / 255.0, color.green / 255.0, color.blue / 255.0);
}

struct TextMetrics {
    int32_t advance;
    int32_t ascent;
    int32_t lineHeight;
};

TextMetrics measure(cairo_t* context, const std::string& text) {
    cairo_font_extents_t font{};
    cairo_font_extents(context, &font);
    cairo_text_extents_t extents{};
    cairo_text_extents(context, text.c_str(), &extents);
    const auto ascent = static_cast<int32_t>(std::lround(font.ascent));
    const auto descent = static_cast<int32_t>(std::lround(font.descent));
    return TextMetrics{static_cast<int32_t>(std::lround(extents.x_advance)), ascent,
                       ascent + descent};
}

} // namespace

void CairoTextRenderer::drawText(PixelImage& image, const CRect& clip, const char* text,
                                 const CRect& box, const TextStyle& style) {
    if (text == nullptr || text[0] == '\0' || image.isEmpty() || clip.isEmpty()) {
        return;
    }
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(image.pixels.data()), CAIRO_FORMAT_RGB24, image.width,
        image.height, image.width * 4);
    cairo_t* context = cairo_create(surface);
    cairo_rectangle(context, clip.left, clip.top, clip.width(), clip.height());
    cairo_clip(context);
    selectFont(context, style.font);

    const std::string utf8 = toUtf8(text);
    const TextMetrics metrics = measure(context, utf8);
    // Glyph origins on whole pixels, the line centred as the Windows text output centres it
    // (integer halves, truncated).
    const int32_t top = box.top + (box.height() - metrics.lineHeight) / 2;
    int32_t left = box.left;
    if (style.align == kCenterText) {
        left = box.left + (box.width() - metrics.advance) / 2;
    } else if (style.align == kRightText) {
        left = box.right - metrics.advance;
    }
    if (style.opaque) {
        setColor(context, style.background);
        cairo_rectangle(context, left, top, metrics.advance, metrics.lineHeight);
        cairo_fill(context);
    }
    setColor(context, style.color);
    cairo_move_to(context, left, top + metrics.ascent);
    cairo_show_text(context, utf8.c_str());
    if ((style.font.style & kFaceUnderline) != 0) {
        cairo_rectangle(context, left, top + metrics.ascent + 1, metrics.advance, 1);
        cairo_fill(context);
    }
    cairo_destroy(context);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
}

int32_t textWidth(const char* text, const FontDescription& font) {
    if (text == nullptr) {
        return 0;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* context = cairo_create(surface);
    selectFont(context, font);
    const int32_t width = measure(context, toUtf8(text)).advance;
    cairo_destroy(context);
    cairo_surface_destroy(surface);
    return width;
}

void releaseFontCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}

} // namespace quillory::gui::cairo

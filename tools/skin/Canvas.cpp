#include "tools/skin/Canvas.h"

#include <algorithm>
#include <cmath>

namespace quillory::skin {
namespace {

// The grain's streaks change value every this many pixels along a row.
constexpr int kStreakSpacing = 12;

// A stateless 32-bit hash (a fixed-seed mixer of our own), so that a pixel's grain depends
// only on where it is and never on the order of painting.
uint32_t mix(uint32_t a, uint32_t b, uint32_t seed) {
    uint32_t h = seed ^ 0x9E3779B9u;
    for (uint32_t word : {a, b}) {
        h ^= word + 0x7F4A7C15u + (h << 6) + (h >> 2);
        h *= 0x85EBCA6Bu;
        h ^= h >> 13;
        h *= 0xC2B2AE35u;
        h ^= h >> 16;
    }
    return h;
}

// A value in [-1, 1] from a hash.
double unit(uint32_t hash) {
    return static_cast<double>(hash & 0xFFFFu) / 32767.5 - 1.0;
}

uint8_t clampByte(int value) {
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

} // namespace

Surface makeSurface(int width, int height) {
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    Context context(cairo_create(surface.get()));
    cairo_set_source_rgb(context.get(), 0, 0, 0);
    cairo_paint(context.get());
    return surface;
}

Surface cropSurface(cairo_surface_t* source, const Rect& area) {
    Surface surface = makeSurface(area.width(), area.height());
    Context context(cairo_create(surface.get()));
    cairo_set_source_surface(context.get(), source, -area.left, -area.top);
    cairo_set_operator(context.get(), CAIRO_OPERATOR_SOURCE);
    cairo_paint(context.get());
    return surface;
}

Context makeContext(cairo_surface_t* surface) {
    Context context(cairo_create(surface));
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(context.get(), options);
    cairo_font_options_destroy(options);
    cairo_set_line_width(context.get(), 1.0);
    return context;
}

void setColour(cairo_t* context, const Colour& colour) {
    cairo_set_source_rgba(context, colour.red, colour.green, colour.blue, colour.alpha);
}

void addVerticalStop(cairo_pattern_t* pattern, double offset, const Colour& colour) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, colour.red, colour.green, colour.blue,
                                      colour.alpha);
}

void fillVertical(cairo_t* context, double y0, double y1, const Colour& top, const Colour& bottom) {
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y0, 0, y1);
    addVerticalStop(pattern, 0, top);
    addVerticalStop(pattern, 1, bottom);
    cairo_set_source(context, pattern);
    cairo_fill(context);
    cairo_pattern_destroy(pattern);
}

void roundedRectangle(cairo_t* context, double left, double top, double right, double bottom,
                      double radius) {
    const double quarter = M_PI / 2;
    cairo_new_sub_path(context);
    cairo_arc(context, right - radius, top + radius, radius, -quarter, 0);
    cairo_arc(context, right - radius, bottom - radius, radius, 0, quarter);
    cairo_arc(context, left + radius, bottom - radius, radius, quarter, 2 * quarter);
    cairo_arc(context, left + radius, top + radius, radius, 2 * quarter, 3 * quarter);
    cairo_close_path(context);
}

void addGrain(cairo_surface_t* surface, const Rect& area, uint32_t seed, int strength) {
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = area.top; y < area.bottom; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = area.left; x < area.right; ++x) {
            // Streaks: a value per knot along the row, blended linearly between knots.
            const int knot = x / kStreakSpacing;
            const double along = static_cast<double>(x % kStreakSpacing) / kStreakSpacing;
            const auto knotIndex = static_cast<uint32_t>(knot);
            const auto rowIndex = static_cast<uint32_t>(y);
            const double streak = unit(mix(knotIndex, rowIndex, seed)) * (1 - along) +
                                  unit(mix(knotIndex + 1, rowIndex, seed)) * along;
            const double jitter = unit(mix(static_cast<uint32_t>(x), rowIndex, seed + 1));
            const int offset =
                static_cast<int>(std::lround((0.55 * streak + 0.45 * jitter) * strength));
            const uint32_t pixel = row[x];
            const int red = static_cast<int>((pixel >> 16) & 0xFF) + offset;
            const int green = static_cast<int>((pixel >> 8) & 0xFF) + offset;
            const int blue = static_cast<int>(pixel & 0xFF) + offset;
            row[x] = (static_cast<uint32_t>(clampByte(red)) << 16) |
                     (static_cast<uint32_t>(clampByte(green)) << 8) | clampByte(blue);
        }
    }
    cairo_surface_mark_dirty(surface);
}

} // namespace quillory::skin

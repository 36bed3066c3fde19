#include "tools/skin/Preview.h"

#include "tools/skin/EditorText.h"
#include "tools/skin/Painters.h"

#include <cstdio>
#include <string>

namespace quillory::skin {
namespace {

// The editor's value graphs: vertical one-pixel columns on a grey ground, blue at the left
// turning red at the right; a wedge that grows to the right up to the value on the Depth and
// Speed pads, a diamond marker at the value on the Mix pad.
constexpr double kWedgeBase = 0.15;
constexpr double kMarkerScale = 0.93;
constexpr double kMarkerHalfWidth = 0.035;

struct PadValue {
    Control control;
    double value;
    const char* text; // the parameter's display text; the Mix pad's holds both shares
};

struct EditorState {
    bool active;
    PadValue pads[3];
    const char* taps;
    const char* wave;
};

void fillColumn(cairo_t* context, int x, int top, int bottomInclusive, int first, int last, int i,
                int width) {
    cairo_rectangle(context, x, top, 1, bottomInclusive - top + 1);
    cairo_set_source_rgb(context, 192 / 255.0, 192 / 255.0, 192 / 255.0);
    cairo_fill(context);
    if (last < first) {
        return;
    }
    cairo_rectangle(context, x, first, 1, last - first + 1);
    cairo_set_source_rgb(context, (255 * i / width) / 255.0, 0,
                         (255 * (width - i) / width) / 255.0);
    cairo_fill(context);
}

void drawGraph(cairo_t* context, const Rect& pad, const PadValue& value) {
    const Rect graph{pad.left + 3, pad.top + kPadLabelHeight, pad.right - 4, pad.bottom - 22};
    const int width = graph.width();
    const int height = graph.height();
    const int centre = (graph.top + graph.bottom) / 2;
    const double start = value.value * kMarkerScale;
    for (int i = 0; i < width; ++i) {
        const double position = static_cast<double>(i) / width;
        int first = 0;
        int last = -1;
        if (value.control != Control::MixPad) {
            if (position <= value.value) {
                const int half =
                    static_cast<int>(height * (kWedgeBase + (1 - kWedgeBase) * position) * 0.5);
                first = centre - half;
                last = centre + half;
            }
        } else if (position >= start && position < start + 2 * kMarkerHalfWidth) {
            const double d = position < start + kMarkerHalfWidth
                                 ? position - start
                                 : start + 2 * kMarkerHalfWidth - position;
            const int half = static_cast<int>((1 - d / kMarkerHalfWidth) * 0.5 * height);
            first = graph.top + half;
            last = graph.bottom - half - 1;
        }
        fillColumn(context, graph.left + i, graph.top, graph.bottom, first, last, i, width);
    }
}

void drawPadValue(cairo_t* context, const PadValue& value) {
    drawPadText(context, value.control, value.text);
    drawGraph(context, controlRect(value.control), value);
}

const SkinBitmap& bitmapFor(Control control, bool active) {
    for (const SkinBitmap& bitmap : kBitmaps) {
        if (bitmap.control == control && bitmap.active == active) {
            return bitmap;
        }
    }
    return kBitmaps[1];
}

Surface composeEditor(cairo_surface_t* panel, const EditorState& state) {
    Surface editor = cropSurface(panel, controlRect(Control::Background));
    Context context = makeContext(editor.get());
    cairo_t* cr = context.get();
    for (Control control : {Control::TapsBar, Control::WaveBar, Control::DepthPad,
                            Control::SpeedPad, Control::MixPad}) {
        const Surface bitmap = renderBitmap(panel, bitmapFor(control, state.active));
        const Rect rect = controlRect(control);
        cairo_set_source_surface(cr, bitmap.get(), rect.left, rect.top);
        cairo_paint(cr);
    }
    drawBarText(cr, Control::TapsBar, state.taps);
    drawBarText(cr, Control::WaveBar, state.wave);
    for (const PadValue& pad : state.pads) {
        drawPadValue(cr, pad);
    }
    return editor;
}

Surface scaledUp(cairo_surface_t* source, int factor) {
    const int width = cairo_image_surface_get_width(source);
    const int height = cairo_image_surface_get_height(source);
    Surface scaled = makeSurface(width * factor, height * factor);
    Context context(cairo_create(scaled.get()));
    cairo_scale(context.get(), factor, factor);
    cairo_set_source_surface(context.get(), source, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(context.get()), CAIRO_FILTER_NEAREST);
    cairo_paint(context.get());
    return scaled;
}

bool writePng(cairo_surface_t* surface, const std::string& path) {
    if (cairo_surface_write_to_png(surface, path.c_str()) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

bool writePreviews(const std::string& folder) {
    const Surface panel = renderPanel();
    const EditorState states[] = {
        {false,
         {{Control::DepthPad, 0.62, "12.5ms"},
          {Control::SpeedPad, 0.35, "0.55Hz"},
          {Control::MixPad, 0.30, "70.0% 30.0%"}},
         "Numb. taps = 3",
         "Wave = Sine"},
        // The widest texts the editor shows, over the glowing bitmaps.
        {true,
         {{Control::DepthPad, 1.0, "500ms"},
          {Control::SpeedPad, 0.0, "0.02Hz"},
          {Control::MixPad, 0.0, "100.0% 0.0%"}},
         "Numb. taps = 4",
         "Wave = Wander"},
    };
    for (const EditorState& state : states) {
        const std::string name = folder + (state.active ? "/editor-active" : "/editor");
        const Surface editor = composeEditor(panel.get(), state);
        if (!writePng(editor.get(), name + ".png") ||
            !writePng(scaledUp(editor.get(), 3).get(), name + "-3x.png")) {
            return false;
        }
    }
    return true;
}

} // namespace quillory::skin

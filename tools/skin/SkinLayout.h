#pragma once
// Where the skin's bitmaps sit in the editor window and which of their areas the editor draws
// over. The generator paints to these figures and the skin tests check the files against
// them, so both read them from here.

#include <array>

namespace quillory::skin {

// Pixels, right and bottom exclusive.
struct Rect {
    int left;
    int top;
    int right;
    int bottom;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr Rect movedBy(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    constexpr bool contains(int x, int y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
};

constexpr int kWindowWidth = 242;
constexpr int kWindowHeight = 410;

enum class Control { Background, DepthPad, SpeedPad, MixPad, TapsBar, WaveBar };

// The colour the editor draws its text in over a control.
enum class TextColour { None, White, Black };

// Each control's rectangle in the window: its top-left corner from the editor's layout, its
// size that of its bitmaps.
constexpr Rect controlRect(Control control) {
    switch (control) {
    case Control::DepthPad:
        return {71, 70, 138, 137};
    case Control::SpeedPad:
        return {159, 70, 226, 137};
    case Control::MixPad:
        return {60, 307, 234, 373};
    case Control::TapsBar:
        return {77, 146, 210, 179};
    case Control::WaveBar:
        return {77, 186, 210, 219};
    case Control::Background:
        break;
    }
    return {0, 0, kWindowWidth, kWindowHeight};
}

constexpr bool isPad(Control control) {
    return control == Control::DepthPad || control == Control::SpeedPad ||
           control == Control::MixPad;
}

constexpr TextColour textColour(Control control) {
    switch (control) {
    case Control::MixPad:
        return TextColour::Black;
    case Control::Background:
        return TextColour::None;
    default:
        return TextColour::White;
    }
}

struct SkinBitmap {
    int id;
    Control control;
    bool active; // the glowing look shown while the control is held
    const char* role;
};

constexpr std::array<SkinBitmap, 11> kBitmaps{{
    {101, Control::DepthPad, false, "Depth pad"},
    {102, Control::Background, false, "background"},
    {103, Control::DepthPad, true, "Depth pad while dragged"},
    {104, Control::MixPad, true, "Mix pad while dragged"},
    {105, Control::SpeedPad, false, "Speed pad"},
    {106, Control::SpeedPad, true, "Speed pad while dragged"},
    {107, Control::TapsBar, false, "taps bar"},
    {108, Control::TapsBar, true, "taps bar while clicked"},
    {109, Control::WaveBar, false, "waveform bar"},
    {110, Control::WaveBar, true, "waveform bar while clicked"},
    {111, Control::MixPad, false, "Mix pad"},
}};

// Inside a pad, relative to its top-left corner. The top 22 rows carry the painted label.
constexpr int kPadLabelHeight = 22;

// The graph strip the editor paints over a pad: columns left + 3 up to right - 4 and the rows
// from 22 below the top down to 22 above the bottom, that last row included.
constexpr Rect padGraphStrip(int width, int height) {
    return {3, kPadLabelHeight, width - 4, height - 21};
}

// Where the editor's value text lands, relative to the control: the ink of the widest texts
// it draws (11 px value texts centred below a pad's strip, the Mix pad's dry share at the
// left and wet share at the right, 12 px dropdown texts centred on a bar) with two or three
// pixels to spare around it for renderers that place glyphs a pixel differently. These areas
// must stay calm and readable in every variant of the bitmap.
struct TextAreas {
    std::array<Rect, 2> areas;
    int count;
};

constexpr TextAreas textAreas(Control control) {
    switch (control) {
    case Control::DepthPad:
    case Control::SpeedPad:
        return {{{{13, 47, 54, 60}, {}}}, 1};
    case Control::MixPad:
        return {{{{6, 47, 48, 59}, {127, 47, 169, 59}}}, 2};
    case Control::TapsBar:
    case Control::WaveBar:
        return {{{{20, 9, 113, 26}, {}}}, 1};
    case Control::Background:
        break;
    }
    return {{}, 0};
}

} // namespace quillory::skin

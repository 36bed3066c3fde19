#pragma once
// The skin's colours: a dark graphite panel, light captions and one cool accent that lights
// up what the user holds.

#include "tools/skin/Canvas.h"

namespace quillory::skin::palette {

constexpr Colour kPanelTop = Colour::bytes(40, 43, 49);
constexpr Colour kPanelBottom = Colour::bytes(25, 27, 31);
constexpr Colour kHeaderTop = Colour::bytes(50, 54, 61);
constexpr Colour kHeaderBottom = Colour::bytes(38, 41, 47);
constexpr Colour kEdgeDark = Colour::bytes(10, 11, 13);
constexpr Colour kEdgeLight = Colour::bytes(255, 255, 255, 0.07);

constexpr Colour kFaceTop = Colour::bytes(62, 66, 74);
constexpr Colour kFaceBottom = Colour::bytes(44, 47, 54);
constexpr Colour kWellDark = Colour::bytes(17, 19, 22);
constexpr Colour kWellLight = Colour::bytes(212, 217, 221);
// The ground the editor paints its graphs on, so that the strip looks right before the
// editor's first draw.
constexpr Colour kGraphGround = Colour::bytes(192, 192, 192);

constexpr Colour kCaption = Colour::bytes(214, 219, 226);
constexpr Colour kCaptionDim = Colour::bytes(122, 130, 142);
constexpr Colour kHeading = Colour::bytes(236, 239, 243);
constexpr Colour kAccent = Colour::bytes(84, 186, 255);
constexpr Colour kAccentBright = Colour::bytes(170, 224, 255);

} // namespace quillory::skin::palette

#pragma once
// Numbers shared by the toolkit and its back ends: mouse-button and modifier bits, text
// alignment and face bits, line styles and cursor kinds.

#include <cstdint>

namespace quillory {

// Button and modifier bits as the frame reports them. 1 is always the primary (logical
// left) button and 4 the secondary one, whatever the system's button swap says.
enum : int32_t {
    kMouseLeft = 1,
    kMouseMiddle = 2,
    kMouseRight = 4,
    kModifierShift = 8,
    kModifierControl = 16,
    kModifierAlt = 32,
    kModifierApple = 64,
};

// Horizontal text alignment inside a rectangle.
enum CHoriTxtAlign : int32_t {
    kLeftText = 0,
    kCenterText = 1,
    kRightText = 2,
};

// Text face bits, combined with |.
enum : int32_t {
    kFaceNormal = 0,
    kFaceBold = 1,
    kFaceItalic = 2,
    kFaceUnderline = 4,
};

enum class CLineStyle : int32_t {
    kSolid,
    kOnOffDash,
};

// Standard system cursors; kCursorDefault gives the window back its normal cursor.
enum class CCursorType : int32_t {
    kCursorDefault,
    kCursorWait,
    kCursorHSize,
    kCursorVSize,
    kCursorSizeAll,
    kCursorNESWSize,
    kCursorNWSESize,
    kCursorCopy,
    kCursorNotAllowed,
    kCursorHand,
};

} // namespace quillory

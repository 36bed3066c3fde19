#pragma once
// An option menu's popup as a native Windows menu: the PopupMenu tree turned into menus of
// CreatePopupMenu/AppendMenuA and shown with TrackPopupMenu, which runs its own modal loop
// and returns when the user has picked or dismissed.

#include "gui/CRect.h"
#include "gui/platform/PopupMenu.h"

#include <windows.h>

#include <cstdint>

namespace quillory::gui::win32 {

// Shows `menu` at `screenPosition`, owned by `owner` (a window of the calling thread);
// the picked item's command number, or kPopupCancelled.
int32_t trackPopupMenu(HWND owner, const PopupMenu& menu, CPoint screenPosition,
                       PopupButton button);

} // namespace quillory::gui::win32

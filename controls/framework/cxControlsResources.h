// The pictures the control family draws itself: its cursors (2100 to 2113) and the 29 x 29
// anchor pictures of middle-button panning.
#pragma once

#include "platform/win/WinUser.h"

namespace cxControlsResources {

// A new 32 x 32 cursor of that number (2100 to 2113; null for others); the caller owns it.
HCURSOR CreateCursor(int Id);
// Gives the cursors to the screen's cursor table when a screen object exists. Idempotent.
void RegisterCursors();
// Takes back from the screen's table the cursors RegisterCursors put there.
void UnregisterCursors();
// 0 vertical, 1 horizontal, 2 both bars; 29 x 29, 32-bit. Made on first use, owned here.
HBITMAP PanningBitmap(int Kind);
void FreePanningBitmaps();

}  // namespace cxControlsResources

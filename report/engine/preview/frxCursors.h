// The library's own mouse cursors, drawn here: the hand of the hand tool (screen cursor 50) and
// the magnifier of the zoom tool (51), black outlines on white, 32 x 32.
#pragma once

#include "platform/gdi/WinTypes.h"

namespace frxCursors {

constexpr int crHand = 50, crZoom = 51;

// New cursors the caller owns (DestroyIcon, or give them to the screen's cursor list). The hand's
// hot spot is its palm's middle, the magnifier's the middle of its glass.
HCURSOR MakeHandCursor();
HCURSOR MakeZoomCursor();

}  // namespace frxCursors

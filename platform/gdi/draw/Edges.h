// Three-dimensional edges, the focus rectangle and the classic frame controls (push buttons,
// check boxes, radio buttons, scroll arrows, combo arrows, size grips, caption buttons and menu
// glyphs), drawn in the system colours.
#pragma once

#include "platform/gdi/WinTypes.h"

namespace Windows {

// Outer and inner borders of one pixel each; the top-left colour stops short of the
// bottom-left and top-right corners, which take the bottom-right colour. BF_ADJUST shrinks
// `rect` to the interior.
BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);
// A dotted frame drawn by inverting every other pixel: drawing it twice removes it.
BOOL DrawFocusRect(HDC dc, const RECT* rect);
BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state);

}  // namespace Windows

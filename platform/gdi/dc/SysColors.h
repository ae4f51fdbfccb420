// The system colours, with the classic Windows standard scheme as their start values.
#pragma once

#include "platform/gdi/WinTypes.h"

namespace Windows {

// 0 for an index outside 0..30.
COLORREF GetSysColor(int index);
// A brush the system owns (never delete it); it follows later SetSysColors. Null for a bad index.
HBRUSH GetSysColorBrush(int index);
// Changes system colours (tests and the window layer's settings); FALSE on a bad index.
BOOL SetSysColors(int count, const int* indexes, const COLORREF* colors);
// Puts the classic scheme back.
void ResetSysColors();

}  // namespace Windows

namespace GdiInternal {
// A brush handle that is really COLOR_xxx + 1 (as window classes and FillRect take them)
// answers that system colour's brush; any other handle is answered as it is.
HBRUSH ResolveBrushArg(HBRUSH brush);
}  // namespace GdiInternal

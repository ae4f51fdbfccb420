// The system's own bitmaps that programs load with a null instance (OBM_ identifiers), drawn in
// the current system colours. The window layer's LoadBitmap answers these for instance 0.
#pragma once

#include "platform/gdi/WinTypes.h"

constexpr int OBM_CHECKBOXES = 32759;

namespace SystemBitmaps {
// A new bitmap the caller owns, or null for an identifier that is not a system bitmap.
// OBM_CHECKBOXES: 13 x 13 images, four across (unchecked, checked, pushed unchecked, pushed
// checked) and three down (check box, radio button, three-state box).
HBITMAP CreateSystemBitmap(int id);
}  // namespace SystemBitmaps

// Icons: a colour image with an AND mask (or an alpha channel), drawn with DrawIcon/DrawIconEx.
// The caller owns an icon it creates and frees it with DestroyIcon.
#pragma once

#include "platform/gdi/WinTypes.h"

namespace Windows {

// Copies the bitmaps of `info`; with no colour bitmap the mask is twice the height (AND mask
// over XOR image), as monochrome icons have it.
HICON CreateIconIndirect(const ICONINFO* info);
BOOL DestroyIcon(HICON icon);
// New bitmaps the caller owns (DeleteObject): a monochrome mask and a 32-bit colour image.
BOOL GetIconInfo(HICON icon, ICONINFO* out);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
// cx, cy 0: the icon's own size (DI_DEFAULTSIZE: 32 x 32). DI_MASK, DI_IMAGE or DI_NORMAL.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flicker, UINT flags);

}  // namespace Windows

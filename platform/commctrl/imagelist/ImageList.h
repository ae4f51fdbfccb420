// Image lists: rows of same-sized images with an optional mask, drawn normal, transparent, as
// their mask, or blended with the highlight for selection and focus; and the one drag image
// that follows the mouse over a locked window.
//
// HIMAGELIST values come from a checked table and are never reused: every call on a null,
// destroyed or unknown list answers failure (-1, FALSE, null) and does nothing. Bitmaps handed
// in stay the caller's; the list keeps its own copy of their pixels.
#pragma once

#include "platform/commctrl/init/InitCommonControls.h"

struct ImageListTag;
using HIMAGELIST = ImageListTag*;

constexpr UINT ILC_MASK = 0x0001, ILC_COLOR = 0x0000, ILC_COLORDDB = 0x00FE, ILC_COLOR4 = 0x0004, ILC_COLOR8 = 0x0008,
               ILC_COLOR16 = 0x0010, ILC_COLOR24 = 0x0018, ILC_COLOR32 = 0x0020;
constexpr UINT ILD_NORMAL = 0x0000, ILD_TRANSPARENT = 0x0001, ILD_MASK = 0x0010, ILD_BLEND25 = 0x0002,
               ILD_BLEND50 = 0x0004, ILD_FOCUS = ILD_BLEND25, ILD_SELECTED = ILD_BLEND50, ILD_BLEND = ILD_BLEND50;

namespace Windows {

// A list of images `cx` by `cy`; ILC_MASK gives it a mask. Null for a size <= 0.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
// Adds the images side by side in `image` (its width / cx of them; a narrower bitmap is one
// image). With a mask list, `mask` (monochrome: white is transparent) gives each pixel's
// transparency; null leaves every pixel opaque. Answers the first new index, -1 on failure.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// Adds with every pixel of colour `maskColor` transparent (in a list with a mask).
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor);
// Replaces image `index` (its first image only).
BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask);
// Removes image `index`; -1 removes all. Later images move down by one.
BOOL ImageList_Remove(HIMAGELIST list, int index);
inline BOOL ImageList_RemoveAll(HIMAGELIST list) { return ImageList_Remove(list, -1); }
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Changes the size and removes every image.
BOOL ImageList_SetIconSize(HIMAGELIST list, int cx, int cy);
// The colour transparent pixels are filled with by ILD_NORMAL; CLR_NONE (the default) leaves
// them transparent. Answers the previous colour (CLR_NONE on failure).
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST list);

// Draws image `index` at (x, y). ILD_NORMAL fills the transparent pixels with the background
// colour unless it is CLR_NONE; ILD_TRANSPARENT always leaves them; ILD_MASK draws the mask
// (black opaque, white transparent); ILD_SELECTED / ILD_FOCUS blend the opaque pixels half /
// a quarter with the highlight colour.
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
// As ImageList_Draw, clipped to dx by dy (0: the image's size), with `back` in place of the
// list's background colour (CLR_DEFAULT: the list's) and `fore` the blend colour
// (CLR_DEFAULT: the highlight).
BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int dx, int dy, COLORREF back, COLORREF fore,
                      UINT style);

// ---- Dragging ------------------------------------------------------------------------------------
// One drag at a time. BeginDrag copies image `index` with its hot spot; DragEnter locks a
// window and shows the image with its hot spot at (x, y) in window coordinates (from the
// window's top-left corner, frame included); DragMove moves it, restoring what it covered;
// DragShowNolock hides or shows it (hide it before the locked window paints); DragLeave hides
// it and unlocks; EndDrag ends the drag.
BOOL ImageList_BeginDrag(HIMAGELIST list, int index, int dxHotspot, int dyHotspot);
BOOL ImageList_DragEnter(HWND lock, int x, int y);
BOOL ImageList_DragMove(int x, int y);
BOOL ImageList_DragShowNolock(BOOL show);
BOOL ImageList_DragLeave(HWND lock);
void ImageList_EndDrag();
// The drag's own list (owned by the drag; null when no drag), its position and hot spot.
HIMAGELIST ImageList_GetDragImage(POINT* position, POINT* hotspot);

}  // namespace Windows

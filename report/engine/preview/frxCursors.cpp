#include "report/engine/preview/frxCursors.h"

#include <functional>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/image/Icons.h"

namespace frxCursors {

namespace {

constexpr int kSize = 32;

// Draws a shape twice: on the mask (black where the cursor shows, white where it is clear) and
// on the picture (white inside, black outlines), then makes the cursor of the two.
HCURSOR MakeCursor(int HotX, int HotY, const std::function<void(HDC, bool Mask)>& Shape)
{
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HBITMAP mask = Windows::CreateCompatibleBitmap(nullptr, kSize, kSize);
  HBITMAP color = Windows::CreateCompatibleBitmap(nullptr, kSize, kSize);
  RECT all{0, 0, kSize, kSize};
  for (HBITMAP bmp : {mask, color}) {
    bool isMask = bmp == mask;
    HGDIOBJ old = Windows::SelectObject(dc, bmp);
    HBRUSH back = Windows::CreateSolidBrush(isMask ? RGB(255, 255, 255) : RGB(0, 0, 0));
    Windows::FillRect(dc, &all, back);
    Windows::DeleteObject(back);
    HPEN pen = Windows::CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HBRUSH fill = Windows::CreateSolidBrush(isMask ? RGB(0, 0, 0) : RGB(255, 255, 255));
    HGDIOBJ oldPen = Windows::SelectObject(dc, pen), oldBrush = Windows::SelectObject(dc, fill);
    Shape(dc, isMask);
    Windows::SelectObject(dc, oldPen);
    Windows::SelectObject(dc, oldBrush);
    Windows::DeleteObject(pen);
    Windows::DeleteObject(fill);
    Windows::SelectObject(dc, old);
  }
  Windows::DeleteDC(dc);
  ICONINFO info{};
  info.fIcon = FALSE;
  info.xHotspot = DWORD(HotX);
  info.yHotspot = DWORD(HotY);
  info.hbmMask = mask;
  info.hbmColor = color;
  HICON cursor = Windows::CreateIconIndirect(&info);
  Windows::DeleteObject(mask);
  Windows::DeleteObject(color);
  return cursor;
}

}  // namespace

HCURSOR MakeHandCursor()
{
  return MakeCursor(13, 14, [](HDC DC, bool) {
    // Four fingers, the thumb, then the palm over their roots.
    for (int i = 0; i < 4; ++i) Windows::RoundRect(DC, 7 + i * 4, 3 + (i == 0 || i == 3 ? 2 : 0), 12 + i * 4, 17, 4, 4);
    POINT thumb[] = {{4, 13}, {6, 12}, {9, 15}, {9, 20}, {7, 20}, {3, 15}};
    Windows::Polygon(DC, thumb, 6);
    Windows::RoundRect(DC, 7, 12, 24, 25, 6, 6);
    // The finger lines on the palm's top.
    for (int i = 1; i < 4; ++i) {
      Windows::MoveToEx(DC, 7 + i * 4, 12, nullptr);
      Windows::LineTo(DC, 7 + i * 4, 15);
    }
  });
}

HCURSOR MakeZoomCursor()
{
  return MakeCursor(9, 9, [](HDC DC, bool) {
    // The handle first, thick, then the glass over its end.
    HPEN thick = Windows::CreatePen(PS_SOLID, 4, RGB(0, 0, 0));
    HGDIOBJ old = Windows::SelectObject(DC, thick);
    Windows::MoveToEx(DC, 15, 15, nullptr);
    Windows::LineTo(DC, 23, 23);
    Windows::SelectObject(DC, old);
    Windows::DeleteObject(thick);
    Windows::Ellipse(DC, 1, 1, 18, 18);
    // The plus of zooming in.
    Windows::MoveToEx(DC, 6, 9, nullptr);
    Windows::LineTo(DC, 13, 9);
    Windows::MoveToEx(DC, 9, 6, nullptr);
    Windows::LineTo(DC, 9, 13);
  });
}

}  // namespace frxCursors

#include "platform/gdi/tests/GdiTestUtil.h"

#include <algorithm>

#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"

using namespace Windows;

TTestCanvas::TTestCanvas(int w, int h, COLORREF fill) : W(w), H(h)
{
  DC = CreateCompatibleDC(nullptr);
  Bmp = CreateCompatibleBitmap(nullptr, w, h);
  Old = SelectObject(DC, Bmp);
  HBRUSH b = CreateSolidBrush(fill);
  RECT r{0, 0, w, h};
  FillRect(DC, &r, b);
  DeleteObject(b);
}

TTestCanvas::~TTestCanvas()
{
  SelectObject(DC, Old);
  DeleteObject(Bmp);
  DeleteDC(DC);
}

COLORREF TTestCanvas::At(int x, int y) const
{
  // Read through a fresh DC state: the test's own clip or mapping must not hide pixels.
  SaveDC(DC);
  SelectClipRgn(DC, nullptr);
  SetMapMode(DC, MM_TEXT);
  SetWindowOrgEx(DC, 0, 0, nullptr);
  SetViewportOrgEx(DC, 0, 0, nullptr);
  COLORREF c = GetPixel(DC, x, y);
  RestoreDC(DC, -1);
  return c;
}

int TTestCanvas::CountNot(COLORREF bg) const
{
  int n = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) n += At(x, y) != bg;
  return n;
}

RECT TTestCanvas::BoundsNot(COLORREF bg) const
{
  RECT r{W, H, 0, 0};
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (At(x, y) != bg) {
        r.left = std::min<LONG>(r.left, x);
        r.top = std::min<LONG>(r.top, y);
        r.right = std::max<LONG>(r.right, x + 1);
        r.bottom = std::max<LONG>(r.bottom, y + 1);
      }
  return r;
}

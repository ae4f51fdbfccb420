#include "controls/framework/tests/PaintFixture.h"

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"

using namespace Windows;

TPaintFixture::TPaintFixture(int AW, int AH, COLORREF Fill) : W(AW), H(AH)
{
  DC = CreateCompatibleDC(nullptr);
  Bmp = CreateCompatibleBitmap(nullptr, W, H);
  Old = SelectObject(DC, Bmp);
  Clear(Fill);
  Surface = std::make_unique<TCanvas>();
  Surface->SetHandle(DC);
  Canvas = std::make_unique<TcxCanvas>(Surface.get());
}

TPaintFixture::~TPaintFixture()
{
  Canvas.reset();
  Surface.reset();
  SelectObject(DC, Old);
  DeleteObject(Bmp);
  DeleteDC(DC);
}

void TPaintFixture::Clear(COLORREF Fill)
{
  HBRUSH b = CreateSolidBrush(Fill);
  RECT r{0, 0, W, H};
  SaveDC(DC);
  SelectClipRgn(DC, nullptr);
  FillRect(DC, &r, b);
  RestoreDC(DC, -1);
  DeleteObject(b);
}

COLORREF TPaintFixture::At(int X, int Y) const
{
  SaveDC(DC);
  SelectClipRgn(DC, nullptr);
  COLORREF c = GetPixel(DC, X, Y);
  RestoreDC(DC, -1);
  return c;
}

RECT TPaintFixture::BoundsNot(COLORREF Bg) const
{
  RECT r{W, H, 0, 0};
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (At(x, y) != Bg) {
        r.left = std::min<LONG>(r.left, x);
        r.top = std::min<LONG>(r.top, y);
        r.right = std::max<LONG>(r.right, x + 1);
        r.bottom = std::max<LONG>(r.bottom, y + 1);
      }
  return r.right == 0 ? RECT{} : r;
}

COLORREF Sys(TColor Color) { return Graphics::ColorToRGB(Color); }

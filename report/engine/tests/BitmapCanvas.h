// A memory DC on a 32-bit bitmap filled with one colour, and questions about its pixels.
#pragma once

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0),
                   kBlue = RGB(0, 0, 255);

struct TTestCanvas {
  HDC DC;
  HBITMAP Bmp;
  HGDIOBJ Old;
  int W, H;
  TTestCanvas(int w, int h, COLORREF fill = RGB(255, 255, 255)) : W(w), H(h)
  {
    DC = Windows::CreateCompatibleDC(nullptr);
    Bmp = Windows::CreateBitmap(w, h, 1, 32, nullptr);
    Old = Windows::SelectObject(DC, Bmp);
    HBRUSH b = Windows::CreateSolidBrush(fill);
    RECT r{0, 0, w, h};
    Windows::FillRect(DC, &r, b);
    Windows::DeleteObject(b);
  }
  ~TTestCanvas()
  {
    Windows::SelectObject(DC, Old);
    Windows::DeleteObject(Bmp);
    Windows::DeleteDC(DC);
  }
  TTestCanvas(const TTestCanvas&) = delete;
  TTestCanvas& operator=(const TTestCanvas&) = delete;
  COLORREF At(int x, int y) const { return Windows::GetPixel(DC, x, y); }
  // The bounds of the pixels of r that are not Background ({0,0,0,0} when there are none).
  RECT Ink(RECT r, COLORREF Background = RGB(255, 255, 255)) const
  {
    RECT out{r.right, r.bottom, r.left, r.top};
    bool any = false;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (At(x, y) != Background) {
          any = true;
          out.left = std::min<LONG>(out.left, x);
          out.top = std::min<LONG>(out.top, y);
          out.right = std::max<LONG>(out.right, x + 1);
          out.bottom = std::max<LONG>(out.bottom, y + 1);
        }
    return any ? out : RECT{0, 0, 0, 0};
  }
  // Pixels of r close to Color (each channel within 60).
  int Count(RECT r, COLORREF Color) const
  {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        COLORREF c = At(x, y);
        if (std::abs(int(c & 0xFF) - int(Color & 0xFF)) < 60 &&
            std::abs(int((c >> 8) & 0xFF) - int((Color >> 8) & 0xFF)) < 60 &&
            std::abs(int((c >> 16) & 0xFF) - int((Color >> 16) & 0xFF)) < 60)
          ++n;
      }
    return n;
  }
};

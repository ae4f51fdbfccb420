// A memory DC on a 32-bit bitmap filled with one colour, and questions about its pixels: the
// colour at a point, how many pixels differ from the background or lie near a colour, and the
// bounds of the ink. Pixels are read in device coordinates, whatever clip or mapping the test
// has left on the DC.
#pragma once

#include "platform/gdi/WinTypes.h"

// Colours the drawing tests paint and check with.
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0),
                   kBlue = RGB(0, 0, 255);

class TPixelCanvas {
public:
  TPixelCanvas(int AW, int AH, COLORREF AFill = RGB(255, 255, 255));
  ~TPixelCanvas();
  TPixelCanvas(const TPixelCanvas&) = delete;
  TPixelCanvas& operator=(const TPixelCanvas&) = delete;

  // Fills the whole bitmap, past any clip the test has set.
  void Clear(COLORREF AFill = RGB(255, 255, 255));
  COLORREF At(int X, int Y) const;
  // Pixels of the whole bitmap that differ from Bg.
  int CountNot(COLORREF Bg) const;
  // The bounds of the pixels that differ from Bg; {0, 0, 0, 0} when there are none.
  RECT BoundsNot(COLORREF Bg) const { return Ink(RECT{0, 0, W, H}, Bg); }
  // The bounds of the pixels of R that differ from Bg; {0, 0, 0, 0} when there are none.
  RECT Ink(RECT R, COLORREF Bg = RGB(255, 255, 255)) const;
  // Pixels of R whose every channel is within Tolerance of Color.
  int Count(RECT R, COLORREF Color, int Tolerance = 60) const;

  HDC DC = nullptr;
  HBITMAP Bmp = nullptr;
  HGDIOBJ Old = nullptr;
  int W, H;
};

// A TcxCanvas over a white 32-bit memory bitmap, with pixel access for the checks.
#pragma once

#include <memory>

#include "controls/framework/cxGraphics.h"

struct TPaintFixture {
  TPaintFixture(int W, int H, COLORREF Fill = 0xFFFFFF);
  ~TPaintFixture();
  TPaintFixture(const TPaintFixture&) = delete;
  TPaintFixture& operator=(const TPaintFixture&) = delete;
  COLORREF At(int X, int Y) const;
  // The bounding box of the pixels that differ from Bg (empty when none).
  RECT BoundsNot(COLORREF Bg) const;
  void Clear(COLORREF Fill = 0xFFFFFF);
  HDC DC = nullptr;
  HBITMAP Bmp = nullptr;
  void* Old = nullptr;
  int W, H;
  std::unique_ptr<TCanvas> Surface;  // over DC
  std::unique_ptr<TcxCanvas> Canvas;
};

COLORREF Sys(TColor Color);

// A TcxCanvas over a white 32-bit memory bitmap, with the pixel questions of the shared canvas.
#pragma once

#include <memory>

#include "controls/framework/cxGraphics.h"
#include "platform/testsupport/PixelCanvas.h"

struct TPaintFixture : TPixelCanvas {
  TPaintFixture(int W, int H, COLORREF Fill = 0xFFFFFF);
  ~TPaintFixture();
  std::unique_ptr<TCanvas> Surface;  // over DC
  std::unique_ptr<TcxCanvas> Canvas;
};

COLORREF Sys(TColor Color);

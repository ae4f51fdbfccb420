// Small helpers for the drawing tests: a memory DC with a 32-bit bitmap of a given size.
#pragma once

#include "platform/gdi/WinTypes.h"

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0);

struct TTestCanvas {
  HDC DC = nullptr;
  HBITMAP Bmp = nullptr;
  void* Old = nullptr;
  int W = 0, H = 0;
  TTestCanvas(int w, int h, COLORREF fill = RGB(255, 255, 255));
  ~TTestCanvas();
  TTestCanvas(const TTestCanvas&) = delete;
  TTestCanvas& operator=(const TTestCanvas&) = delete;
  COLORREF At(int x, int y) const;
  // Pixels that differ from `bg` and their bounding box.
  int CountNot(COLORREF bg) const;
  RECT BoundsNot(COLORREF bg) const;
};

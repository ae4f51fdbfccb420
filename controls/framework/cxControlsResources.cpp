#include "controls/framework/cxControlsResources.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <vector>

#include "controls/framework/cxControls.h"
#include "platform/forms/app/Screen.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/image/Icons.h"

namespace cxControlsResources {

namespace {

// A small paint box: shapes go in black, then every transparent pixel next to a black one turns
// white, which gives the outline that keeps a cursor visible on any background.
enum TInk : std::uint8_t { inkNone, inkBlack, inkWhite };

class TSketch {
public:
  explicit TSketch(int Size) : FSize(Size), FPixels(Size * Size, inkNone) {}
  int Size() const { return FSize; }
  TInk At(int X, int Y) const { return Inside(X, Y) ? FPixels[Y * FSize + X] : inkNone; }
  void Dot(int X, int Y, TInk Ink = inkBlack)
  {
    if (Inside(X, Y)) FPixels[Y * FSize + X] = Ink;
  }
  void Fill(int L, int T, int R, int B, TInk Ink = inkBlack)
  {
    for (int y = T; y < B; ++y)
      for (int x = L; x < R; ++x) Dot(x, y, Ink);
  }
  void Frame(int L, int T, int R, int B)
  {
    Fill(L, T, R, T + 1);
    Fill(L, B - 1, R, B);
    Fill(L, T, L + 1, B);
    Fill(R - 1, T, R, B);
  }
  // A solid triangle of height H with its tip at (X, Y), pointing in a direction code.
  void Arrow(int X, int Y, int Direction, int H)
  {
    for (int i = 0; i < H; ++i)
      for (int j = -i; j <= i; ++j) {
        switch (Direction) {
          case dirUp: Dot(X + j, Y + i); break;
          case dirDown: Dot(X + j, Y - i); break;
          case dirLeft: Dot(X + i, Y + j); break;
          case dirRight: Dot(X - i, Y + j); break;
        }
      }
  }
  void Disc(int CX, int CY, int R)
  {
    for (int y = -R; y <= R; ++y)
      for (int x = -R; x <= R; ++x)
        if (x * x + y * y <= R * R + R / 2) Dot(CX + x, CY + y);
  }
  void Line(int X0, int Y0, int X1, int Y1, int Width = 1)
  {
    int n = std::max(std::abs(X1 - X0), std::abs(Y1 - Y0));
    for (int i = 0; i <= n; ++i) {
      int x = X0 + (n ? (X1 - X0) * i / n : 0), y = Y0 + (n ? (Y1 - Y0) * i / n : 0);
      Fill(x, y, x + Width, y + Width);
    }
  }
  void Outline()
  {
    std::vector<TInk> copy = FPixels;
    for (int y = 0; y < FSize; ++y)
      for (int x = 0; x < FSize; ++x) {
        if (copy[y * FSize + x] != inkNone) continue;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx)
            if (Inside(x + dx, y + dy) && copy[(y + dy) * FSize + x + dx] == inkBlack)
              FPixels[y * FSize + x] = inkWhite;
      }
  }

private:
  bool Inside(int X, int Y) const { return X >= 0 && Y >= 0 && X < FSize && Y < FSize; }
  int FSize;
  std::vector<TInk> FPixels;
};

// The arrow pointer the drag cursors start from, tip at (0, 0).
void PointerArrow(TSketch& S)
{
  for (int y = 0; y < 12; ++y) S.Fill(0, y, y / 1 + 1 > 8 ? 8 : y + 1, y + 1);
  S.Fill(3, 12, 5, 17);
  S.Fill(4, 11, 6, 14);
}

// The box a drag carries, under the pointer.
void DragBox(TSketch& S, int L, int T)
{
  for (int x = L; x < L + 10; x += 2) {
    S.Dot(x, T);
    S.Dot(x, T + 8);
  }
  for (int y = T; y < T + 9; y += 2) {
    S.Dot(L, y);
    S.Dot(L + 10, y);
  }
}

void ScrollMarks(TSketch& S, bool Vertical, bool Horizontal)
{
  const int c = 15;
  S.Disc(c, c, 2);
  if (Vertical) {
    S.Arrow(c, c - 11, dirUp, 6);
    S.Arrow(c, c + 11, dirDown, 6);
  }
  if (Horizontal) {
    S.Arrow(c - 11, c, dirLeft, 6);
    S.Arrow(c + 11, c, dirRight, 6);
  }
}

TSketch CursorSketch(int Id, POINT& HotSpot)
{
  TSketch s(32);
  HotSpot = POINT{0, 0};
  switch (Id) {
    case crcxDragCopy:
      PointerArrow(s);
      DragBox(s, 8, 18);
      s.Fill(20, 22, 27, 23);
      s.Fill(23, 19, 24, 26);
      break;
    case crcxDrag:
      PointerArrow(s);
      DragBox(s, 8, 18);
      break;
    case crcxMultiDrag:
      PointerArrow(s);
      DragBox(s, 8, 18);
      DragBox(s, 11, 21);
      break;
    case crcxNoDrop:
      PointerArrow(s);
      for (int a = 0; a < 360; a += 3) {
        double r = a * 3.14159265 / 180;
        s.Fill(int(20 + 6 * std::cos(r)), int(23 + 6 * std::sin(r)), int(20 + 6 * std::cos(r)) + 2,
               int(23 + 6 * std::sin(r)) + 2);
      }
      s.Line(16, 19, 24, 27, 2);
      break;
    case crcxRemove:
      PointerArrow(s);
      s.Line(14, 18, 24, 28, 2);
      s.Line(24, 18, 14, 28, 2);
      break;
    case crcxFullScroll:
      ScrollMarks(s, true, true);
      HotSpot = POINT{15, 15};
      break;
    case crcxHorScroll:
      ScrollMarks(s, false, true);
      HotSpot = POINT{15, 15};
      break;
    case crcxVerScroll:
      ScrollMarks(s, true, false);
      HotSpot = POINT{15, 15};
      break;
    case crcxUpScroll:
    case crcxRightScroll:
    case crcxDownScroll:
    case crcxLeftScroll: {
      static const int directions[] = {dirUp, dirRight, dirDown, dirLeft};
      int d = directions[Id - crcxUpScroll];
      s.Disc(15, 15, 2);
      int tipX = 15 + (d == dirRight ? 12 : d == dirLeft ? -12 : 0);
      int tipY = 15 + (d == dirDown ? 12 : d == dirUp ? -12 : 0);
      s.Arrow(tipX, tipY, d, 8);
      HotSpot = POINT{15, 15};
      break;
    }
    case crcxVertSize:
      s.Fill(6, 14, 26, 16);
      s.Fill(15, 6, 17, 24);
      s.Arrow(15, 3, dirUp, 5);
      s.Arrow(15, 27, dirDown, 5);
      s.Dot(16, 3);
      s.Dot(16, 27);
      HotSpot = POINT{15, 15};
      break;
    case crcxHorzSize:
      s.Fill(14, 6, 16, 26);
      s.Fill(6, 15, 24, 17);
      s.Arrow(3, 15, dirLeft, 5);
      s.Arrow(27, 15, dirRight, 5);
      s.Dot(3, 16);
      s.Dot(27, 16);
      HotSpot = POINT{15, 15};
      break;
    default: break;
  }
  s.Outline();
  return s;
}

std::array<HBITMAP, 3> PanningBitmaps{};
std::vector<std::pair<int, HCURSOR>> GivenCursors;

}  // namespace

HCURSOR CreateCursor(int Id)
{
  if (Id < crcxDragCopy || Id > crcxDrag) return nullptr;
  POINT hot;
  TSketch s = CursorSketch(Id, hot);
  const int n = s.Size();
  std::vector<std::uint8_t> mask(n * n / 8, 0);
  std::vector<std::uint32_t> colour(n * n, 0);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      TInk ink = s.At(x, y);
      if (ink == inkNone) mask[y * (n / 8) + x / 8] |= std::uint8_t(0x80 >> (x % 8));
      colour[y * n + x] = ink == inkWhite ? 0x00FFFFFF : 0;
    }
  ICONINFO info;
  info.fIcon = FALSE;
  info.xHotspot = DWORD(hot.x);
  info.yHotspot = DWORD(hot.y);
  info.hbmMask = Windows::CreateBitmap(n, n, 1, 1, mask.data());
  info.hbmColor = Windows::CreateBitmap(n, n, 1, 32, colour.data());
  HCURSOR cursor = Windows::CreateIconIndirect(&info);
  Windows::DeleteObject(info.hbmMask);
  Windows::DeleteObject(info.hbmColor);
  return cursor;
}

void RegisterCursors()
{
  if (!Forms::Screen || !GivenCursors.empty()) return;
  for (int id = crcxDragCopy; id <= crcxDrag; ++id) {
    HCURSOR c = CreateCursor(id);
    Forms::Screen->SetCursors(id, c);
    GivenCursors.emplace_back(id, c);
  }
}

void UnregisterCursors()
{
  if (Forms::Screen)
    for (auto [id, c] : GivenCursors)
      if (Forms::Screen->GetCursors(id) == c) Forms::Screen->SetCursors(id, nullptr);
  GivenCursors.clear();
  FreePanningBitmaps();
}

HBITMAP PanningBitmap(int Kind)
{
  if (Kind < 0 || Kind > 2) return nullptr;
  if (PanningBitmaps[Kind]) return PanningBitmaps[Kind];
  const int n = 29;
  TSketch s(n);
  const int c = 14;
  s.Disc(c, c, 2);
  if (Kind != 1) {
    s.Arrow(c, 3, dirUp, 5);
    s.Arrow(c, 25, dirDown, 5);
  }
  if (Kind != 0) {
    s.Arrow(3, c, dirLeft, 5);
    s.Arrow(25, c, dirRight, 5);
  }
  std::vector<std::uint32_t> pixels(n * n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) pixels[y * n + x] = s.At(x, y) == inkBlack ? 0x00000000 : 0x00FFFFFF;
  PanningBitmaps[Kind] = Windows::CreateBitmap(n, n, 1, 32, pixels.data());
  return PanningBitmaps[Kind];
}

void FreePanningBitmaps()
{
  for (HBITMAP& b : PanningBitmaps) {
    if (b) Windows::DeleteObject(b);
    b = nullptr;
  }
}

}  // namespace cxControlsResources

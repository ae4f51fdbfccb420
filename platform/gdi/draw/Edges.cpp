#include "platform/gdi/draw/Edges.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gdi/dc/Raster.h"
#include "platform/gdi/dc/SysColors.h"

namespace Windows {

using namespace GdiInternal;

namespace {

std::uint32_t Sys(int index) { return ToPixel(GetSysColor(index)); }

void Fill(TDCObj* dc, const RECT& r, std::uint32_t color)
{
  if (r.right > r.left && r.bottom > r.top)
    PaintShapeColor(dc, TRegionData::FromRect(r.left, r.top, r.right, r.bottom), color, R2_COPYPEN);
}

void Fill(TDCObj* dc, const TRegionData& r, std::uint32_t color) { PaintShapeColor(dc, r, color, R2_COPYPEN); }

// One-pixel border on the sides in `flags`, device coordinates.
void TwoColorFrame(TDCObj* dc, const RECT& r, std::uint32_t tl, std::uint32_t br, UINT flags)
{
  if (r.right <= r.left || r.bottom <= r.top) return;
  if (flags & BF_LEFT) Fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, tl);
  if (flags & BF_TOP) Fill(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, tl);
  if (flags & BF_RIGHT) Fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, br);
  if (flags & BF_BOTTOM) Fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, br);
}

RECT Deflate(RECT r, UINT flags, int n = 1)
{
  if (flags & BF_LEFT) r.left += n;
  if (flags & BF_TOP) r.top += n;
  if (flags & BF_RIGHT) r.right -= n;
  if (flags & BF_BOTTOM) r.bottom -= n;
  return r;
}

// Edge drawing in device coordinates; answers the interior.
RECT EdgeDevice(TDCObj* dc, RECT r, UINT edge, UINT flags)
{
  UINT outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
  bool soft = flags & BF_SOFT;
  if (flags & BF_DIAGONAL) {
    // A line between two corners in the bottom-right colour of the outer border.
    std::uint32_t c = Sys((outer & BDR_RAISEDOUTER) ? COLOR_3DDKSHADOW : COLOR_BTNHIGHLIGHT);
    std::int64_t n = std::min(std::int64_t(r.right) - r.left, std::int64_t(r.bottom) - r.top);
    bool up = (flags & BF_TOP) != 0, right = (flags & BF_RIGHT) != 0;
    // Only the rows drawing can touch.
    std::int64_t top = up ? std::int64_t(r.bottom) - n : r.top;
    std::int64_t y0 = std::max<std::int64_t>(top, TRowWindow::Top());
    std::int64_t y1 = std::min<std::int64_t>(top + n, TRowWindow::Bottom());
    if (y0 >= y1) return r;
    std::vector<std::vector<std::pair<int, int>>> rows(static_cast<std::size_t>(y1 - y0));
    for (std::int64_t y = y0; y < y1; ++y) {
      std::int64_t i = up ? (std::int64_t(r.bottom) - 1 - y) : (y - r.top);
      int x = int(right ? r.left + i : r.right - 1 - i);
      rows[static_cast<std::size_t>(y - y0)].emplace_back(x, x + 1);
    }
    Fill(dc, TRegionData::FromRows(int(y0), std::move(rows)), c);
    return r;
  }
  if (flags & BF_MONO) {
    if (outer) {
      TwoColorFrame(dc, r, Sys(COLOR_WINDOWFRAME), Sys(COLOR_WINDOWFRAME), flags);
      r = Deflate(r, flags);
    }
    if (inner) {
      TwoColorFrame(dc, r, Sys(COLOR_WINDOW), Sys(COLOR_WINDOW), flags);
      r = Deflate(r, flags);
    }
    if (flags & BF_MIDDLE) Fill(dc, r, Sys(COLOR_WINDOW));
    return r;
  }
  if (flags & BF_FLAT) {
    if (outer) {
      TwoColorFrame(dc, r, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW), flags);
      r = Deflate(r, flags);
    }
    if (inner) {
      TwoColorFrame(dc, r, Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE), flags);
      r = Deflate(r, flags);
    }
    if (flags & BF_MIDDLE) Fill(dc, r, Sys(COLOR_BTNFACE));
    return r;
  }
  if (outer) {
    int tl, br;
    if (outer & BDR_RAISEDOUTER) {
      tl = soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT;
      br = COLOR_3DDKSHADOW;
    } else {
      tl = soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW;
      br = COLOR_BTNHIGHLIGHT;
    }
    TwoColorFrame(dc, r, Sys(tl), Sys(br), flags);
    r = Deflate(r, flags);
  }
  if (inner) {
    int tl, br;
    if (inner & BDR_RAISEDINNER) {
      tl = soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT;
      br = COLOR_BTNSHADOW;
    } else {
      tl = soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW;
      br = COLOR_3DLIGHT;
    }
    TwoColorFrame(dc, r, Sys(tl), Sys(br), flags);
    r = Deflate(r, flags);
  }
  if (flags & BF_MIDDLE) Fill(dc, r, Sys(COLOR_BTNFACE));
  return r;
}

// ---- Glyphs -----------------------------------------------------------------------------------

// A filled triangle pointing in `dir` (0 up, 1 down, 2 left, 3 right), centred in r.
void Arrow(TDCObj* dc, const RECT& r, int dir, std::uint32_t color, int dx = 0, int dy = 0)
{
  int side = std::min(r.right - r.left, r.bottom - r.top);
  int base = std::max(3, (side * 7 / 16) | 1);  // odd, so the tip is one pixel
  int depth = (base + 1) / 2;
  int cx = (r.left + r.right) / 2 + dx, cy = (r.top + r.bottom) / 2 + dy;
  std::vector<std::vector<std::pair<int, int>>> rows;
  int top;
  if (dir <= 1) {
    top = cy - depth / 2;
    rows.resize(std::size_t(depth));
    for (int i = 0; i < depth; ++i) {
      int half = dir == 0 ? i : depth - 1 - i;
      rows[std::size_t(i)].emplace_back(cx - half, cx + half + 1);
    }
  } else {
    top = cy - base / 2;
    rows.resize(std::size_t(base));
    int left = cx - depth / 2;
    for (int i = 0; i < base; ++i) {
      int len = depth - std::abs(i - base / 2);
      if (dir == 3)
        rows[std::size_t(i)].emplace_back(left, left + len);
      else
        rows[std::size_t(i)].emplace_back(left + depth - len, left + depth);
    }
  }
  Fill(dc, TRegionData::FromRows(top, std::move(rows)), color);
}

// The classic check mark: seven columns of three pixels, down then up.
void CheckMark(TDCObj* dc, const RECT& box, std::uint32_t color)
{
  static const int kDrop[7] = {2, 3, 4, 3, 2, 1, 0};
  int x0 = (box.left + box.right) / 2 - 3, y0 = (box.top + box.bottom) / 2 - 3;
  std::vector<std::vector<std::pair<int, int>>> rows(7);
  for (int i = 0; i < 7; ++i)
    for (int k = 0; k < 3; ++k) rows[std::size_t(kDrop[i] + k)].emplace_back(x0 + i, x0 + i + 1);
  Fill(dc, TRegionData::FromRows(y0, std::move(rows)), color);
}

RECT SquareIn(const RECT& r, bool radio)
{
  int side = std::min(r.right - r.left, r.bottom - r.top);
  if (radio) side &= ~1;  // even circles look round
  int l = r.left + (r.right - r.left - side) / 2, t = r.top + (r.bottom - r.top - side) / 2;
  return RECT{l, t, l + side, t + side};
}

TRegionData Ellipse(const RECT& r, int inset)
{
  return TRegionData::FromEllipse(r.left + inset, r.top + inset, r.right - inset, r.bottom - inset);
}

// The top-left half of a square, split along the anti-diagonal.
TRegionData TopLeftHalf(const RECT& r)
{
  double l = r.left, t = r.top, s = r.right - r.left;
  return TRegionData::FromPolygon({{l, t}, {l + s, t}, {l, t + s}}, ALTERNATE);
}

void Button(TDCObj* dc, RECT& r, UINT state)
{
  UINT flags = BF_RECT | BF_MIDDLE;
  if (state & DFCS_FLAT) flags |= BF_FLAT;
  if (state & DFCS_MONO) flags |= BF_MONO;
  if (state & (DFCS_PUSHED | DFCS_CHECKED)) {
    if (state & (DFCS_FLAT | DFCS_MONO))
      EdgeDevice(dc, r, EDGE_SUNKEN, flags);
    else {
      // A pushed classic button: dark outer frame, shadow inside.
      TwoColorFrame(dc, r, Sys(COLOR_3DDKSHADOW), Sys(COLOR_BTNHIGHLIGHT), BF_RECT);
      RECT in = Deflate(r, BF_RECT);
      TwoColorFrame(dc, in, Sys(COLOR_BTNSHADOW), Sys(COLOR_3DLIGHT), BF_RECT);
      Fill(dc, Deflate(in, BF_RECT), Sys(COLOR_BTNFACE));
    }
  } else {
    EdgeDevice(dc, r, EDGE_RAISED, flags | BF_SOFT);
  }
}

void CheckBox(TDCObj* dc, const RECT& r, UINT state)
{
  RECT box = SquareIn(r, false);
  bool gray = state & (DFCS_PUSHED | DFCS_INACTIVE);
  RECT in;
  if (state & (DFCS_FLAT | DFCS_MONO)) {
    TwoColorFrame(dc, box, Sys((state & DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW),
                  Sys((state & DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW), BF_RECT);
    in = Deflate(box, BF_RECT);
  } else {
    in = EdgeDevice(dc, box, EDGE_SUNKEN, BF_RECT);
  }
  bool threeState = (state & 0x1F) == DFCS_BUTTON3STATE;
  if (threeState && (state & DFCS_CHECKED)) {
    // The grey check of an indeterminate box sits on a dotted face.
    std::vector<std::vector<std::pair<int, int>>> rows(std::size_t(std::max(0, int(in.bottom - in.top))));
    Fill(dc, in, Sys(COLOR_BTNFACE));
    for (int y = in.top; y < in.bottom; ++y)
      for (int x = in.left + ((y + in.left) & 1); x < in.right; x += 2)
        rows[std::size_t(y - in.top)].emplace_back(x, x + 1);
    Fill(dc, TRegionData::FromRows(in.top, std::move(rows)), Sys(COLOR_BTNHIGHLIGHT));
    CheckMark(dc, in, Sys(COLOR_BTNSHADOW));
    return;
  }
  Fill(dc, in, Sys(gray ? COLOR_BTNFACE : COLOR_WINDOW));
  if (state & DFCS_CHECKED) CheckMark(dc, in, Sys((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
}

void Radio(TDCObj* dc, const RECT& r, UINT state)
{
  RECT box = SquareIn(r, true);
  int side = box.right - box.left;
  if (side < 4) return;
  if ((state & 0x1F) == DFCS_BUTTONRADIOMASK) {
    Fill(dc, r, 0xFFFFFF);
    Fill(dc, Ellipse(box, 0), 0);
    return;
  }
  TRegionData e0 = Ellipse(box, 0), e1 = Ellipse(box, 1), e2 = Ellipse(box, 2);
  TRegionData ring1 = TRegionData::Combine(e0, e1, RGN_DIFF), ring2 = TRegionData::Combine(e1, e2, RGN_DIFF);
  TRegionData tl = TopLeftHalf(box);
  auto twoTone = [&](const TRegionData& ring, int tlc, int brc) {
    Fill(dc, TRegionData::Combine(ring, tl, RGN_AND), Sys(tlc));
    Fill(dc, TRegionData::Combine(ring, tl, RGN_DIFF), Sys(brc));
  };
  if (state & (DFCS_FLAT | DFCS_MONO)) {
    Fill(dc, ring1, Sys((state & DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW));
    Fill(dc, e1, Sys(COLOR_WINDOW));
  } else {
    twoTone(ring1, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    twoTone(ring2, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    Fill(dc, e2, Sys((state & (DFCS_PUSHED | DFCS_INACTIVE)) ? COLOR_BTNFACE : COLOR_WINDOW));
  }
  if (state & DFCS_CHECKED) {
    int d = std::max(2, side / 3);
    int l = box.left + (side - d) / 2, t = box.top + (side - d) / 2;
    Fill(dc, TRegionData::FromEllipse(l, t, l + d, t + d),
         Sys((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
  }
}

void Glyph(TDCObj* dc, const RECT& r, UINT state, const std::function<void(int, int, std::uint32_t)>& draw)
{
  int shift = (state & DFCS_PUSHED) ? 1 : 0;
  if (state & DFCS_INACTIVE) {
    draw(shift + 1, shift + 1, Sys(COLOR_BTNHIGHLIGHT));
    draw(shift, shift, Sys(COLOR_GRAYTEXT));
  } else {
    draw(shift, shift, Sys(COLOR_BTNTEXT));
  }
}

void SizeGrip(TDCObj* dc, const RECT& r)
{
  Fill(dc, r, Sys(COLOR_BTNFACE));
  // Three diagonal pairs of highlight and shadow in the bottom-right corner.
  int side = std::min(r.right - r.left, r.bottom - r.top);
  for (int k = 0; k < 3; ++k) {
    for (int j = 0; j < 3; ++j) {
      int off = 4 * k + j + 2;
      if (off >= side) break;
      std::uint32_t c = j == 0 ? Sys(COLOR_BTNHIGHLIGHT) : Sys(COLOR_BTNSHADOW);
      std::vector<std::vector<std::pair<int, int>>> rows(static_cast<std::size_t>(off));
      for (int i = 0; i < off; ++i) {
        int x = r.right - off + i;
        rows[std::size_t(i)].emplace_back(x, x + 1);
      }
      // From (right-off, bottom-1) up to (right-1, bottom-off).
      std::reverse(rows.begin(), rows.end());
      Fill(dc, TRegionData::FromRows(r.bottom - off, std::move(rows)), c);
    }
  }
}

void CaptionGlyph(TDCObj* dc, const RECT& r, UINT kind, int dx, int dy, std::uint32_t c)
{
  int w = r.right - r.left, h = r.bottom - r.top;
  int s = std::max(4, std::min(w, h) - 6);
  int l = r.left + (w - s) / 2 + dx, t = r.top + (h - s) / 2 + dy;
  switch (kind) {
    case DFCS_CAPTIONCLOSE: {
      std::vector<std::vector<std::pair<int, int>>> rows(static_cast<std::size_t>(s));
      for (int i = 0; i < s; ++i) {
        rows[std::size_t(i)].emplace_back(l + i, l + i + 2);
        rows[std::size_t(i)].emplace_back(l + s - 2 - i, l + s - i);
      }
      Fill(dc, TRegionData::FromRows(t, std::move(rows)), c);
      break;
    }
    case DFCS_CAPTIONMIN: Fill(dc, RECT{l, t + s - 2, l + s * 2 / 3, t + s}, c); break;
    case DFCS_CAPTIONMAX:
      Fill(dc, RECT{l, t, l + s, t + 2}, c);
      Fill(dc, RECT{l, t, l + 1, t + s}, c);
      Fill(dc, RECT{l + s - 1, t, l + s, t + s}, c);
      Fill(dc, RECT{l, t + s - 1, l + s, t + s}, c);
      break;
    case DFCS_CAPTIONRESTORE: {
      int q = s * 2 / 3;
      for (RECT b : {RECT{l + s - q, t, l + s, t + q}, RECT{l, t + s - q, l + q, t + s}}) {
        Fill(dc, RECT{b.left, b.top, b.right, b.top + 2}, c);
        Fill(dc, RECT{b.left, b.top, b.left + 1, b.bottom}, c);
        Fill(dc, RECT{b.right - 1, b.top, b.right, b.bottom}, c);
        Fill(dc, RECT{b.left, b.bottom - 1, b.right, b.bottom}, c);
      }
      break;
    }
    case DFCS_CAPTIONHELP: {
      int cx = l + s / 2;
      Fill(dc, RECT{cx - 2, t, cx + 2, t + 1}, c);
      Fill(dc, RECT{cx + 2, t + 1, cx + 3, t + s / 2}, c);
      Fill(dc, RECT{cx, t + s / 2, cx + 2, t + s / 2 + 1}, c);
      Fill(dc, RECT{cx, t + s / 2, cx + 1, t + s - 2}, c);
      Fill(dc, RECT{cx, t + s - 1, cx + 1, t + s}, c);
      break;
    }
    default: break;
  }
}

}  // namespace

BOOL DrawEdge(HDC hdc, RECT* rect, UINT edge, UINT flags)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || !rect) return FALSE;
  TRowWindow rows = DrawRows(dc);
  RECT d = RectToDevice(dc, *rect);
  RECT in = EdgeDevice(dc, d, edge, flags);
  if (flags & BF_ADJUST) {
    POINT p[2] = {{in.left, in.top}, {in.right, in.bottom}};
    TMapping m = MappingOf(dc);
    for (POINT& q : p) q = POINT{LONG(std::lround((q.x - m.Ox) / m.Sx)), LONG(std::lround((q.y - m.Oy) / m.Sy))};
    *rect =
        RECT{std::min(p[0].x, p[1].x), std::min(p[0].y, p[1].y), std::max(p[0].x, p[1].x), std::max(p[0].y, p[1].y)};
  }
  return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || !rect) return FALSE;
  RECT r = RectToDevice(dc, *rect);
  if (r.right <= r.left || r.bottom <= r.top) return TRUE;
  int h = r.bottom - r.top;
  std::vector<std::vector<std::pair<int, int>>> rows(static_cast<std::size_t>(h));
  auto dot = [&](int x, int y) {
    if (((x + y) & 1) == 0) rows[std::size_t(y - r.top)].emplace_back(x, x + 1);
  };
  for (int x = r.left; x < r.right; ++x) {
    dot(x, r.top);
    if (h > 1) dot(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    dot(r.left, y);
    if (r.right - r.left > 1) dot(r.right - 1, y);
  }
  PaintShapeColor(dc, TRegionData::FromRows(r.top, std::move(rows)), 0, R2_NOT);
  return TRUE;
}

BOOL DrawFrameControl(HDC hdc, RECT* rect, UINT type, UINT state)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || !rect) return FALSE;
  TRowWindow rows = DrawRows(dc);
  RECT r = RectToDevice(dc, *rect);
  UINT kind = state & 0xFF;
  switch (type) {
    case DFC_BUTTON:
      if (kind & DFCS_BUTTONPUSH) {
        Button(dc, r, state);
        if (state & DFCS_ADJUSTRECT) *rect = RECT{rect->left + 2, rect->top + 2, rect->right - 2, rect->bottom - 2};
      } else if (kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOMASK | DFCS_BUTTONRADIOIMAGE)) {
        Radio(dc, r, (kind & DFCS_BUTTONRADIOMASK) ? ((state & ~0x1Fu) | DFCS_BUTTONRADIOMASK) : state);
      } else {
        CheckBox(dc, r, state);
      }
      return TRUE;
    case DFC_SCROLL:
      if (kind & (DFCS_SCROLLSIZEGRIP | DFCS_SCROLLSIZEGRIPRIGHT)) {
        SizeGrip(dc, r);
        return TRUE;
      }
      if ((state & DFCS_PUSHED) && !(state & (DFCS_FLAT | DFCS_MONO))) {
        // Pushed scroll buttons are flat: one shadow frame.
        TwoColorFrame(dc, r, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW), BF_RECT);
        Fill(dc, Deflate(r, BF_RECT), Sys(COLOR_BTNFACE));
      } else {
        Button(dc, r, state & ~UINT(DFCS_PUSHED));
      }
      {
        int dir = 1;
        switch (kind) {
          case DFCS_SCROLLUP: dir = 0; break;
          case DFCS_SCROLLDOWN:
          case DFCS_SCROLLCOMBOBOX: dir = 1; break;
          case DFCS_SCROLLLEFT: dir = 2; break;
          case DFCS_SCROLLRIGHT: dir = 3; break;
          default: break;
        }
        Glyph(dc, r, state, [&](int dx, int dy, std::uint32_t c) { Arrow(dc, r, dir, c, dx, dy); });
      }
      return TRUE;
    case DFC_CAPTION:
      Button(dc, r, state);
      Glyph(dc, r, state, [&](int dx, int dy, std::uint32_t c) { CaptionGlyph(dc, r, kind, dx, dy, c); });
      return TRUE;
    case DFC_MENU:
    case DFC_POPUPMENU:
      // Menu glyphs are masks: black on white.
      Fill(dc, r, 0xFFFFFF);
      if (kind == DFCS_MENUARROW)
        Arrow(dc, r, 3, 0);
      else if (kind == DFCS_MENUCHECK)
        CheckMark(dc, r, 0);
      else if (kind == DFCS_MENUBULLET) {
        int d = std::max(2, std::min(r.right - r.left, r.bottom - r.top) / 3);
        int l = (r.left + r.right - d) / 2, t = (r.top + r.bottom - d) / 2;
        Fill(dc, TRegionData::FromEllipse(l, t, l + d, t + d), 0);
      }
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace Windows

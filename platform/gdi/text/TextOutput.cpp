#include "platform/gdi/text/TextOutput.h"

#include <cmath>

#include "platform/gdi/dc/Raster.h"
#include "platform/gdi/text/TextCore.h"
#include "platform/gdi/meta/EnhMetaFile.h"
#include "platform/gdi/meta/MetaSink.h"

namespace Windows {

using namespace GdiInternal;

namespace {

std::vector<int> AdvancesFromDx(TDCObj* dc, const std::vector<TTextChar>& chars, const int* dx)
{
  TMapping m = MappingOf(dc);
  std::vector<int> adv(chars.size());
  std::size_t unit = 0;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    int sum = 0;
    for (int k = 0; k < chars[i].Units; ++k) sum += dx[unit++];
    adv[i] = int(std::lround(sum * std::fabs(m.Sx)));
  }
  return adv;
}

BOOL TextOutCore(HDC hdc, int x, int y, UINT options, const RECT* rect, const std::vector<TTextChar>& chars,
                 const int* dx)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return FALSE;
  TRowWindow rows = DrawRows(dc);
  auto font = FontOf(dc);
  if (!font) return FALSE;
  std::vector<int> adv = dx ? AdvancesFromDx(dc, chars, dx) : Advances(dc, *font, chars);
  double total = 0;
  for (int a : adv) total += a;
  UINT align = dc->State.TextAlign;
  if (align & TA_UPDATECP) {
    x = dc->State.CurPos.x;
    y = dc->State.CurPos.y;
  }
  POINT p = ToDevice(dc, x, y);
  TEXTMETRICA tm = font->Metrics();
  double u0 = 0;
  if ((align & TA_CENTER) == TA_CENTER)
    u0 = -std::floor(total / 2);
  else if (align & TA_RIGHT)
    u0 = -total;
  double v = 0;
  if ((align & TA_BASELINE) == TA_BASELINE)
    v = 0;
  else if (align & TA_BOTTOM)
    v = -tm.tmDescent;
  else
    v = tm.tmAscent;
  double ca = std::cos(font->Angle()), sa = std::sin(font->Angle());
  double bx = p.x + u0 * ca + v * sa, by = p.y - u0 * sa + v * ca;

  RECT devRect{};
  if (rect) devRect = RectToDevice(dc, *rect);
  const RECT* clip = (rect && (options & ETO_CLIPPED)) ? &devRect : nullptr;
  std::uint32_t bk = ToPixel(dc->State.BkColor);
  if (rect && (options & ETO_OPAQUE))
    PaintShapeColor(dc, TRegionData::FromRect(devRect.left, devRect.top, devRect.right, devRect.bottom), bk,
                    R2_COPYPEN);
  if (dc->State.BkMode == OPAQUE && !chars.empty()) {
    auto pt = [&](double uu, double vv) { return std::make_pair(bx + uu * ca + vv * sa, by - uu * sa + vv * ca); };
    TRegionData cell = TRegionData::FromPolygon(
        {pt(0, -tm.tmAscent), pt(total, -tm.tmAscent), pt(total, tm.tmDescent), pt(0, tm.tmDescent)}, WINDING);
    if (clip)
      cell =
          TRegionData::Combine(cell, TRegionData::FromRect(clip->left, clip->top, clip->right, clip->bottom), RGN_AND);
    PaintShapeColor(dc, cell, bk, R2_COPYPEN);
  }
  DrawGlyphRun(dc, *font, bx, by, chars, adv, ToPixel(dc->State.TextColor), clip);
  if (align & TA_UPDATECP) {
    int w = ToLogicalX(dc, total);
    dc->State.CurPos.x += (align & TA_RIGHT) && (align & TA_CENTER) != TA_CENTER ? -w : w;
  }
  return TRUE;
}

BOOL ExtentCore(HDC hdc, const std::vector<TTextChar>& chars, int maxExtent, int* fit, int* dx, SIZE* size)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return FALSE;
  auto font = FontOf(dc);
  if (!font) return FALSE;
  std::vector<int> adv = Advances(dc, *font, chars);
  double total = 0;
  int fitUnits = 0, unit = 0;
  bool fitting = true;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    total += adv[i];
    int ext = ToLogicalX(dc, total);
    if (fitting && fit && ext > maxExtent) fitting = false;
    if (fitting) fitUnits += chars[i].Units;
    for (int k = 0; k < chars[i].Units; ++k) {
      if (dx && (fitting || !fit)) dx[unit] = ext;
      ++unit;
    }
  }
  if (fit) *fit = fitUnits;
  if (size) *size = SIZE{ToLogicalX(dc, total), ToLogicalY(dc, font->Metrics().tmHeight)};
  return TRUE;
}

// Splits at tabs and lays the pieces on the tab stops; draws when `draw`.
DWORD TabbedCore(HDC hdc, int x, int y, const char* text, int count, int tabCount, const int* tabs, int tabOrigin,
                 bool draw)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return 0;
  auto font = FontOf(dc);
  if (!font) return 0;
  std::vector<TTextChar> chars = DecodeAnsi(text, count);
  int ave = ToLogicalX(dc, font->Metrics().tmAveCharWidth);
  auto nextStop = [&](int pos) {  // pos relative to tabOrigin
    if (tabCount <= 0 || !tabs) {
      int step = std::max(1, 8 * ave);
      return (pos / step + 1) * step;
    }
    if (tabCount == 1) {
      int step = std::max(1, std::abs(tabs[0]));
      return (pos / step + 1) * step;
    }
    for (int i = 0; i < tabCount; ++i)
      if (std::abs(tabs[i]) > pos) return std::abs(tabs[i]);
    return pos + std::max(1, ave);
  };
  int cur = x;
  std::vector<TTextChar> piece;
  auto flush = [&] {
    if (piece.empty()) return;
    SIZE sz;
    ExtentCore(hdc, piece, 0, nullptr, nullptr, &sz);
    if (draw) {
      UINT saved = dc->State.TextAlign;
      dc->State.TextAlign = saved & ~UINT(TA_UPDATECP | TA_CENTER);
      TextOutCore(hdc, cur, y, 0, nullptr, piece, nullptr);
      dc->State.TextAlign = saved;
    }
    cur += sz.cx;
    piece.clear();
  };
  for (const TTextChar& c : chars) {
    if (c.Cp == U'\t') {
      flush();
      cur = tabOrigin + nextStop(cur - tabOrigin);
    } else {
      piece.push_back(c);
    }
  }
  flush();
  int h = ToLogicalY(dc, font->Metrics().tmHeight);
  return (DWORD(h) << 16) | DWORD((cur - x) & 0xFFFF);
}

TMetaSink* MetaOf(HDC hdc)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  return dc ? dc->Meta.get() : nullptr;
}

}  // namespace

BOOL TextOut(HDC dc, int x, int y, const char* text, int count)
{
  if (TMetaSink* m = MetaOf(dc)) return m->Text(GdiInternal::DC(dc), x, y, 0, nullptr, text, nullptr, count, nullptr);
  return TextOutCore(dc, x, y, 0, nullptr, DecodeAnsi(text, count), nullptr);
}
BOOL TextOutW(HDC dc, int x, int y, const char16_t* text, int count)
{
  if (TMetaSink* m = MetaOf(dc)) return m->Text(GdiInternal::DC(dc), x, y, 0, nullptr, nullptr, text, count, nullptr);
  return TextOutCore(dc, x, y, 0, nullptr, DecodeWide(text, count), nullptr);
}
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, int count, const int* dx)
{
  if (TMetaSink* m = MetaOf(dc)) return m->Text(GdiInternal::DC(dc), x, y, options, rect, text, nullptr, count, dx);
  return TextOutCore(dc, x, y, options, rect, DecodeAnsi(text, count), dx);
}
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const char16_t* text, int count, const int* dx)
{
  if (TMetaSink* m = MetaOf(dc)) return m->Text(GdiInternal::DC(dc), x, y, options, rect, nullptr, text, count, dx);
  return TextOutCore(dc, x, y, options, rect, DecodeWide(text, count), dx);
}
BOOL GetTextExtentPoint32(HDC dc, const char* text, int count, SIZE* size)
{
  return size ? ExtentCore(dc, DecodeAnsi(text, count), 0, nullptr, nullptr, size) : FALSE;
}
BOOL GetTextExtentPoint32W(HDC dc, const char16_t* text, int count, SIZE* size)
{
  return size ? ExtentCore(dc, DecodeWide(text, count), 0, nullptr, nullptr, size) : FALSE;
}
BOOL GetTextExtentExPoint(HDC dc, const char* text, int count, int maxExtent, int* fit, int* dx, SIZE* size)
{
  return ExtentCore(dc, DecodeAnsi(text, count), maxExtent, fit, dx, size);
}
BOOL GetTextExtentExPointW(HDC dc, const char16_t* text, int count, int maxExtent, int* fit, int* dx, SIZE* size)
{
  return ExtentCore(dc, DecodeWide(text, count), maxExtent, fit, dx, size);
}
LONG TabbedTextOut(HDC dc, int x, int y, const char* text, int count, int tabCount, const int* tabs, int tabOrigin)
{
  return LONG(TabbedCore(dc, x, y, text, count, tabCount, tabs, tabOrigin, true));
}
DWORD GetTabbedTextExtent(HDC dc, const char* text, int count, int tabCount, const int* tabs)
{
  return TabbedCore(dc, 0, 0, text, count, tabCount, tabs, 0, false);
}

}  // namespace Windows

#include "platform/gdi/text/TextCore.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gdi/dc/Raster.h"
#include "platform/gdi/dc/VectorTarget.h"
#include "platform/gdi/meta/MetaSink.h"
#include "platform/rtl/AnsiStrings.h"

namespace GdiInternal {

std::vector<TTextChar> DecodeAnsi(const char* s, int count)
{
  std::vector<TTextChar> out;
  if (!s) return out;
  if (count < 0) count = int(std::strlen(s));
  out.reserve(std::size_t(count));
  for (int i = 0; i < count;) {
    auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out.push_back(TTextChar{b, 1});
      ++i;
      continue;
    }
    int n = (System::IsLeadByte(s[i]) && i + 1 < count) ? 2 : 1;
    WideString w = System::AnsiToWide(AnsiString(s + i, std::size_t(n)));
    char32_t cp = w.size() == 1 ? char32_t(w[0]) : char32_t(0xFFFD);
    out.push_back(TTextChar{cp, n});
    i += n;
  }
  return out;
}

std::vector<TTextChar> DecodeWide(const char16_t* s, int count)
{
  std::vector<TTextChar> out;
  if (!s) return out;
  if (count < 0) {
    count = 0;
    while (s[count]) ++count;
  }
  for (int i = 0; i < count;) {
    char32_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < count && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      out.push_back(TTextChar{0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00), 2});
      i += 2;
    } else {
      out.push_back(TTextChar{(c >= 0xD800 && c < 0xE000) ? char32_t(0xFFFD) : c, 1});
      ++i;
    }
  }
  return out;
}

int ToLogicalX(const TDCObj* dc, double v)
{
  TMapping m = MappingOf(dc);
  return int(std::lround(v / std::fabs(m.Sx)));
}
int ToLogicalY(const TDCObj* dc, double v)
{
  TMapping m = MappingOf(dc);
  return int(std::lround(v / std::fabs(m.Sy)));
}

std::vector<int> Advances(TDCObj* dc, TFontInstance& font, const std::vector<TTextChar>& chars)
{
  std::vector<int> adv(chars.size());
  TMapping m = MappingOf(dc);
  int extra = int(std::lround(dc->State.CharExtra * std::fabs(m.Sx)));
  int breaks = dc->State.BreakCount, breakExtra = dc->State.BreakExtra;
  int breakChar = font.Metrics().tmBreakChar;
  int seen = 0;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    adv[i] = font.Advance(chars[i].Cp) + extra;
    if (breaks > 0 && int(chars[i].Cp) == breakChar) {
      // Spread the extra pixels evenly, the remainder going to the first breaks.
      adv[i] += breakExtra / breaks + (seen < breakExtra % breaks ? 1 : 0);
      ++seen;
    }
  }
  return adv;
}

namespace {

void BlendGlyph(const TSurface& s, const TRegionData& area, int gx, int gy, const TFontInstance::TGlyph& g,
                std::uint32_t color)
{
  if (g.Width == 0 || g.Height == 0) return;
  RECT box{gx, gy, gx + g.Width, gy + g.Height};
  unsigned cr = (color >> 16) & 0xFF, cg = (color >> 8) & 0xFF, cb = color & 0xFF;
  area.ForEachSpanIn(box.left, box.top, box.right, box.bottom, [&](int y, int x0, int x1) {
    std::uint32_t* row = s.Row(y);
    const std::uint8_t* a = &g.Alpha[std::size_t(y - gy) * std::size_t(g.Width)];
    for (int x = x0; x < x1; ++x) {
      unsigned al = a[x - gx];
      if (!al) continue;
      if (s.Mono) {
        if (al >= 128) row[x] = MonoOf(color);
        continue;
      }
      if (al == 255) {
        row[x] = color;
        continue;
      }
      std::uint32_t d = row[x];
      unsigned dr = (d >> 16) & 0xFF, dg = (d >> 8) & 0xFF, db = d & 0xFF;
      dr += ((int(cr) - int(dr)) * int(al) + 127) / 255;
      dg += ((int(cg) - int(dg)) * int(al) + 127) / 255;
      db += ((int(cb) - int(db)) * int(al) + 127) / 255;
      row[x] = (dr << 16) | (dg << 8) | db;
    }
  });
}

}  // namespace

void DrawGlyphRun(TDCObj* dc, TFontInstance& font, double x, double y, const std::vector<TTextChar>& chars,
                  const std::vector<int>& advances, std::uint32_t color, const RECT* clip)
{
  if (dc->Meta) {
    dc->Meta->DeviceText(dc, x, y, chars, advances, color, clip);
    return;
  }
  double angle = font.Angle();
  double ca = std::cos(angle), sa = std::sin(angle);
  bool rotated = std::fabs(angle) > 1e-9;
  double total = 0;
  for (int a : advances) total += a;
  auto linePoly = [&](double from, double to, double off, double thick) {
    // A band along the baseline, `off` pixels below it (negative: above).
    auto pt = [&](double u, double v) { return std::make_pair(x + u * ca + v * sa, y - u * sa + v * ca); };
    return TRegionData::FromPolygon({pt(from, off), pt(to, off), pt(to, off + thick), pt(from, off + thick)}, WINDING);
  };
  TRegionData decorations;
  if (font.Log().lfUnderline)
    decorations =
        TRegionData::Combine(decorations, linePoly(0, total, font.UnderlinePos(), font.UnderlineSize()), RGN_OR);
  if (font.Log().lfStrikeOut)
    decorations =
        TRegionData::Combine(decorations, linePoly(0, total, -font.StrikeOutPos(), font.StrikeOutSize()), RGN_OR);
  if (clip)
    decorations = TRegionData::Combine(
        decorations, TRegionData::FromRect(clip->left, clip->top, clip->right, clip->bottom), RGN_AND);

  if (dc->Vector) {
    std::vector<TPlacedGlyph> main, fallback;
    double pos = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
      const TFontInstance::TGlyph& g = font.Glyph(chars[i].Cp);
      TPlacedGlyph pg{g.Index, x + pos * ca, y - pos * sa};
      (g.Fallback ? fallback : main).push_back(pg);
      pos += advances[i];
    }
    std::optional<TRegionData> saved = dc->State.Clip;
    if (clip) {
      TRegionData r = TRegionData::FromRect(clip->left, clip->top, clip->right, clip->bottom);
      dc->State.Clip = saved ? TRegionData::Combine(*saved, r, RGN_AND) : r;
    }
    if (!main.empty()) dc->Vector->DrawGlyphs(dc, font, false, main, color, angle);
    if (!fallback.empty()) dc->Vector->DrawGlyphs(dc, font, true, fallback, color, angle);
    dc->State.Clip = saved;
    PaintShapeColor(dc, decorations, color, R2_COPYPEN);
    return;
  }
  TSurface s;
  if (!GetSurface(dc, s)) return;
  TRegionData area = DrawableArea(dc, s);
  if (clip)
    area = TRegionData::Combine(area, TRegionData::FromRect(clip->left, clip->top, clip->right, clip->bottom), RGN_AND);
  if (area.IsEmpty()) return;
  double pos = 0;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    double px = x + pos * ca, py = y - pos * sa;
    int ix = int(std::lround(px)), iy = int(std::lround(py));
    if (rotated) {
      TFontInstance::TGlyph g = font.RotatedGlyph(chars[i].Cp);
      BlendGlyph(s, area, ix + g.Left, iy - g.Top, g, color);
    } else {
      const TFontInstance::TGlyph& g = font.Glyph(chars[i].Cp);
      BlendGlyph(s, area, ix + g.Left, iy - g.Top, g, color);
    }
    pos += advances[i];
  }
  PaintShapeColor(dc, decorations, color, R2_COPYPEN);
}

}  // namespace GdiInternal

#include "platform/gdi/draw/Blits.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gdi/dc/Raster.h"
#include "platform/gdi/dc/VectorTarget.h"
#include "platform/gdi/meta/EnhMetaFile.h"
#include "platform/gdi/meta/MetaSink.h"

namespace Windows {

using namespace GdiInternal;

namespace {

bool UsesSource(DWORD rop) { return (((rop >> 2) ^ rop) & 0x00330000) != 0; }
bool UsesPattern(DWORD rop) { return (((rop >> 4) ^ rop) & 0x000F0000) != 0; }

BOOL Transfer(HDC hdest, int x, int y, int w, int h, HDC hsrc, int xs, int ys, int ws, int hs, DWORD rop,
              bool transparent, COLORREF key)
{
  TDCObj* dst = GdiInternal::DC(hdest);
  if (!dst) return FALSE;
  bool needSrc = transparent || UsesSource(rop);
  TDCObj* src = needSrc ? GdiInternal::DC(hsrc) : nullptr;
  if (needSrc && !src) return FALSE;
  if (dst->Meta) {
    if (!needSrc) return dst->Meta->PatBlt(dst, x, y, w, h, rop);
    return dst->Meta->Blt(dst, x, y, w, h, src, xs, ys, ws, hs, transparent ? key : rop,
                          transparent            ? 2
                          : (ws != w || hs != h) ? 1
                                                 : 0);
  }

  POINT d0 = ToDevice(dst, x, y), d1 = ToDevice(dst, x + w, y + h);
  int dl = std::min(d0.x, d1.x), dr = std::max(d0.x, d1.x);
  int dt = std::min(d0.y, d1.y), db = std::max(d0.y, d1.y);
  if (dl == dr || dt == db) return TRUE;

  TSurface ss;
  std::vector<std::uint32_t> snap;
  std::int64_t sl = 0, st = 0, sw = 0, sh = 0;
  int snapL = 0, snapT = 0, snapW = 0, snapH = 0;
  bool mirrorX = false, mirrorY = false;
  std::uint32_t srcBk = 0;
  if (needSrc) {
    if (!GetSurface(src, ss)) return FALSE;
    POINT s0 = ToDevice(src, xs, ys), s1 = ToDevice(src, xs + ws, ys + hs);
    sl = std::min(s0.x, s1.x);
    st = std::min(s0.y, s1.y);
    sw = std::abs(std::int64_t(s1.x) - s0.x);
    sh = std::abs(std::int64_t(s1.y) - s0.y);
    if (sw == 0 || sh == 0) return TRUE;
    mirrorX = ((d1.x - d0.x) < 0) != ((s1.x - s0.x) < 0);
    mirrorY = ((d1.y - d0.y) < 0) != ((s1.y - s0.y) < 0);
    srcBk = ToPixel(src->State.BkColor);
    // Snapshot the part of the source rectangle inside its surface, so that overlapping copies
    // within one surface read the old pixels.
    snapL = int(std::max<std::int64_t>(sl, 0));
    snapT = int(std::max<std::int64_t>(st, 0));
    snapW = int(std::max<std::int64_t>(0, std::min<std::int64_t>(sl + sw, ss.Width) - snapL));
    snapH = int(std::max<std::int64_t>(0, std::min<std::int64_t>(st + sh, ss.Height) - snapT));
    snap.resize(std::size_t(snapW) * std::size_t(snapH));
    for (int yy = 0; yy < snapH; ++yy) {
      const std::uint32_t* row = ss.Row(snapT + yy);
      for (int xx = 0; xx < snapW; ++xx)
        snap[std::size_t(yy) * std::size_t(snapW) + std::size_t(xx)] = row[snapL + xx] & 0xFFFFFF;
    }
  }
  std::int64_t dw = std::int64_t(dr) - dl, dh = std::int64_t(db) - dt;
  auto srcAt = [&](int dx, int dy, std::uint32_t& out) {
    std::int64_t fx = ((std::int64_t(dx) - dl) * sw) / dw, fy = ((std::int64_t(dy) - dt) * sh) / dh;
    if (mirrorX) fx = sw - 1 - fx;
    if (mirrorY) fy = sh - 1 - fy;
    std::int64_t x = sl + fx - snapL, y = st + fy - snapT;
    if (x < 0 || y < 0 || x >= snapW || y >= snapH) return false;  // outside the source surface
    out = snap[std::size_t(y) * std::size_t(snapW) + std::size_t(x)];
    return true;
  };

  if (dst->Vector) {
    if (needSrc && (rop == SRCCOPY || transparent)) {
      // Only the part on the page is sent.
      RECT vis{std::max(dl, 0), std::max(dt, 0), std::min(dr, dst->Vector->Width()),
               std::min(db, dst->Vector->Height())};
      if (vis.right <= vis.left || vis.bottom <= vis.top) return TRUE;
      int vw = vis.right - vis.left, vh = vis.bottom - vis.top;
      std::vector<std::uint32_t> img(std::size_t(vw) * std::size_t(vh), 0);
      for (int yy = 0; yy < vh; ++yy)
        for (int xx = 0; xx < vw; ++xx) {
          std::uint32_t v = 0xFFFFFF;
          srcAt(vis.left + xx, vis.top + yy, v);
          if (ss.Mono) v = v ? ToPixel(dst->State.BkColor) : ToPixel(dst->State.TextColor);
          img[std::size_t(yy) * std::size_t(vw) + std::size_t(xx)] = v;
        }
      dst->Vector->DrawImage(dst, img.data(), vw, vh, vw, vis);
    } else if (!needSrc) {
      TBrushPaint brush(dst, nullptr);
      PaintShape(dst, TRegionData::FromRect(dl, dt, dr, db), brush, R2_COPYPEN, rop);
    }
    return TRUE;
  }

  TSurface ds;
  if (!GetSurface(dst, ds)) return FALSE;
  if (!needSrc) {
    TBrushPaint brush(dst, nullptr);
    if (brush.IsNull()) {
      TBrushObj black;  // a null brush counts as black in raster operations
      TBrushPaint b2(dst, &black);
      PaintShape(dst, TRegionData::FromRect(dl, dt, dr, db), b2, R2_COPYPEN, rop);
    } else {
      PaintShape(dst, TRegionData::FromRect(dl, dt, dr, db), brush, R2_COPYPEN, rop);
    }
    return TRUE;
  }
  TBrushPaint brush(dst, nullptr);
  bool pattern = UsesPattern(rop);
  std::uint32_t fore = ToPixel(dst->State.TextColor), back = ToPixel(dst->State.BkColor);
  std::uint32_t keyPx = ToPixel(key & 0xFFFFFF);
  TRegionData area = TRegionData::Combine(TRegionData::FromRect(dl, dt, dr, db), DrawableArea(dst, ds), RGN_AND);
  for (const auto& bd : area.Bands())
    for (int yy = bd.top; yy < bd.bottom; ++yy) {
      std::uint32_t* row = ds.Row(yy);
      for (const auto& sp : bd.spans)
        for (int xx = sp.first; xx < sp.second; ++xx) {
          std::uint32_t s;
          if (!srcAt(xx, yy, s)) continue;
          if (transparent && s == keyPx) continue;
          if (ss.Mono && !ds.Mono)
            s = s ? back : fore;
          else if (!ss.Mono && ds.Mono)
            s = (s == srcBk) ? 0xFFFFFF : 0;
          std::uint32_t p = 0;
          if (pattern && !brush.At(xx, yy, p)) p = 0;
          if (ds.Mono) p = MonoOf(p);
          std::uint32_t d = row[xx] & 0xFFFFFF;
          row[xx] = transparent ? s : Rop3(rop, p, s, d);
        }
    }
  return TRUE;
}

}  // namespace

BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop)
{
  if (UsesSource(rop)) return FALSE;
  return Transfer(dc, x, y, w, h, nullptr, 0, 0, 0, 0, rop, false, 0);
}

BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop)
{
  return Transfer(dest, x, y, w, h, src, xSrc, ySrc, w, h, rop, false, 0);
}

BOOL StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop)
{
  return Transfer(dest, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc, rop, false, 0);
}

BOOL TransparentBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                    UINT transparent)
{
  if (w < 0 || h < 0 || wSrc < 0 || hSrc < 0) return FALSE;
  return Transfer(dest, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc, SRCCOPY, true, transparent);
}

}  // namespace Windows

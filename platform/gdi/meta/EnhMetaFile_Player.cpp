// Playing metafile records through the layer's own drawing calls.
//
// PlayEnhMetaFile → BeginPlay (frame onto the rectangle, fresh drawing state, the caller's clip
// kept as a floor) → PlayRecord for each record → EndPlay (the caller's state back, the play's
// objects freed). Every field is read through TRecordReader, so a record too short for what it
// claims is skipped; coordinates that would land far off any device are skipped as well.
#include "platform/gdi/meta/EnhMetaFile.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/Raster.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/image/ImageData.h"
#include "platform/gdi/meta/MetaFormat.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/AnsiStrings.h"

namespace GdiInternal {

namespace {

constexpr double kMaxDevice = double(1 << 24);  // beyond this a record draws nowhere useful
constexpr double kMaxCurve = double(1 << 16);   // curves are built point by point: keep them sane
constexpr int kMaxPenWidth = 1024;
constexpr double kMaxDevicePen = 1024;  // wider strokes are built slowly and drawn by no real file
constexpr int kMaxLogical = 1 << 26;
constexpr int kMaxFontPixels = 4096;
constexpr std::size_t kMaxRegionRects = 1 << 16;

struct TPlay {
  HDC Dc = nullptr;
  TDCObj* Obj = nullptr;
  std::vector<HGDIOBJ> Handles;  // entry 0 unused
  int SaveBase = 0;              // the DC's save level holding the caller's state
  int Depth = 0;                 // the metafile's own saves
  std::optional<TRegionData> BaseClip;
  double PxPerMmX = 96 / 25.4, PxPerMmY = 96 / 25.4;  // the reference device's resolution
  bool OldPlayMap = false;
  double OldSx = 1, OldSy = 1, OldOx = 0, OldOy = 0;
};

thread_local std::vector<TPlay*> tPlays;  // the plays under way, for PlayEnhMetaFileRecord

LONG Clamp(LONG v) { return std::clamp<LONG>(v, -kMaxLogical, kMaxLogical); }

// True when every point lands within reach of the device.
bool Reachable(const TPlay& p, const POINT* pts, std::size_t n, double limit = kMaxDevice)
{
  TMapping m = MappingOf(p.Obj);
  for (std::size_t i = 0; i < n; ++i) {
    double x = pts[i].x * m.Sx + m.Ox, y = pts[i].y * m.Sy + m.Oy;
    if (!(std::fabs(x) < limit && std::fabs(y) < limit)) return false;
  }
  return true;
}
bool Reachable(const TPlay& p, const RECT& r, double limit = kMaxDevice)
{
  POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
  return Reachable(p, pts, 2, limit);
}

// Points of a polygon-like record: count at `countOff`, points after it, 32- or 16-bit.
bool ReadPoints(const TRecordReader& r, std::size_t off, std::uint32_t count, bool small, std::vector<POINT>& out)
{
  std::uint64_t each = small ? 4 : 8;
  if (!r.Has(off, std::uint64_t(count) * each)) return false;
  out.resize(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (small) {
      std::int16_t x = 0, y = 0;
      r.I16(off + i * 4, x);
      r.I16(off + i * 4 + 2, y);
      out[i] = POINT{x, y};
    } else {
      r.Point(off + std::size_t(i) * 8, out[i]);
    }
  }
  return true;
}

// Cubic Bézier segments flattened into line points (the start point not repeated).
void Flatten(POINT p0, const POINT* c, std::size_t triples, std::vector<POINT>& out)
{
  for (std::size_t k = 0; k < triples; ++k) {
    POINT p1 = c[3 * k], p2 = c[3 * k + 1], p3 = c[3 * k + 2];
    double len = std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y) +
                 std::hypot(p3.x - p2.x, p3.y - p2.y);
    int steps = std::clamp(int(len / 4), 4, 64);
    for (int i = 1; i <= steps; ++i) {
      double t = double(i) / steps, u = 1 - t;
      double x = u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x;
      double y = u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y;
      out.push_back(POINT{LONG(std::lround(x)), LONG(std::lround(y))});
    }
    p0 = p3;
  }
}

TRegionData UnionOf(const std::vector<RECT>& rects, std::size_t lo, std::size_t hi)
{
  if (hi - lo == 1) {
    const RECT& r = rects[lo];
    return TRegionData::FromRect(r.left, r.top, r.right, r.bottom);
  }
  std::size_t mid = lo + (hi - lo) / 2;
  return TRegionData::Combine(UnionOf(rects, lo, mid), UnionOf(rects, mid, hi), RGN_OR);
}

// Region data (a 32-byte header, then rectangles) at `off`, `cb` bytes; scaled when asked.
bool ReadRegion(const TRecordReader& r, std::size_t off, std::uint32_t cb, TRegionData& out, const TPlay* deviceScale)
{
  std::uint32_t hdrSize = 0, type = 0, count = 0;
  if (!r.Has(off, cb) || cb < 32 || !r.U32(off, hdrSize) || !r.U32(off + 4, type) || !r.U32(off + 8, count))
    return false;
  if (hdrSize != 32 || type != 1 || count > kMaxRegionRects || std::uint64_t(count) * 16 > cb - 32) return false;
  std::vector<RECT> rects;
  rects.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    RECT q;
    r.Rect(off + 32 + std::size_t(i) * 16, q);
    if (deviceScale) {
      const TDCObj* d = deviceScale->Obj;
      double l = q.left * d->PlaySx + d->PlayOx, rr = q.right * d->PlaySx + d->PlayOx;
      double t = q.top * d->PlaySy + d->PlayOy, b = q.bottom * d->PlaySy + d->PlayOy;
      if (!(std::fabs(l) < kMaxDevice && std::fabs(rr) < kMaxDevice && std::fabs(t) < kMaxDevice &&
            std::fabs(b) < kMaxDevice))
        return false;
      q = RECT{LONG(std::lround(std::min(l, rr))), LONG(std::lround(std::min(t, b))),
               LONG(std::lround(std::max(l, rr))), LONG(std::lround(std::max(t, b)))};
    } else {
      q = RECT{Clamp(q.left), Clamp(q.top), Clamp(q.right), Clamp(q.bottom)};
    }
    if (q.right > q.left && q.bottom > q.top) rects.push_back(q);
  }
  out = rects.empty() ? TRegionData() : UnionOf(rects, 0, rects.size());
  return true;
}

HRGN RegionHandle(const TRegionData& data)
{
  HRGN h = Windows::CreateRectRgn(0, 0, 0, 0);
  if (TRegionObj* o = Region(h)) o->Data = data;
  return h;
}

HGDIOBJ ObjectAt(const TPlay& p, std::uint32_t index)
{
  if (index & ENHMETA_STOCK_OBJECT) return Windows::GetStockObject(int(index & ~ENHMETA_STOCK_OBJECT));
  return index < p.Handles.size() ? p.Handles[index] : nullptr;
}

// Stores a new object in the table slot (index 0 is reserved), freeing what was there.
void Store(TPlay& p, std::uint32_t index, HGDIOBJ obj)
{
  if (!obj) return;
  if (index == 0 || index >= p.Handles.size()) {
    Windows::DeleteObject(obj);
    return;
  }
  if (p.Handles[index]) Windows::DeleteObject(p.Handles[index]);
  p.Handles[index] = obj;
}

void DeleteAt(TPlay& p, std::uint32_t index)
{
  if (index == 0 || index >= p.Handles.size() || !p.Handles[index]) return;
  HGDIOBJ h = p.Handles[index];
  TDCState& s = p.Obj->State;
  // An object still selected gives way to the default one first.
  if (s.Pen == h) Windows::SelectObject(p.Dc, Windows::GetStockObject(BLACK_PEN));
  if (s.Brush == h) Windows::SelectObject(p.Dc, Windows::GetStockObject(WHITE_BRUSH));
  if (s.Font == h) Windows::SelectObject(p.Dc, Windows::GetStockObject(SYSTEM_FONT));
  if (Windows::DeleteObject(h)) p.Handles[index] = nullptr;
}

// The face name as CP936 within LF_FACESIZE - 1 bytes, never splitting a character.
void FaceName(const TRecordReader& r, std::size_t off, char* out)
{
  WideString w;
  for (int i = 0; i < LF_FACESIZE; ++i) {
    std::int16_t c = 0;
    if (!r.I16(off + std::size_t(i) * 2, c) || c == 0) break;
    w.push_back(char16_t(std::uint16_t(c)));
  }
  AnsiString a = System::WideToAnsi(w);
  std::size_t n = 0;
  while (n < a.size()) {
    std::size_t step = System::IsLeadByte(a[n]) && n + 1 < a.size() ? 2 : 1;
    if (n + step > std::size_t(LF_FACESIZE - 1)) break;
    n += step;
  }
  std::memcpy(out, a.data(), n);
  out[n] = 0;
}

bool PenTooWide(const TPlay& p)
{
  const TPenObj* pen = Pen(p.Obj->State.Pen);
  if (!pen) return false;
  TMapping m = MappingOf(p.Obj);
  return pen->Width * std::max(std::fabs(m.Sx), std::fabs(m.Sy)) > kMaxDevicePen;
}

bool FontTooLarge(const TPlay& p)
{
  const TFontObj* f = Font(p.Obj->State.Font);
  if (!f) return false;
  TMapping m = MappingOf(p.Obj);
  return std::fabs(double(f->Log.lfHeight) * m.Sy) > kMaxFontPixels ||
         std::fabs(double(f->Log.lfWidth) * m.Sx) > kMaxFontPixels;
}

bool PlayText(TPlay& p, const TRecordReader& r, bool wide)
{
  POINT ref;
  std::uint32_t chars = 0, offString = 0, options = 0, offDx = 0;
  if (!r.Point(36, ref) || !r.U32(44, chars) || !r.U32(48, offString) || !r.U32(52, options) || !r.U32(72, offDx))
    return false;
  RECT rect;
  bool hasRect = !(options & ETO_NO_RECT) && r.Rect(56, rect);
  std::uint64_t unit = wide ? 2 : 1;
  if (!r.Has(offString, std::uint64_t(chars) * unit) || chars > 0x7FFFFFFF) return false;
  if (!Reachable(p, &ref, 1) || (hasRect && !Reachable(p, rect)) || FontTooLarge(p)) return false;
  std::vector<int> dx;
  std::uint64_t dxEach = (options & ETO_PDY) ? 8 : 4;
  if (offDx && r.Has(offDx, std::uint64_t(chars) * dxEach)) {
    dx.resize(chars);
    for (std::uint32_t i = 0; i < chars; ++i) {
      std::int32_t v = 0;
      r.I32(offDx + std::size_t(i * dxEach), v);
      dx[i] = std::clamp(v, -kMaxLogical, kMaxLogical);
    }
  }
  UINT opts = options & (ETO_OPAQUE | ETO_CLIPPED);
  const RECT* rp = hasRect && (opts || rect.right > rect.left) ? &rect : nullptr;
  const int* dxp = dx.empty() ? nullptr : dx.data();
  if (wide) {
    std::u16string s(chars, u'\0');
    for (std::uint32_t i = 0; i < chars; ++i) {
      std::int16_t c = 0;
      r.I16(offString + std::size_t(i) * 2, c);
      s[i] = char16_t(std::uint16_t(c));
    }
    return Windows::ExtTextOutW(p.Dc, ref.x, ref.y, opts, rp, s.data(), int(chars), dxp);
  }
  std::string s(reinterpret_cast<const char*>(r.Data() + offString), chars);
  return Windows::ExtTextOut(p.Dc, ref.x, ref.y, opts, rp, s.data(), int(chars), dxp);
}

// A DIB inside the record as a bitmap handle (top-down), or null.
HBITMAP RecordBitmap(const TRecordReader& r, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                     std::uint32_t cbBits, bool& bottomUp)
{
  if (cbBmi < sizeof(BITMAPINFOHEADER) || !r.Has(offBmi, cbBmi) || !r.Has(offBits, cbBits)) return nullptr;
  BITMAPINFO bmi;
  std::memcpy(&bmi, r.Data() + offBmi, std::min<std::size_t>(cbBmi, sizeof(BITMAPINFO)));
  if (bmi.bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return nullptr;
  // The colour table follows the header as stored, whatever its stated size.
  if (bmi.bmiHeader.biSize > sizeof(BITMAPINFOHEADER)) {
    std::size_t extra = bmi.bmiHeader.biSize;
    std::fill(std::begin(bmi.bmiColors), std::end(bmi.bmiColors), RGBQUAD{});
    if (extra < cbBmi)
      std::memcpy(bmi.bmiColors, r.Data() + offBmi + extra,
                  std::min<std::size_t>(cbBmi - extra, sizeof(bmi.bmiColors)));
  }
  std::vector<std::uint32_t> px;
  int w = 0, h = 0;
  if (!DecodeDib(&bmi, r.Data() + offBits, cbBits, px, w, h)) return nullptr;
  bottomUp = bmi.bmiHeader.biHeight > 0;
  return MakeBitmap(w, h, std::move(px));
}

bool BlitFromRecord(TPlay& p, HBITMAP bmp, int x, int y, int w, int h, int xs, int ys, int ws, int hs, DWORD rop,
                    bool transparent = false)
{
  HDC src = Windows::CreateCompatibleDC(p.Dc);
  HGDIOBJ old = Windows::SelectObject(src, bmp);
  BOOL ok = transparent ? Windows::TransparentBlt(p.Dc, x, y, w, h, src, xs, ys, ws, hs, rop & 0xFFFFFF)
                        : Windows::StretchBlt(p.Dc, x, y, w, h, src, xs, ys, ws, hs, rop);
  Windows::SelectObject(src, old);
  Windows::DeleteDC(src);
  Windows::DeleteObject(bmp);
  return ok;
}

bool PlayBlt(TPlay& p, const TRecordReader& r, bool stretch, bool transparent = false)
{
  std::int32_t x = 0, y = 0, w = 0, h = 0, xs = 0, ys = 0, ws = 0, hs = 0;
  std::uint32_t rop = 0, offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0;
  if (!r.I32(24, x) || !r.I32(28, y) || !r.I32(32, w) || !r.I32(36, h) || !r.U32(40, rop) || !r.I32(44, xs) ||
      !r.I32(48, ys) || !r.U32(84, offBmi) || !r.U32(88, cbBmi) || !r.U32(92, offBits) || !r.U32(96, cbBits))
    return false;
  if (stretch && (!r.I32(100, ws) || !r.I32(104, hs))) return false;
  if (!stretch) {
    ws = w;
    hs = h;
  }
  w = Clamp(w);
  h = Clamp(h);
  ws = Clamp(ws);
  hs = Clamp(hs);
  RECT dest{Clamp(x), Clamp(y), Clamp(x) + w, Clamp(y) + h};
  if (!Reachable(p, dest)) return false;
  if (cbBmi == 0) return !transparent && Windows::PatBlt(p.Dc, dest.left, dest.top, w, h, rop);
  bool bottomUp = false;
  HBITMAP bmp = RecordBitmap(r, offBmi, cbBmi, offBits, cbBits, bottomUp);
  if (!bmp) return false;
  BITMAP bm;
  Windows::GetObject(bmp, &bm);
  // The source bits hold the source rectangle alone, or the whole source.
  if (xs < 0 || ys < 0 || std::int64_t(xs) + std::abs(ws) > bm.bmWidth || std::int64_t(ys) + std::abs(hs) > bm.bmHeight)
    xs = ys = 0;
  return BlitFromRecord(p, bmp, dest.left, dest.top, w, h, xs, ys, ws, hs, rop, transparent);
}

bool PlayDibits(TPlay& p, const TRecordReader& r, bool stretch)
{
  std::int32_t x = 0, y = 0, xs = 0, ys = 0, ws = 0, hs = 0, w = 0, h = 0;
  std::uint32_t offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0, rop = SRCCOPY;
  if (!r.I32(24, x) || !r.I32(28, y) || !r.I32(32, xs) || !r.I32(36, ys) || !r.I32(40, ws) || !r.I32(44, hs) ||
      !r.U32(48, offBmi) || !r.U32(52, cbBmi) || !r.U32(56, offBits) || !r.U32(60, cbBits))
    return false;
  if (stretch) {
    if (!r.U32(68, rop) || !r.I32(72, w) || !r.I32(76, h)) return false;
  } else {
    w = ws;
    h = hs;
  }
  w = Clamp(w);
  h = Clamp(h);
  ws = Clamp(ws);
  hs = Clamp(hs);
  xs = Clamp(xs);
  ys = Clamp(ys);
  RECT dest{Clamp(x), Clamp(y), Clamp(x) + w, Clamp(y) + h};
  if (!Reachable(p, dest)) return false;
  bool bottomUp = false;
  HBITMAP bmp = RecordBitmap(r, offBmi, cbBmi, offBits, cbBits, bottomUp);
  if (!bmp) return false;
  BITMAP bm;
  Windows::GetObject(bmp, &bm);
  // DIB source rows count from the bottom for bottom-up bits.
  int sy = bottomUp ? bm.bmHeight - ys - hs : ys;
  return BlitFromRecord(p, bmp, dest.left, dest.top, w, h, xs, sy, ws, hs, rop);
}

bool PlayPoly(TPlay& p, const TRecordReader& r, DWORD type)
{
  bool small = type >= EMR_POLYBEZIER16;
  std::uint32_t count = 0;
  std::vector<POINT> pts;
  if (!r.U32(24, count) || !ReadPoints(r, 28, count, small, pts)) return false;
  if (!Reachable(p, pts.data(), pts.size())) return false;
  int n = int(pts.size());
  switch (type) {
    case EMR_POLYGON:
    case EMR_POLYGON16: return Windows::Polygon(p.Dc, pts.data(), n);
    case EMR_POLYLINE:
    case EMR_POLYLINE16: return Windows::Polyline(p.Dc, pts.data(), n);
    case EMR_POLYLINETO:
    case EMR_POLYLINETO16: return Windows::PolylineTo(p.Dc, pts.data(), n);
    case EMR_POLYBEZIER:
    case EMR_POLYBEZIER16: {
      if (pts.empty() || (pts.size() - 1) % 3) return false;
      std::vector<POINT> line{pts[0]};
      Flatten(pts[0], pts.data() + 1, (pts.size() - 1) / 3, line);
      return Windows::Polyline(p.Dc, line.data(), int(line.size()));
    }
    case EMR_POLYBEZIERTO:
    case EMR_POLYBEZIERTO16: {
      if (pts.size() % 3) return false;
      POINT cur;
      Windows::GetCurrentPositionEx(p.Dc, &cur);
      std::vector<POINT> line;
      Flatten(cur, pts.data(), pts.size() / 3, line);
      return Windows::PolylineTo(p.Dc, line.data(), int(line.size()));
    }
  }
  return false;
}

bool PlayPolyPoly(TPlay& p, const TRecordReader& r, DWORD type)
{
  bool small = type == EMR_POLYPOLYGON16 || type == EMR_POLYPOLYLINE16;
  std::uint32_t polys = 0, total = 0;
  if (!r.U32(24, polys) || !r.U32(28, total) || !r.Has(32, std::uint64_t(polys) * 4)) return false;
  std::vector<int> counts(polys);
  std::uint64_t sum = 0;
  for (std::uint32_t i = 0; i < polys; ++i) {
    std::uint32_t c = 0;
    r.U32(32 + std::size_t(i) * 4, c);
    sum += c;
    counts[i] = int(std::min<std::uint32_t>(c, 0x7FFFFFFF));
  }
  if (sum > total) return false;
  std::vector<POINT> pts;
  if (!ReadPoints(r, 32 + std::size_t(polys) * 4, total, small, pts)) return false;
  if (!Reachable(p, pts.data(), pts.size())) return false;
  if (type == EMR_POLYPOLYGON || type == EMR_POLYPOLYGON16)
    return Windows::PolyPolygon(p.Dc, pts.data(), counts.data(), int(polys));
  std::size_t at = 0;
  for (int c : counts) {
    Windows::Polyline(p.Dc, pts.data() + at, c);
    at += std::size_t(c);
  }
  return true;
}

bool PlayClip(TPlay& p, const TRecordReader& r)
{
  std::uint32_t cb = 0, mode = 0;
  if (!r.U32(8, cb) || !r.U32(12, mode)) return false;
  TDCState& s = p.Obj->State;
  if (mode == RGN_COPY && cb < 32) {
    s.Clip = p.BaseClip;
    return true;
  }
  TRegionData rgn;
  if (!ReadRegion(r, 16, cb, rgn, &p)) return false;
  HRGN h = RegionHandle(rgn);
  int kind = Windows::ExtSelectClipRgn(p.Dc, h, int(mode));
  Windows::DeleteObject(h);
  // The caller's clip stays a limit the metafile cannot lift.
  if (kind != ERROR && p.BaseClip && s.Clip) s.Clip = TRegionData::Combine(*s.Clip, *p.BaseClip, RGN_AND);
  return kind != ERROR;
}

bool PlayRegionRecord(TPlay& p, const TRecordReader& r, DWORD type)
{
  std::uint32_t cb = 0, brush = 0;
  std::int32_t w = 0, h = 0;
  if (!r.U32(24, cb)) return false;
  std::size_t dataOff = 28;
  if (type == EMR_FILLRGN || type == EMR_FRAMERGN) {
    if (!r.U32(28, brush)) return false;
    dataOff = 32;
  }
  if (type == EMR_FRAMERGN) {
    if (!r.I32(32, w) || !r.I32(36, h)) return false;
    dataOff = 40;
  }
  TRegionData rgn;
  if (!ReadRegion(r, dataOff, cb, rgn, nullptr)) return false;
  RECT b = rgn.Bounds();
  if (!Reachable(p, b)) return false;
  HRGN hr = RegionHandle(rgn);
  BOOL ok = FALSE;
  HBRUSH br = static_cast<HBRUSH>(ObjectAt(p, brush));
  switch (type) {
    case EMR_FILLRGN: ok = br && Windows::FillRgn(p.Dc, hr, br); break;
    case EMR_FRAMERGN:
      ok = br && Windows::FrameRgn(p.Dc, hr, br, std::clamp(w, 0, 4096), std::clamp(h, 0, 4096));
      break;
    case EMR_INVERTRGN: ok = Windows::InvertRgn(p.Dc, hr); break;
    case EMR_PAINTRGN: ok = Windows::PaintRgn(p.Dc, hr); break;
  }
  Windows::DeleteObject(hr);
  return ok;
}

bool PlayRecord(TPlay& p, const std::uint8_t* data, std::size_t size)
{
  TRecordReader r(data, size);
  std::uint32_t type = 0;
  if (!r.U32(0, type)) return false;
  HDC dc = p.Dc;
  switch (type) {
    case EMR_LINETO:
    case EMR_RECTANGLE:
    case EMR_ELLIPSE:
    case EMR_ROUNDRECT:
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYLINETO:
    case EMR_POLYBEZIER:
    case EMR_POLYBEZIERTO:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYLINETO16:
    case EMR_POLYBEZIER16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON16:
    case EMR_POLYPOLYLINE16:
      if (PenTooWide(p)) return false;
      break;
  }
  std::uint32_t u = 0;
  std::int32_t a = 0, b = 0;
  POINT pt;
  RECT rc;
  switch (type) {
    // ---- State
    case EMR_SAVEDC:
      if (!Windows::SaveDC(dc)) return false;
      ++p.Depth;
      return true;
    case EMR_RESTOREDC: {
      if (!r.I32(8, a)) return false;
      // Only the metafile's own saves can be restored.
      int level = a < 0 ? p.Depth + 1 + a : a;
      if (level < 1 || level > p.Depth) return false;
      if (!Windows::RestoreDC(dc, p.SaveBase + level)) return false;
      p.Depth = level - 1;
      return true;
    }
    case EMR_SETMAPMODE: {
      if (!r.U32(8, u) || !Windows::SetMapMode(dc, int(u))) return false;
      // Fixed modes measure in the reference device's pixels, whatever the target's resolution.
      double perMm = 0;
      switch (u) {
        case MM_LOMETRIC: perMm = 10; break;
        case MM_HIMETRIC: perMm = 100; break;
        case MM_LOENGLISH: perMm = 100 / 25.4; break;
        case MM_HIENGLISH: perMm = 1000 / 25.4; break;
        case MM_TWIPS: perMm = 1440 / 25.4; break;
      }
      if (perMm > 0) {
        constexpr int kUnit = 100000;
        p.Obj->State.WinExt = SIZE{kUnit, kUnit};
        p.Obj->State.VpExt = SIZE{std::max<LONG>(1, LONG(std::lround(p.PxPerMmX / perMm * kUnit))),
                                  -std::max<LONG>(1, LONG(std::lround(p.PxPerMmY / perMm * kUnit)))};
      }
      return true;
    }
    case EMR_SETBKMODE: return r.U32(8, u) && (u == TRANSPARENT || u == OPAQUE) && Windows::SetBkMode(dc, int(u));
    case EMR_SETPOLYFILLMODE:
      return r.U32(8, u) && (u == ALTERNATE || u == WINDING) && Windows::SetPolyFillMode(dc, int(u));
    case EMR_SETROP2: return r.U32(8, u) && u >= R2_BLACK && u <= R2_WHITE && Windows::SetROP2(dc, int(u));
    case EMR_SETSTRETCHBLTMODE: return r.U32(8, u) && Windows::SetStretchBltMode(dc, int(u));
    case EMR_SETTEXTALIGN: return r.U32(8, u) && Windows::SetTextAlign(dc, u) != GDI_ERROR;
    case EMR_SETTEXTCOLOR: return r.U32(8, u) && Windows::SetTextColor(dc, u & 0xFFFFFF) != CLR_INVALID;
    case EMR_SETBKCOLOR: return r.U32(8, u) && Windows::SetBkColor(dc, u & 0xFFFFFF) != CLR_INVALID;
    case EMR_SETARCDIRECTION: return r.U32(8, u) && Windows::SetArcDirection(dc, int(u));
    case EMR_SETWINDOWEXTEX:
      return r.I32(8, a) && r.I32(12, b) && Windows::SetWindowExtEx(dc, Clamp(a), Clamp(b), nullptr);
    case EMR_SETWINDOWORGEX:
      return r.I32(8, a) && r.I32(12, b) && Windows::SetWindowOrgEx(dc, Clamp(a), Clamp(b), nullptr);
    case EMR_SETVIEWPORTEXTEX:
      return r.I32(8, a) && r.I32(12, b) && Windows::SetViewportExtEx(dc, Clamp(a), Clamp(b), nullptr);
    case EMR_SETVIEWPORTORGEX:
      return r.I32(8, a) && r.I32(12, b) && Windows::SetViewportOrgEx(dc, Clamp(a), Clamp(b), nullptr);
    case EMR_SETBRUSHORGEX:
      return r.I32(8, a) && r.I32(12, b) && Windows::SetBrushOrgEx(dc, Clamp(a), Clamp(b), nullptr);
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX: {
      std::int32_t xn = 0, xd = 0, yn = 0, yd = 0;
      if (!r.I32(8, xn) || !r.I32(12, xd) || !r.I32(16, yn) || !r.I32(20, yd) || !xd || !yd) return false;
      SIZE e;
      bool vp = type == EMR_SCALEVIEWPORTEXTEX;
      vp ? Windows::GetViewportExtEx(dc, &e) : Windows::GetWindowExtEx(dc, &e);
      LONG cx = Clamp(LONG(std::clamp<std::int64_t>(std::int64_t(e.cx) * xn / xd, -kMaxLogical, kMaxLogical)));
      LONG cy = Clamp(LONG(std::clamp<std::int64_t>(std::int64_t(e.cy) * yn / yd, -kMaxLogical, kMaxLogical)));
      return vp ? Windows::SetViewportExtEx(dc, cx, cy, nullptr) : Windows::SetWindowExtEx(dc, cx, cy, nullptr);
    }
    case EMR_MOVETOEX: return r.Point(8, pt) && Windows::MoveToEx(dc, Clamp(pt.x), Clamp(pt.y), nullptr);
    // ---- Clipping
    case EMR_INTERSECTCLIPRECT:
      return r.Rect(8, rc) && Reachable(p, rc) &&
             Windows::IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom) != ERROR;
    case EMR_EXCLUDECLIPRECT:
      return r.Rect(8, rc) && Reachable(p, rc) &&
             Windows::ExcludeClipRect(dc, rc.left, rc.top, rc.right, rc.bottom) != ERROR;
    case EMR_OFFSETCLIPRGN: {
      if (!r.Point(8, pt) || !Reachable(p, &pt, 1)) return false;
      Windows::OffsetClipRgn(dc, pt.x, pt.y);
      if (p.BaseClip && p.Obj->State.Clip)
        p.Obj->State.Clip = TRegionData::Combine(*p.Obj->State.Clip, *p.BaseClip, RGN_AND);
      return true;
    }
    case EMR_EXTSELECTCLIPRGN: return PlayClip(p, r);
    // ---- Objects
    case EMR_SELECTOBJECT: {
      if (!r.U32(8, u)) return false;
      HGDIOBJ o = ObjectAt(p, u);
      return o && Windows::SelectObject(dc, o);
    }
    case EMR_DELETEOBJECT:
      if (!r.U32(8, u)) return false;
      DeleteAt(p, u);
      return true;
    case EMR_CREATEPEN: {
      std::uint32_t style = 0, color = 0;
      if (!r.U32(8, u) || !r.U32(12, style) || !r.I32(16, a) || !r.U32(24, color)) return false;
      Store(p, u, Windows::CreatePen(int(style & PS_STYLE_MASK), std::clamp(a, 0, kMaxPenWidth), color & 0xFFFFFF));
      return true;
    }
    case EMR_EXTCREATEPEN: {
      std::uint32_t style = 0, width = 0, brushStyle = 0, color = 0, hatch = 0;
      if (!r.U32(8, u) || !r.U32(28, style) || !r.U32(32, width) || !r.U32(36, brushStyle) || !r.U32(40, color) ||
          !r.U32(44, hatch))
        return false;
      // User dash styles are drawn solid.
      if ((style & PS_STYLE_MASK) == PS_USERSTYLE) style &= ~PS_STYLE_MASK;
      LOGBRUSH lb;
      lb.lbStyle = brushStyle == BS_NULL ? BS_NULL : BS_SOLID;
      lb.lbColor = color & 0xFFFFFF;
      lb.lbHatch = hatch;
      Store(p, u, Windows::ExtCreatePen(style, std::min<std::uint32_t>(width, kMaxPenWidth), lb));
      return true;
    }
    case EMR_CREATEBRUSHINDIRECT: {
      std::uint32_t style = 0, color = 0, hatch = 0;
      if (!r.U32(8, u) || !r.U32(12, style) || !r.U32(16, color) || !r.U32(20, hatch)) return false;
      LOGBRUSH lb;
      lb.lbStyle = style == BS_NULL || style == BS_HATCHED ? style : BS_SOLID;
      lb.lbColor = color & 0xFFFFFF;
      lb.lbHatch = std::min<std::uint32_t>(hatch, HS_DIAGCROSS);
      Store(p, u, Windows::CreateBrushIndirect(lb));
      return true;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
      LOGFONTA lf;
      std::uint8_t bytes[8] = {};
      if (!r.U32(8, u) || !r.I32(12, lf.lfHeight) || !r.I32(16, lf.lfWidth) || !r.I32(20, lf.lfEscapement) ||
          !r.I32(24, lf.lfOrientation) || !r.I32(28, lf.lfWeight) || !r.Has(32, 8 + 64))
        return false;
      std::memcpy(bytes, r.Data() + 32, 8);
      lf.lfHeight = std::clamp<LONG>(lf.lfHeight, -kMaxLogical, kMaxLogical);
      lf.lfWidth = std::clamp<LONG>(lf.lfWidth, -kMaxLogical, kMaxLogical);
      lf.lfItalic = bytes[0];
      lf.lfUnderline = bytes[1];
      lf.lfStrikeOut = bytes[2];
      lf.lfCharSet = bytes[3];
      lf.lfOutPrecision = bytes[4];
      lf.lfClipPrecision = bytes[5];
      lf.lfQuality = bytes[6];
      lf.lfPitchAndFamily = bytes[7];
      FaceName(r, 40, lf.lfFaceName);
      Store(p, u, Windows::CreateFontIndirect(lf));
      return true;
    }
    // ---- Text
    case EMR_EXTTEXTOUTW: return PlayText(p, r, true);
    case EMR_EXTTEXTOUTA: return PlayText(p, r, false);
    // ---- Shapes
    case EMR_LINETO: return r.Point(8, pt) && Reachable(p, &pt, 1) && Windows::LineTo(dc, pt.x, pt.y);
    case EMR_SETPIXELV:
      return r.Point(8, pt) && r.U32(16, u) && Reachable(p, &pt, 1) && Windows::SetPixelV(dc, pt.x, pt.y, u & 0xFFFFFF);
    case EMR_RECTANGLE:
      return r.Rect(8, rc) && Reachable(p, rc) && Windows::Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
    case EMR_ELLIPSE:
      return r.Rect(8, rc) && Reachable(p, rc, kMaxCurve) && Windows::Ellipse(dc, rc.left, rc.top, rc.right, rc.bottom);
    case EMR_ROUNDRECT: {
      SIZE c;
      if (!r.Rect(8, rc) || !r.I32(24, c.cx) || !r.I32(28, c.cy) || !Reachable(p, rc, kMaxCurve)) return false;
      return Windows::RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, Clamp(c.cx), Clamp(c.cy));
    }
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE: {
      POINT s, e;
      if (!r.Rect(8, rc) || !r.Point(24, s) || !r.Point(32, e) || !Reachable(p, rc, kMaxCurve)) return false;
      s = POINT{Clamp(s.x), Clamp(s.y)};
      e = POINT{Clamp(e.x), Clamp(e.y)};
      auto f = type == EMR_ARC ? &Windows::Arc : type == EMR_CHORD ? &Windows::Chord : &Windows::Pie;
      return f(dc, rc.left, rc.top, rc.right, rc.bottom, s.x, s.y, e.x, e.y);
    }
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYLINETO:
    case EMR_POLYBEZIER:
    case EMR_POLYBEZIERTO:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYLINETO16:
    case EMR_POLYBEZIER16:
    case EMR_POLYBEZIERTO16: return PlayPoly(p, r, type);
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON16:
    case EMR_POLYPOLYLINE16: return PlayPolyPoly(p, r, type);
    case EMR_FILLRGN:
    case EMR_FRAMERGN:
    case EMR_INVERTRGN:
    case EMR_PAINTRGN: return PlayRegionRecord(p, r, type);
    // ---- Bitmaps
    case EMR_BITBLT: return PlayBlt(p, r, false);
    case EMR_STRETCHBLT: return PlayBlt(p, r, true);
    case EMR_TRANSPARENTBLT: return PlayBlt(p, r, true, true);
    case EMR_STRETCHDIBITS: return PlayDibits(p, r, true);
    case 80: /* set DIB bits to device */ return PlayDibits(p, r, false);
    default: return false;  // not drawn by this layer
  }
}

// The frame in the reference device's pixels.
bool FramePixels(const ENHMETAHEADER& h, const std::vector<std::uint8_t>& bytes, double& l, double& t, double& r,
                 double& b)
{
  double ux = 0, uy = 0;  // pixels per 0.01 mm
  std::int32_t umx = 0, umy = 0;
  TRecordReader rd(bytes.data(), h.nSize);
  if (h.nSize >= 108 && rd.I32(100, umx) && rd.I32(104, umy) && umx > 0 && umy > 0) {
    ux = double(h.szlDevice.cx) * 10.0 / umx;
    uy = double(h.szlDevice.cy) * 10.0 / umy;
  } else if (h.szlMillimeters.cx > 0 && h.szlMillimeters.cy > 0) {
    ux = double(h.szlDevice.cx) / (h.szlMillimeters.cx * 100.0);
    uy = double(h.szlDevice.cy) / (h.szlMillimeters.cy * 100.0);
  }
  if (ux > 0 && uy > 0 && h.rclFrame.right > h.rclFrame.left && h.rclFrame.bottom > h.rclFrame.top) {
    l = h.rclFrame.left * ux;
    t = h.rclFrame.top * uy;
    r = h.rclFrame.right * ux;
    b = h.rclFrame.bottom * uy;
    return true;
  }
  // No usable frame: the bounds (inclusive) stand in for it.
  const RECT& bd = h.rclBounds;
  if (bd.right < bd.left || bd.bottom < bd.top || std::int64_t(bd.right) - bd.left >= kMaxLogical ||
      std::int64_t(bd.bottom) - bd.top >= kMaxLogical) {
    // Nothing drawn (or nothing sane): any scale will do.
    l = t = 0;
    r = b = 1;
    return true;
  }
  l = bd.left;
  t = bd.top;
  r = double(bd.right) + 1;
  b = double(bd.bottom) + 1;
  return true;
}

bool BeginPlay(TPlay& p, HDC dc, TEnhMetaObj* m, const RECT& rect)
{
  TDCObj* obj = DC(dc);
  if (!obj) return false;
  double fl, ft, fr, fb;
  if (!FramePixels(m->Header, m->Bytes, fl, ft, fr, fb)) return false;
  TMapping outer = MappingOf(obj);
  double dl = rect.left * outer.Sx + outer.Ox, dt = rect.top * outer.Sy + outer.Oy;
  double dr = rect.right * outer.Sx + outer.Ox, db = rect.bottom * outer.Sy + outer.Oy;
  double sx = (dr - dl) / (fr - fl), sy = (db - dt) / (fb - ft);
  if (!std::isfinite(sx) || !std::isfinite(sy) || sx == 0 || sy == 0) return false;
  // A play at the recorded size maps exactly: no rounding drift in positions or font sizes.
  auto snap = [](double v) { return std::fabs(v - std::round(v)) < 1e-7 ? std::round(v) : v; };
  sx = snap(sx);
  sy = snap(sy);
  p.Dc = dc;
  p.Obj = obj;
  p.Handles.assign(m->Header.nHandles, nullptr);
  {
    const ENHMETAHEADER& h = m->Header;
    std::int32_t umx = 0, umy = 0;
    TRecordReader rd(m->Bytes.data(), h.nSize);
    if (h.nSize >= 108 && rd.I32(100, umx) && rd.I32(104, umy) && umx > 0 && umy > 0 && h.szlDevice.cx > 0 &&
        h.szlDevice.cy > 0) {
      p.PxPerMmX = h.szlDevice.cx * 1000.0 / umx;
      p.PxPerMmY = h.szlDevice.cy * 1000.0 / umy;
    } else if (h.szlMillimeters.cx > 0 && h.szlMillimeters.cy > 0 && h.szlDevice.cx > 0 && h.szlDevice.cy > 0) {
      p.PxPerMmX = double(h.szlDevice.cx) / h.szlMillimeters.cx;
      p.PxPerMmY = double(h.szlDevice.cy) / h.szlMillimeters.cy;
    }
    // A resolution beyond any device is a broken header: keep the screen's.
    if (!(p.PxPerMmX > 0.01 && p.PxPerMmX < 1000 && p.PxPerMmY > 0.01 && p.PxPerMmY < 1000))
      p.PxPerMmX = p.PxPerMmY = 96 / 25.4;
  }
  p.SaveBase = Windows::SaveDC(dc);
  p.OldPlayMap = obj->PlayMap;
  p.OldSx = obj->PlaySx;
  p.OldSy = obj->PlaySy;
  p.OldOx = obj->PlayOx;
  p.OldOy = obj->PlayOy;
  // The metafile starts from a fresh drawing state; the caller's clip stays.
  TDCState fresh;
  fresh.Pen = static_cast<HPEN>(Stock(BLACK_PEN));
  fresh.Brush = static_cast<HBRUSH>(Stock(WHITE_BRUSH));
  fresh.Font = static_cast<HFONT>(Stock(SYSTEM_FONT));
  fresh.Bitmap = obj->State.Bitmap;
  fresh.Clip = obj->State.Clip;
  p.BaseClip = obj->State.Clip;
  obj->State = fresh;
  obj->PlayMap = true;
  obj->PlaySx = sx;
  obj->PlaySy = sy;
  obj->PlayOx = snap(dl - fl * sx);
  obj->PlayOy = snap(dt - ft * sy);
  tPlays.push_back(&p);
  return true;
}

void EndPlay(TPlay& p)
{
  Windows::RestoreDC(p.Dc, p.SaveBase);
  p.Obj->PlayMap = p.OldPlayMap;
  p.Obj->PlaySx = p.OldSx;
  p.Obj->PlaySy = p.OldSy;
  p.Obj->PlayOx = p.OldOx;
  p.Obj->PlayOy = p.OldOy;
  for (HGDIOBJ& h : p.Handles)
    if (h) Windows::DeleteObject(h);
  tPlays.erase(std::find(tPlays.begin(), tPlays.end(), &p));
}

}  // namespace
}  // namespace GdiInternal

namespace Windows {

using namespace GdiInternal;

BOOL EnumEnhMetaFile(HDC dc, HENHMETAFILE mf, ENHMFENUMPROC proc, LPARAM data, const RECT* rect)
{
  TEnhMetaObj* m = EnhMeta(mf);
  if (!m || (dc && !rect) || (!dc && !proc)) return FALSE;
  TPlay p;
  if (dc && !BeginPlay(p, dc, m, *rect)) return FALSE;
  if (!dc) p.Handles.assign(m->Header.nHandles, nullptr);
  // The bytes are copied: a callback may delete the metafile while it is walked.
  std::vector<std::uint8_t> bytes = m->Bytes;
  int objCount = int(p.Handles.size());
  auto* table = reinterpret_cast<HANDLETABLE*>(p.Handles.data());
  BOOL result = TRUE;
  for (std::size_t pos = 0; pos + 8 <= bytes.size();) {
    std::uint32_t type = 0, size = 0;
    std::memcpy(&type, bytes.data() + pos, 4);
    std::memcpy(&size, bytes.data() + pos + 4, 4);
    const auto* rec = reinterpret_cast<const ENHMETARECORD*>(bytes.data() + pos);
    if (proc) {
      if (!proc(dc, table, rec, objCount, data)) {
        result = FALSE;
        break;
      }
    } else {
      PlayRecord(p, bytes.data() + pos, size);
    }
    pos += size;
    if (type == EMR_EOF) break;
  }
  if (dc) EndPlay(p);
  return result;
}

BOOL PlayEnhMetaFile(HDC dc, HENHMETAFILE mf, const RECT* rect)
{
  if (!DC(dc) || !rect) return FALSE;
  return EnumEnhMetaFile(dc, mf, nullptr, 0, rect);
}

BOOL PlayEnhMetaFileRecord(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record, UINT objCount)
{
  if (!DC(dc) || !record || record->nSize < 8) return FALSE;
  for (TPlay* p : tPlays)
    if (p->Dc == dc && reinterpret_cast<HANDLETABLE*>(p->Handles.data()) == table && objCount == p->Handles.size())
      return PlayRecord(*p, reinterpret_cast<const std::uint8_t*>(record), record->nSize) ? TRUE : FALSE;
  return FALSE;
}

}  // namespace Windows

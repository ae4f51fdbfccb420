// Recording drawing calls as metafile records, and the recording DC's life.
//
// CreateEnhMetaFile → drawing calls reach TMetaSink (Sync, then the call's record) →
// CloseEnhMetaFile → Finish (header with bounds and frame, records, end record).
// Fixed mapping modes are recorded as MM_ANISOTROPIC with their extents, so that a play on a
// device of another resolution keeps the recorded scale.
#include "platform/gdi/meta/MetaSink.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/Raster.h"
#include "platform/gdi/draw/StrokeInternal.h"
#include "platform/gdi/image/ImageData.h"
#include "platform/gdi/meta/EnhMetaFile.h"
#include "platform/gdi/meta/MetaFormat.h"
#include "platform/gdi/text/TextCore.h"
#include "platform/rtl/AnsiStrings.h"

namespace GdiInternal {

namespace {
constexpr std::uint32_t kTempSlot = 7, kHandles = 8;
constexpr std::uint32_t kHeaderSize = 108;

int StockIndex(HGDIOBJ h)
{
  for (int i = WHITE_BRUSH; i <= DC_PEN; ++i)
    if (i != 9 && Stock(i) == h) return i;
  return -1;
}

template <class T>
void AppendBytes(std::vector<std::uint8_t>& key, const T& v)
{
  const auto* p = reinterpret_cast<const std::uint8_t*>(&v);
  key.insert(key.end(), p, p + sizeof(T));
}

bool Fits16(const POINT* pts, int n)
{
  for (int i = 0; i < n; ++i)
    if (pts[i].x < -32768 || pts[i].x > 32767 || pts[i].y < -32768 || pts[i].y > 32767) return false;
  return true;
}
}  // namespace

TMetaSink::TMetaSink(int refWidth, int refHeight, int dpi, const RECT* frame, const char* fileName,
                     const char16_t* description)
    : FRefW(refWidth), FRefH(refHeight), FDpi(dpi)
{
  if (frame) FFrame = *frame;
  if (fileName) FFileName = fileName;
  if (description) {
    // Two zero-terminated parts, then the closing zero.
    const char16_t* p = description;
    for (int part = 0; part < 2; ++part) {
      while (*p) FDescription.push_back(*p++);
      FDescription.push_back(0);
      ++p;
      if (part == 0 && !*p) break;
    }
    FDescription.push_back(0);
  }
}

// ---- Writing ------------------------------------------------------------------------------

std::size_t TMetaSink::Begin(DWORD type)
{
  std::size_t start = FOut.size();
  Put32(type);
  Put32(0);
  return start;
}

void TMetaSink::End(std::size_t start)
{
  while (FOut.size() % 4) FOut.push_back(0);
  std::uint32_t size = std::uint32_t(FOut.size() - start);
  std::memcpy(FOut.data() + start + 4, &size, 4);
  ++FRecords;
}

void TMetaSink::Put32(std::uint32_t v)
{
  const auto* p = reinterpret_cast<const std::uint8_t*>(&v);
  FOut.insert(FOut.end(), p, p + 4);
}

void TMetaSink::PutRect(const RECT& r)
{
  Put32(std::uint32_t(r.left));
  Put32(std::uint32_t(r.top));
  Put32(std::uint32_t(r.right));
  Put32(std::uint32_t(r.bottom));
}

void TMetaSink::Simple(DWORD type, std::initializer_list<std::uint32_t> values)
{
  std::size_t s = Begin(type);
  for (std::uint32_t v : values) Put32(v);
  End(s);
}

void TMetaSink::WriteRegion(const TRegionData& rgn)
{
  std::vector<RECT> rects = rgn.Rects();
  RECT b = rgn.Bounds();
  Put32(32);
  Put32(1);
  Put32(std::uint32_t(rects.size()));
  Put32(std::uint32_t(rects.size() * 16));
  PutRect(b);
  for (const RECT& r : rects) PutRect(r);
}

RECT TMetaSink::AddBounds(const RECT& d)
{
  if (d.right <= d.left || d.bottom <= d.top) return RECT{0, 0, -1, -1};
  RECT inc{d.left, d.top, d.right - 1, d.bottom - 1};  // stored inclusive
  if (FBounds.right < FBounds.left)
    FBounds = inc;
  else
    FBounds = RECT{std::min(FBounds.left, inc.left), std::min(FBounds.top, inc.top), std::max(FBounds.right, inc.right),
                   std::max(FBounds.bottom, inc.bottom)};
  return inc;
}

RECT TMetaSink::AddLogicalBounds(TDCObj* dc, const POINT* pts, int count, bool withPen)
{
  if (count <= 0) return RECT{0, 0, -1, -1};
  LONG l = 0, t = 0, r = 0, b = 0;
  for (int i = 0; i < count; ++i) {
    POINT p = ToDevice(dc, pts[i].x, pts[i].y);
    if (i == 0) {
      l = r = p.x;
      t = b = p.y;
    }
    l = std::min(l, p.x);
    r = std::max(r, p.x);
    t = std::min(t, p.y);
    b = std::max(b, p.y);
  }
  int m = 1;
  if (withPen) {
    const TPenObj* pen = SelectedPen(dc);
    if (pen) m += DevicePenWidth(dc, pen) / 2 + 1;
  }
  return AddBounds(RECT{l - m, t - m, r + m, b + m});
}

// ---- State --------------------------------------------------------------------------------

void TMetaSink::SyncObject(TDCObj* dc, unsigned kind)
{
  const TDCState& s = dc->State;
  HGDIOBJ h = kind == kPen ? HGDIOBJ(s.Pen) : kind == kBrush ? HGDIOBJ(s.Brush) : HGDIOBJ(s.Font);
  int stock = StockIndex(h);
  std::vector<std::uint8_t> key;
  if (stock >= 0 && stock != DC_PEN && stock != DC_BRUSH) {
    key = {0xFF, std::uint8_t(stock)};
  } else if (kind == kPen) {
    const TPenObj* p = SelectedPen(dc);
    UINT style = p ? p->Style : UINT(PS_SOLID);
    int width = p ? p->Width : 1;
    COLORREF color = p ? PenColor(dc, p) : 0;
    AppendBytes(key, style);
    AppendBytes(key, width);
    AppendBytes(key, color);
  } else if (kind == kBrush) {
    COLORREF dcColor = 0;
    const TBrushObj* b = SelectedBrush(dc, &dcColor);
    // Pattern brushes are recorded in their colour.
    UINT style = b ? (b->Style == BS_NULL || b->Style == BS_HATCHED ? b->Style : BS_SOLID) : BS_SOLID;
    COLORREF color = b ? (stock == DC_BRUSH ? dcColor : b->Color) : 0xFFFFFF;
    std::uint32_t hatch = b ? std::uint32_t(b->Hatch) : 0;
    AppendBytes(key, style);
    AppendBytes(key, color);
    AppendBytes(key, hatch);
  } else {
    const TFontObj* f = Font(s.Font);
    LOGFONTA lf = f ? f->Log : LOGFONTA();
    AppendBytes(key, lf);
  }
  if (key == FM.Keys[kind]) return;
  FM.Keys[kind] = key;
  int old = FM.Slot[kind];
  if (key.size() == 2 && key[0] == 0xFF) {
    Simple(EMR_SELECTOBJECT, {ENHMETA_STOCK_OBJECT | key[1]});
    FM.Slot[kind] = 0;
  } else {
    int base = 1 + 2 * int(kind);
    int slot = old == base ? base + 1 : base;
    std::size_t st = 0;
    if (kind == kPen) {
      UINT style;
      int width;
      COLORREF color;
      std::memcpy(&style, key.data(), 4);
      std::memcpy(&width, key.data() + 4, 4);
      std::memcpy(&color, key.data() + 8, 4);
      if (style & (PS_TYPE_MASK | PS_ENDCAP_MASK | PS_JOIN_MASK)) {
        st = Begin(EMR_EXTCREATEPEN);
        for (std::uint32_t v : {std::uint32_t(slot), 0u, 0u, 0u, 0u, std::uint32_t(style), std::uint32_t(width),
                                std::uint32_t(BS_SOLID), std::uint32_t(color), 0u, 0u})
          Put32(v);
      } else {
        st = Begin(EMR_CREATEPEN);
        for (std::uint32_t v :
             {std::uint32_t(slot), std::uint32_t(style), std::uint32_t(width), 0u, std::uint32_t(color)})
          Put32(v);
      }
    } else if (kind == kBrush) {
      st = Begin(EMR_CREATEBRUSHINDIRECT);
      Put32(std::uint32_t(slot));
      FOut.insert(FOut.end(), key.begin(), key.end());
    } else {
      LOGFONTA lf;
      std::memcpy(&lf, key.data(), sizeof lf);
      st = Begin(EMR_EXTCREATEFONTINDIRECTW);
      Put32(std::uint32_t(slot));
      for (LONG v : {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight}) Put32(std::uint32_t(v));
      for (BYTE v : {lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision, lf.lfClipPrecision,
                     lf.lfQuality, lf.lfPitchAndFamily})
        FOut.push_back(v);
      WideString face = System::AnsiToWide(AnsiString(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)));
      face.resize(LF_FACESIZE - 1);
      face.push_back(0);
      for (char16_t c : face) {
        FOut.push_back(std::uint8_t(c & 0xFF));
        FOut.push_back(std::uint8_t(c >> 8));
      }
      // The rest of the extended description (full name, style, script...) left empty.
      FOut.insert(FOut.end(), 320 - 92, 0);
    }
    End(st);
    Simple(EMR_SELECTOBJECT, {std::uint32_t(slot)});
    FM.Slot[kind] = slot;
  }
  if (old) Simple(EMR_DELETEOBJECT, {std::uint32_t(old)});
}

void TMetaSink::Sync(TDCObj* dc, bool deviceSpace, bool position)
{
  const TDCState& s = dc->State;
  // The mapping: device space for the raster code's own calls, else the DC's.
  int mode = MM_TEXT;
  POINT wo, vo;
  SIZE we{1, 1}, ve{1, 1};
  if (!deviceSpace) {
    wo = s.WinOrg;
    vo = s.VpOrg;
    if (s.MapMode != MM_TEXT) {
      mode = MM_ANISOTROPIC;
      we = s.WinExt;
      ve = s.VpExt;
    }
  }
  if (mode != FM.MapMode) {
    Simple(EMR_SETMAPMODE, {std::uint32_t(mode)});
    if (FM.MapMode == MM_TEXT || mode == MM_TEXT) FM.WinExt = FM.VpExt = SIZE{1, 1};
    FM.MapMode = mode;
  }
  if (mode == MM_ANISOTROPIC && !(we == FM.WinExt)) {
    Simple(EMR_SETWINDOWEXTEX, {std::uint32_t(we.cx), std::uint32_t(we.cy)});
    FM.WinExt = we;
  }
  if (mode == MM_ANISOTROPIC && !(ve == FM.VpExt)) {
    Simple(EMR_SETVIEWPORTEXTEX, {std::uint32_t(ve.cx), std::uint32_t(ve.cy)});
    FM.VpExt = ve;
  }
  if (!(wo == FM.WinOrg)) {
    Simple(EMR_SETWINDOWORGEX, {std::uint32_t(wo.x), std::uint32_t(wo.y)});
    FM.WinOrg = wo;
  }
  if (!(vo == FM.VpOrg)) {
    Simple(EMR_SETVIEWPORTORGEX, {std::uint32_t(vo.x), std::uint32_t(vo.y)});
    FM.VpOrg = vo;
  }
  if (!(s.BrushOrg == FM.BrushOrg)) {
    Simple(EMR_SETBRUSHORGEX, {std::uint32_t(s.BrushOrg.x), std::uint32_t(s.BrushOrg.y)});
    FM.BrushOrg = s.BrushOrg;
  }
  auto set = [&](auto& mirror, auto value, DWORD type) {
    if (mirror == value) return;
    Simple(type, {std::uint32_t(value)});
    mirror = value;
  };
  set(FM.TextColor, s.TextColor, EMR_SETTEXTCOLOR);
  set(FM.BkColor, s.BkColor, EMR_SETBKCOLOR);
  set(FM.BkMode, s.BkMode, EMR_SETBKMODE);
  set(FM.Rop2, s.Rop2, EMR_SETROP2);
  set(FM.PolyFill, s.PolyFillMode, EMR_SETPOLYFILLMODE);
  set(FM.Stretch, s.StretchMode, EMR_SETSTRETCHBLTMODE);
  set(FM.ArcDir, s.ArcDirection, EMR_SETARCDIRECTION);
  set(FM.Align, s.TextAlign, EMR_SETTEXTALIGN);
  if (!(s.Clip == FM.Clip)) {
    std::size_t st = Begin(EMR_EXTSELECTCLIPRGN);
    if (s.Clip) {
      Put32(std::uint32_t(32 + s.Clip->Rects().size() * 16));
      Put32(RGN_COPY);
      WriteRegion(*s.Clip);
    } else {
      Put32(0);
      Put32(RGN_COPY);
    }
    End(st);
    FM.Clip = s.Clip;
  }
  for (unsigned k : {kPen, kBrush, kFont}) SyncObject(dc, k);
  if (position && !(s.CurPos == FM.Cur)) {
    Simple(EMR_MOVETOEX, {std::uint32_t(s.CurPos.x), std::uint32_t(s.CurPos.y)});
    FM.Cur = s.CurPos;
  }
}

std::uint32_t TMetaSink::TempBrush(TDCObj* dc, HBRUSH brush)
{
  int stock = StockIndex(brush);
  if (stock >= 0 && stock != DC_BRUSH) return ENHMETA_STOCK_OBJECT | std::uint32_t(stock);
  const TBrushObj* b = Brush(brush);
  UINT style = b ? (b->Style == BS_NULL || b->Style == BS_HATCHED ? b->Style : BS_SOLID) : BS_NULL;
  COLORREF color = stock == DC_BRUSH ? dc->State.DCBrushColor : b ? b->Color : 0;
  Simple(EMR_CREATEBRUSHINDIRECT, {kTempSlot, style, color, b ? std::uint32_t(b->Hatch) : 0u});
  return kTempSlot;
}

void TMetaSink::DropTemp(std::uint32_t index)
{
  if (index == kTempSlot) Simple(EMR_DELETEOBJECT, {kTempSlot});
}

// ---- Drawing calls ------------------------------------------------------------------------

void TMetaSink::PutPoints(const POINT* pts, std::size_t count, bool small)
{
  for (std::size_t i = 0; i < count; ++i) {
    if (small) {
      std::int16_t xy[2] = {std::int16_t(pts[i].x), std::int16_t(pts[i].y)};
      const auto* p = reinterpret_cast<const std::uint8_t*>(xy);
      FOut.insert(FOut.end(), p, p + 4);
    } else {
      Put32(std::uint32_t(pts[i].x));
      Put32(std::uint32_t(pts[i].y));
    }
  }
}

BOOL TMetaSink::Poly(TDCObj* dc, DWORD type, const POINT* pts, int count)
{
  if (!pts || count < 0) return FALSE;
  bool to = type == EMR_POLYLINETO;
  Sync(dc, false, to);
  bool small = Fits16(pts, count);
  std::size_t st = Begin(small ? type + (EMR_POLYGON16 - EMR_POLYGON) : type);
  std::size_t boundsAt = FOut.size();
  PutRect(RECT{});
  Put32(std::uint32_t(count));
  PutPoints(pts, std::size_t(count), small);
  End(st);
  std::vector<POINT> all(pts, pts + count);
  if (to) all.push_back(dc->State.CurPos);
  RECT own = AddLogicalBounds(dc, all.data(), int(all.size()), true);
  std::memcpy(FOut.data() + boundsAt, &own, 16);
  if (to && count > 0) {
    dc->State.CurPos = pts[count - 1];
    FM.Cur = pts[count - 1];
  }
  return TRUE;
}

BOOL TMetaSink::PolyPoly(TDCObj* dc, const POINT* pts, const int* counts, int polys)
{
  if (!pts || !counts || polys <= 0) return FALSE;
  std::uint64_t total = 0;
  for (int i = 0; i < polys; ++i) {
    if (counts[i] < 0) return FALSE;
    total += std::uint64_t(counts[i]);
  }
  if (total > 0x7FFFFFFF) return FALSE;
  Sync(dc, false, false);
  bool small = Fits16(pts, int(total));
  std::size_t st = Begin(small ? EMR_POLYPOLYGON16 : EMR_POLYPOLYGON);
  PutRect(AddLogicalBounds(dc, pts, int(total), true));
  Put32(std::uint32_t(polys));
  Put32(std::uint32_t(total));
  for (int i = 0; i < polys; ++i) Put32(std::uint32_t(counts[i]));
  PutPoints(pts, std::size_t(total), small);
  End(st);
  return TRUE;
}

BOOL TMetaSink::Box(TDCObj* dc, DWORD type, const RECT& box, const LONG* extra, int extraCount)
{
  Sync(dc, false, false);
  std::size_t st = Begin(type);
  PutRect(box);
  for (int i = 0; i < extraCount; ++i) Put32(std::uint32_t(extra[i]));
  End(st);
  POINT c[2] = {{box.left, box.top}, {box.right, box.bottom}};
  AddLogicalBounds(dc, c, 2, true);
  return TRUE;
}

BOOL TMetaSink::Line(TDCObj* dc, int x, int y)
{
  Sync(dc, false, true);
  Simple(EMR_LINETO, {std::uint32_t(x), std::uint32_t(y)});
  POINT c[2] = {dc->State.CurPos, {x, y}};
  AddLogicalBounds(dc, c, 2, true);
  dc->State.CurPos = FM.Cur = POINT{x, y};
  return TRUE;
}

BOOL TMetaSink::Pixel(TDCObj* dc, int x, int y, COLORREF c)
{
  Sync(dc, false, false);
  Simple(EMR_SETPIXELV, {std::uint32_t(x), std::uint32_t(y), c & 0xFFFFFF});
  POINT p{x, y};
  AddLogicalBounds(dc, &p, 1, false);
  return TRUE;
}

BOOL TMetaSink::Text(TDCObj* dc, int x, int y, UINT options, const RECT* rect, const char* ansi, const char16_t* wide,
                     int count, const int* dx)
{
  if (!ansi && !wide) return FALSE;
  if (count < 0) count = int(ansi ? std::strlen(ansi) : std::char_traits<char16_t>::length(wide));
  std::vector<TTextChar> chars = ansi ? DecodeAnsi(ansi, count) : DecodeWide(wide, count);
  auto font = FontOf(dc);
  if (!font) return FALSE;
  Sync(dc, false, true);
  // The advances as drawn, in logical units per byte / unit, unless the caller gave them.
  std::vector<int> logical(std::size_t(count), 0);
  std::vector<int> adv = Advances(dc, *font, chars);
  TMapping m = MappingOf(dc);
  double total = 0;
  {
    std::size_t unit = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
      if (dx) {
        int sum = 0;
        for (int k = 0; k < chars[i].Units; ++k) sum += dx[unit + std::size_t(k)];
        total += std::lround(sum * std::fabs(m.Sx));
        for (int k = 0; k < chars[i].Units; ++k) logical[unit + std::size_t(k)] = dx[unit + std::size_t(k)];
      } else {
        total += adv[i];
        logical[unit] = int(std::lround(adv[i] / std::fabs(m.Sx)));
      }
      unit += std::size_t(chars[i].Units);
    }
  }
  UINT align = dc->State.TextAlign;
  int rx = x, ry = y;
  if (align & TA_UPDATECP) {
    rx = dc->State.CurPos.x;
    ry = dc->State.CurPos.y;
  }
  // The drawn box in device pixels.
  POINT p = ToDevice(dc, rx, ry);
  TEXTMETRICA tm = font->Metrics();
  double u0 = (align & TA_CENTER) == TA_CENTER ? -std::floor(total / 2) : (align & TA_RIGHT) ? -total : 0;
  double top = (align & TA_BASELINE) == TA_BASELINE ? -tm.tmAscent : (align & TA_BOTTOM) ? -tm.tmHeight : 0;
  RECT dev;
  if (std::fabs(font->Angle()) > 1e-9) {
    LONG r = LONG(total + tm.tmHeight) + 1;
    dev = RECT{p.x - r, p.y - r, p.x + r, p.y + r};
  } else {
    dev = RECT{LONG(p.x + u0), LONG(p.y + top), LONG(std::ceil(p.x + u0 + total)), LONG(p.y + top + tm.tmHeight)};
  }
  if (rect && (options & ETO_OPAQUE)) {
    RECT o = RectToDevice(dc, *rect);
    dev = RECT{std::min(dev.left, o.left), std::min(dev.top, o.top), std::max(dev.right, o.right),
               std::max(dev.bottom, o.bottom)};
  }
  if (rect && (options & ETO_CLIPPED)) {
    RECT c = RectToDevice(dc, *rect);
    dev = RECT{std::max(dev.left, c.left), std::max(dev.top, c.top), std::min(dev.right, c.right),
               std::min(dev.bottom, c.bottom)};
  }
  RECT own = AddBounds(dev);
  std::size_t st = Begin(ansi ? EMR_EXTTEXTOUTA : EMR_EXTTEXTOUTW);
  PutRect(own);
  Put32(1);  // compatible graphics mode
  Put32(0);
  Put32(0);
  Put32(std::uint32_t(x));
  Put32(std::uint32_t(y));
  Put32(std::uint32_t(count));
  std::uint32_t unitBytes = ansi ? 1 : 2;
  std::uint32_t offString = 76;
  std::uint32_t offDx = offString + ((std::uint32_t(count) * unitBytes + 3) & ~3u);
  Put32(offString);
  Put32(options & (ETO_OPAQUE | ETO_CLIPPED));
  PutRect(rect ? *rect : RECT{});
  Put32(offDx);
  if (ansi)
    FOut.insert(FOut.end(), ansi, ansi + count);
  else
    for (int i = 0; i < count; ++i) {
      FOut.push_back(std::uint8_t(wide[i] & 0xFF));
      FOut.push_back(std::uint8_t(wide[i] >> 8));
    }
  while (FOut.size() % 4) FOut.push_back(0);
  for (int v : logical) Put32(std::uint32_t(v));
  End(st);
  if (align & TA_UPDATECP) {
    int w = ToLogicalX(dc, total);
    dc->State.CurPos.x += (align & TA_RIGHT) && (align & TA_CENTER) != TA_CENTER ? -w : w;
    FM.Cur = dc->State.CurPos;
  }
  return TRUE;
}

BOOL TMetaSink::Region(TDCObj* dc, DWORD type, const TRegionData& logical, HBRUSH brush, int w, int h)
{
  Sync(dc, false, false);
  std::uint32_t bi = 0;
  if (type == EMR_FILLRGN || type == EMR_FRAMERGN) bi = TempBrush(dc, brush);
  std::size_t st = Begin(type);
  RECT b = logical.Bounds();
  POINT c[2] = {{b.left, b.top}, {b.right, b.bottom}};
  PutRect(AddLogicalBounds(dc, c, 2, false));
  Put32(std::uint32_t(32 + logical.Rects().size() * 16));
  if (type == EMR_FILLRGN || type == EMR_FRAMERGN) Put32(bi);
  if (type == EMR_FRAMERGN) {
    Put32(std::uint32_t(w));
    Put32(std::uint32_t(h));
  }
  WriteRegion(logical);
  End(st);
  DropTemp(bi);
  return TRUE;
}

BOOL TMetaSink::PatBlt(TDCObj* dc, int x, int y, int w, int h, DWORD rop)
{
  Sync(dc, false, false);
  std::size_t st = Begin(EMR_BITBLT);
  POINT c[2] = {{x, y}, {x + w, y + h}};
  PutRect(AddLogicalBounds(dc, c, 2, false));
  for (std::uint32_t v :
       {std::uint32_t(x), std::uint32_t(y), std::uint32_t(w), std::uint32_t(h), std::uint32_t(rop), 0u, 0u})
    Put32(v);
  float xf[6] = {1, 0, 0, 1, 0, 0};
  for (float f : xf) {
    std::uint32_t v;
    std::memcpy(&v, &f, 4);
    Put32(v);
  }
  for (int i = 0; i < 6; ++i) Put32(0);  // background colour, usage, no bitmap
  End(st);
  return TRUE;
}

void TMetaSink::DibRecord(TDCObj* dc, DWORD type, int x, int y, int w, int h, int xs, int ys, int ws, int hs,
                          const std::vector<std::uint32_t>& px, int bw, int bh, DWORD rop)
{
  Sync(dc, false, false);
  POINT c[2] = {{x, y}, {x + w, y + h}};
  RECT own = AddLogicalBounds(dc, c, 2, false);
  std::uint32_t fixed = type == EMR_STRETCHDIBITS ? 80 : type == EMR_BITBLT ? 100 : 108;
  std::uint32_t cbBits = std::uint32_t(bw) * std::uint32_t(bh) * 4;
  std::size_t st = Begin(type);
  PutRect(own);
  if (type == EMR_STRETCHDIBITS) {
    for (std::uint32_t v : {std::uint32_t(x), std::uint32_t(y), std::uint32_t(xs), std::uint32_t(ys), std::uint32_t(ws),
                            std::uint32_t(hs), fixed, 40u, fixed + 40, cbBits, std::uint32_t(DIB_RGB_COLORS),
                            std::uint32_t(rop), std::uint32_t(w), std::uint32_t(h)})
      Put32(v);
  } else {
    for (std::uint32_t v : {std::uint32_t(x), std::uint32_t(y), std::uint32_t(w), std::uint32_t(h), std::uint32_t(rop),
                            std::uint32_t(xs), std::uint32_t(ys)})
      Put32(v);
    float xf[6] = {1, 0, 0, 1, 0, 0};
    for (float f : xf) {
      std::uint32_t v;
      std::memcpy(&v, &f, 4);
      Put32(v);
    }
    for (std::uint32_t v :
         {std::uint32_t(dc->State.BkColor), std::uint32_t(DIB_RGB_COLORS), fixed, 40u, fixed + 40, cbBits})
      Put32(v);
    if (type != EMR_BITBLT) {
      Put32(std::uint32_t(ws));
      Put32(std::uint32_t(hs));
    }
  }
  // A 32-bit bottom-up DIB.
  for (std::uint32_t v :
       {40u, std::uint32_t(bw), std::uint32_t(bh), 1u | (32u << 16), std::uint32_t(BI_RGB), cbBits, 0u, 0u, 0u, 0u})
    Put32(v);
  for (int row = bh - 1; row >= 0; --row)
    for (int col = 0; col < bw; ++col) Put32(px[std::size_t(row) * std::size_t(bw) + std::size_t(col)] & 0xFFFFFF);
  End(st);
}

BOOL TMetaSink::Blt(TDCObj* dc, int x, int y, int w, int h, TDCObj* src, int xs, int ys, int ws, int hs, DWORD rop,
                    int kind)
{
  TSurface s;
  if (!src || !GetSurface(src, s)) return FALSE;
  // The source rectangle in the source's device pixels, taken whole (outside the surface: black).
  RECT d = RectToDevice(src, RECT{xs, ys, xs + ws, ys + hs});
  int bw = d.right - d.left, bh = d.bottom - d.top;
  if (bw <= 0 || bh <= 0 || std::int64_t(bw) * bh > (1 << 26)) return FALSE;
  std::vector<std::uint32_t> px(std::size_t(bw) * std::size_t(bh), 0);
  for (int yy = 0; yy < bh; ++yy) {
    int sy = d.top + yy;
    if (sy < 0 || sy >= s.Height) continue;
    for (int xx = 0; xx < bw; ++xx) {
      int sx = d.left + xx;
      if (sx >= 0 && sx < s.Width) px[std::size_t(yy) * std::size_t(bw) + std::size_t(xx)] = s.Row(sy)[sx] & 0xFFFFFF;
    }
  }
  POINT o = ToDevice(src, xs, ys);
  int wsd = ws < 0 ? -bw : bw, hsd = hs < 0 ? -bh : bh;
  DibRecord(dc,
            kind == 2   ? EMR_TRANSPARENTBLT
            : kind == 1 ? EMR_STRETCHBLT
                        : EMR_BITBLT,
            x, y, w, h, o.x - d.left, o.y - d.top, wsd, hsd, px, bw, bh, rop);
  return TRUE;
}

BOOL TMetaSink::Dib(TDCObj* dc, int x, int y, int w, int h, int xs, int ys, int ws, int hs, const void* bits,
                    const BITMAPINFO* bmi, DWORD rop)
{
  std::vector<std::uint32_t> px;
  int bw = 0, bh = 0;
  if (!DecodeDib(bmi, bits, std::size_t(-1), px, bw, bh)) return FALSE;
  // Stored bottom-up: source rows of top-down bits count from the other end.
  int sy = bmi->bmiHeader.biHeight < 0 ? bh - ys - hs : ys;
  DibRecord(dc, EMR_STRETCHDIBITS, x, y, w, h, xs, sy, ws, hs, px, bw, bh, rop);
  return hs;
}

void TMetaSink::DeviceFill(TDCObj* dc, const TRegionData& shape, const TBrushPaint& brush)
{
  if (brush.IsNull() || shape.IsEmpty()) return;
  Sync(dc, true, false);
  Simple(EMR_CREATEBRUSHINDIRECT, {kTempSlot, std::uint32_t(BS_SOLID), ToColorRef(brush.Solid()), 0u});
  RECT own = AddBounds(shape.Bounds());
  std::size_t st = Begin(EMR_FILLRGN);
  PutRect(own);
  Put32(std::uint32_t(32 + shape.Rects().size() * 16));
  Put32(kTempSlot);
  WriteRegion(shape);
  End(st);
  DropTemp(kTempSlot);
}

void TMetaSink::DeviceText(TDCObj* dc, double x, double y, const std::vector<TTextChar>& chars,
                           const std::vector<int>& advances, std::uint32_t color, const RECT* clip)
{
  Sync(dc, true, false);
  if (FM.Align != TA_BASELINE) {
    Simple(EMR_SETTEXTALIGN, {TA_BASELINE});
    FM.Align = TA_BASELINE;
  }
  if (FM.BkMode != TRANSPARENT) {
    Simple(EMR_SETBKMODE, {std::uint32_t(TRANSPARENT)});
    FM.BkMode = TRANSPARENT;
  }
  COLORREF c = ToColorRef(color);
  if (FM.TextColor != c) {
    Simple(EMR_SETTEXTCOLOR, {c});
    FM.TextColor = c;
  }
  std::u16string text;
  std::vector<int> dx;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    char32_t cp = chars[i].Cp;
    if (cp >= 0x10000) {
      text.push_back(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
      text.push_back(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
      dx.push_back(advances[i]);
      dx.push_back(0);
    } else {
      text.push_back(char16_t(cp));
      dx.push_back(advances[i]);
    }
  }
  int n = int(text.size());
  LONG rx = LONG(std::lround(x)), ry = LONG(std::lround(y));
  int total = 0;
  for (int a : advances) total += a;
  auto font = FontOf(dc);
  int asc = font ? font->Metrics().tmAscent : 0, desc = font ? font->Metrics().tmDescent : 0;
  RECT own = AddBounds(RECT{rx - 1, ry - asc, rx + total + 1, ry + desc});
  std::size_t st = Begin(EMR_EXTTEXTOUTW);
  PutRect(own);
  for (std::uint32_t v :
       {1u, 0u, 0u, std::uint32_t(rx), std::uint32_t(ry), std::uint32_t(n), 76u, std::uint32_t(clip ? ETO_CLIPPED : 0)})
    Put32(v);
  PutRect(clip ? *clip : RECT{});
  Put32(76 + ((std::uint32_t(n) * 2 + 3) & ~3u));
  for (char16_t ch : text) {
    FOut.push_back(std::uint8_t(ch & 0xFF));
    FOut.push_back(std::uint8_t(ch >> 8));
  }
  while (FOut.size() % 4) FOut.push_back(0);
  for (int v : dx) Put32(std::uint32_t(v));
  End(st);
}

// ---- The binary form ------------------------------------------------------------------------

std::vector<std::uint8_t> TMetaSink::Finish() const
{
  std::uint32_t descBytes = std::uint32_t(FDescription.size() * 2);
  std::uint32_t headerSize = kHeaderSize + ((descBytes + 3) & ~3u);
  std::uint32_t total = headerSize + std::uint32_t(FOut.size()) + 20;
  // Micrometres of the reference device at its resolution.
  std::uint32_t umX = std::uint32_t(std::lround(FRefW * 25400.0 / FDpi));
  std::uint32_t umY = std::uint32_t(std::lround(FRefH * 25400.0 / FDpi));
  RECT frame;
  if (FFrame)
    frame = *FFrame;
  else if (FBounds.right >= FBounds.left)
    frame = RECT{LONG(std::lround(FBounds.left * 2540.0 / FDpi)), LONG(std::lround(FBounds.top * 2540.0 / FDpi)),
                 LONG(std::lround((FBounds.right + 1) * 2540.0 / FDpi)),
                 LONG(std::lround((FBounds.bottom + 1) * 2540.0 / FDpi))};
  else
    frame = RECT{0, 0, 0, 0};
  std::vector<std::uint8_t> out;
  out.reserve(total);
  auto put = [&](std::uint32_t v) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&v);
    out.insert(out.end(), p, p + 4);
  };
  auto rect = [&](const RECT& r) {
    for (LONG v : {r.left, r.top, r.right, r.bottom}) put(std::uint32_t(v));
  };
  put(EMR_HEADER);
  put(headerSize);
  rect(FBounds.right >= FBounds.left ? FBounds : RECT{0, 0, -1, -1});
  rect(frame);
  put(0x464D4520);
  put(0x10000);
  put(total);
  put(FRecords + 2);
  put(kHandles);  // handles (16 bits) and the reserved 16 bits
  put(std::uint32_t(FDescription.size()));
  put(FDescription.empty() ? 0 : kHeaderSize);
  put(0);
  put(std::uint32_t(FRefW));
  put(std::uint32_t(FRefH));
  put(std::uint32_t(std::lround(umX / 1000.0)));
  put(std::uint32_t(std::lround(umY / 1000.0)));
  put(0);
  put(0);
  put(0);
  put(umX);
  put(umY);
  for (char16_t c : FDescription) {
    out.push_back(std::uint8_t(c & 0xFF));
    out.push_back(std::uint8_t(c >> 8));
  }
  while (out.size() % 4) out.push_back(0);
  out.insert(out.end(), FOut.begin(), FOut.end());
  for (std::uint32_t v : {std::uint32_t(EMR_EOF), 20u, 0u, 16u, 20u}) put(v);
  return out;
}

}  // namespace GdiInternal

namespace Windows {

using namespace GdiInternal;

HDC CreateEnhMetaFile(HDC ref, const char* fileName, const RECT* frame, const char16_t* description)
{
  int w = 1920, h = 1080, dpi = 96;
  if (ref) {
    if (!DC(ref)) return nullptr;
    w = GetDeviceCaps(ref, HORZRES);
    h = GetDeviceCaps(ref, VERTRES);
    dpi = GetDeviceCaps(ref, LOGPIXELSX);
    if (w <= 0 || h <= 0 || dpi <= 0) {
      w = 1920;
      h = 1080;
      dpi = 96;
    }
  }
  auto obj = std::make_unique<TDCObj>();
  obj->Surface = TSurfaceKind::Record;
  obj->BufWidth = w;
  obj->BufHeight = h;
  obj->LogPixels = dpi;
  obj->State.Pen = static_cast<HPEN>(Stock(BLACK_PEN));
  obj->State.Brush = static_cast<HBRUSH>(Stock(WHITE_BRUSH));
  obj->State.Font = static_cast<HFONT>(Stock(SYSTEM_FONT));
  obj->Meta = std::make_unique<TMetaSink>(w, h, dpi, frame, fileName, description);
  return static_cast<HDC>(AddObject(std::move(obj)));
}

HENHMETAFILE CloseEnhMetaFile(HDC hdc)
{
  TDCObj* dc = DC(hdc);
  if (!dc || !dc->Meta) return nullptr;
  std::vector<std::uint8_t> bytes = dc->Meta->Finish();
  std::string file = dc->Meta->FileName();
  RemoveObject(hdc);
  if (!file.empty() && !SaveEnhMetaBytes(file.c_str(), bytes)) return nullptr;
  ENHMETAHEADER h;
  if (!CheckEnhMetaBytes(bytes.data(), bytes.size(), h)) return nullptr;
  return NewEnhMeta(std::move(bytes), h);
}

}  // namespace Windows

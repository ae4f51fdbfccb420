#include "platform/gdi/dc/GdiObjects.h"

#include <cstring>
#include <mutex>

#include "platform/gdi/dc/GdiInternal.h"

namespace GdiInternal {
namespace {

struct TEntry {
  std::uint32_t Gen = 0;
  std::unique_ptr<TGdiObject> Obj;
};

struct TTable {
  std::mutex Lock;
  std::vector<TEntry> Entries;
  std::vector<std::uint32_t> Free;
  HGDIOBJ Stocks[DC_PEN + 1] = {};
};

TTable& Table()
{
  static TTable* t = new TTable;  // lives to the end of the process
  return *t;
}

constexpr int kIndexShift = 8;

bool Decode(const void* h, std::size_t& index, std::uint32_t& gen)
{
  auto v = reinterpret_cast<std::uintptr_t>(h);
  if (v == 0 || (v & 0xFF) != 0x5A) return false;
  std::uintptr_t idx = (v >> kIndexShift) & 0xFFFFFF;
  if (idx == 0) return false;
  index = std::size_t(idx - 1);
  gen = std::uint32_t(v >> 32);
  return true;
}

}  // namespace

void* AddObject(std::unique_ptr<TGdiObject> obj)
{
  TTable& t = Table();
  std::lock_guard<std::mutex> g(t.Lock);
  std::size_t index;
  if (!t.Free.empty()) {
    index = t.Free.back();
    t.Free.pop_back();
  } else {
    index = t.Entries.size();
    if (index >= 0xFFFFFF) return nullptr;
    t.Entries.emplace_back();
  }
  TEntry& e = t.Entries[index];
  e.Gen = (e.Gen + 1) & 0x7FFFFFFF;
  e.Obj = std::move(obj);
  std::uintptr_t v = (std::uintptr_t(e.Gen) << 32) | (std::uintptr_t(index + 1) << kIndexShift) | 0x5A;
  return reinterpret_cast<void*>(v);
}

TGdiObject* Lookup(const void* handle)
{
  std::size_t index;
  std::uint32_t gen;
  if (!Decode(handle, index, gen)) return nullptr;
  TTable& t = Table();
  std::lock_guard<std::mutex> g(t.Lock);
  if (index >= t.Entries.size()) return nullptr;
  TEntry& e = t.Entries[index];
  if (e.Gen != gen || !e.Obj) return nullptr;
  return e.Obj.get();
}

bool RemoveObject(const void* handle)
{
  std::size_t index;
  std::uint32_t gen;
  if (!Decode(handle, index, gen)) return false;
  std::unique_ptr<TGdiObject> dying;
  {
    TTable& t = Table();
    std::lock_guard<std::mutex> g(t.Lock);
    if (index >= t.Entries.size()) return false;
    TEntry& e = t.Entries[index];
    if (e.Gen != gen || !e.Obj || e.Obj->Stock) return false;
    dying = std::move(e.Obj);
    t.Free.push_back(std::uint32_t(index));
  }
  return true;  // freed outside the lock: a DC's destructor may look up handles
}

bool IsSelected(const void* handle)
{
  TTable& t = Table();
  std::lock_guard<std::mutex> g(t.Lock);
  for (TEntry& e : t.Entries) {
    if (!e.Obj || e.Obj->Kind != TObjKind::DC) continue;
    const TDCState& s = static_cast<TDCObj*>(e.Obj.get())->State;
    if (s.Pen == handle || s.Brush == handle || s.Font == handle || s.Bitmap == handle) return true;
  }
  return false;
}

namespace {

template <class T>
void* AddStock(std::unique_ptr<T> obj)
{
  obj->Stock = true;
  return AddObject(std::move(obj));
}

HGDIOBJ MakeStock(int index)
{
  auto brush = [](UINT style, COLORREF c) {
    auto b = std::make_unique<TBrushObj>();
    b->Style = style;
    b->Color = c;
    return AddStock(std::move(b));
  };
  auto pen = [](int style, COLORREF c) {
    auto p = std::make_unique<TPenObj>();
    p->Style = UINT(style);
    p->Width = 0;  // one pixel under any mapping
    p->Color = c;
    return AddStock(std::move(p));
  };
  auto font = [](const char* face, int height, int weight, BYTE charset) {
    auto f = std::make_unique<TFontObj>();
    std::strncpy(f->Log.lfFaceName, face, LF_FACESIZE - 1);
    f->Log.lfHeight = height;
    f->Log.lfWeight = weight;
    f->Log.lfCharSet = charset;
    return AddStock(std::move(f));
  };
  switch (index) {
    case WHITE_BRUSH: return brush(BS_SOLID, RGB(255, 255, 255));
    case LTGRAY_BRUSH: return brush(BS_SOLID, RGB(192, 192, 192));
    case GRAY_BRUSH: return brush(BS_SOLID, RGB(128, 128, 128));
    case DKGRAY_BRUSH: return brush(BS_SOLID, RGB(64, 64, 64));
    case BLACK_BRUSH: return brush(BS_SOLID, RGB(0, 0, 0));
    case NULL_BRUSH: return brush(BS_NULL, 0);
    case WHITE_PEN: return pen(PS_SOLID, RGB(255, 255, 255));
    case BLACK_PEN: return pen(PS_SOLID, 0);
    case NULL_PEN: return pen(PS_NULL, 0);
    case DC_BRUSH: return brush(BS_SOLID, 0);  // takes the DC's brush colour when drawn
    case DC_PEN: return pen(PS_SOLID, 0);
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT: return font("Courier New", -13, FW_NORMAL, ANSI_CHARSET);
    case ANSI_VAR_FONT: return font("MS Sans Serif", -11, FW_NORMAL, ANSI_CHARSET);
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case DEFAULT_GUI_FONT: return font("宋体", -12, FW_NORMAL, GB2312_CHARSET);
    default: return nullptr;
  }
}

}  // namespace

HGDIOBJ Stock(int index)
{
  if (index < 0 || index > DC_PEN) return nullptr;
  TTable& t = Table();
  {
    std::lock_guard<std::mutex> g(t.Lock);
    if (t.Stocks[index]) return t.Stocks[index];
  }
  HGDIOBJ h = MakeStock(index);
  std::lock_guard<std::mutex> g(t.Lock);
  if (!t.Stocks[index]) t.Stocks[index] = h;
  return t.Stocks[index];
}

HBITMAP DefaultBitmap()
{
  static HBITMAP bmp = [] {
    auto b = std::make_unique<TBitmapObj>();
    b->Width = b->Height = 1;
    b->Mono = true;
    b->Own.assign(1, 0xFFFFFF);
    b->Base = b->Own.data();
    b->Stride = 1;
    b->Stock = true;
    return static_cast<HBITMAP>(AddObject(std::move(b)));
  }();
  return bmp;
}

}  // namespace GdiInternal

namespace Windows {

using namespace GdiInternal;

HPEN CreatePen(int style, int width, COLORREF color)
{
  int base = style & PS_STYLE_MASK;
  if (base > PS_INSIDEFRAME) return nullptr;
  auto p = std::make_unique<TPenObj>();
  p->Style = UINT(style);
  p->Width = width < 0 ? 0 : width;
  p->Color = color & 0xFFFFFF;
  return static_cast<HPEN>(AddObject(std::move(p)));
}

HPEN CreatePenIndirect(const LOGPEN& lp) { return CreatePen(int(lp.lopnStyle), lp.lopnWidth.x, lp.lopnColor); }

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH& lb)
{
  if ((style & PS_STYLE_MASK) > PS_ALTERNATE || (style & PS_STYLE_MASK) == PS_USERSTYLE) return nullptr;
  auto p = std::make_unique<TPenObj>();
  p->Style = style;
  p->Width = (style & PS_TYPE_MASK) == PS_GEOMETRIC ? int(width) : 1;
  p->Color = lb.lbStyle == BS_NULL ? 0 : (lb.lbColor & 0xFFFFFF);
  if (lb.lbStyle == BS_NULL) p->Style = (style & ~PS_STYLE_MASK) | PS_NULL;
  return static_cast<HPEN>(AddObject(std::move(p)));
}

HBRUSH CreateSolidBrush(COLORREF color)
{
  auto b = std::make_unique<TBrushObj>();
  b->Color = color & 0xFFFFFF;
  return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color)
{
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
  auto b = std::make_unique<TBrushObj>();
  b->Style = BS_HATCHED;
  b->Hatch = hatch;
  b->Color = color & 0xFFFFFF;
  return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap)
{
  TBitmapObj* bmp = GdiInternal::Bitmap(bitmap);
  if (!bmp || bmp->Width <= 0 || bmp->Height <= 0) return nullptr;
  auto b = std::make_unique<TBrushObj>();
  b->Style = BS_PATTERN;
  b->PatW = bmp->Width;
  b->PatH = bmp->Height;
  b->Mono = bmp->Mono;
  b->Pattern.resize(std::size_t(b->PatW) * std::size_t(b->PatH));
  for (int y = 0; y < b->PatH; ++y)
    std::memcpy(&b->Pattern[std::size_t(y) * std::size_t(b->PatW)], bmp->Row(y), std::size_t(b->PatW) * 4);
  return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH& lb)
{
  switch (lb.lbStyle) {
    case BS_SOLID: return CreateSolidBrush(lb.lbColor);
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED: return CreateHatchBrush(int(lb.lbHatch), lb.lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb.lbHatch));
    default: return nullptr;
  }
}

HFONT CreateFontIndirect(const LOGFONTA& lf)
{
  auto f = std::make_unique<TFontObj>();
  f->Log = lf;
  f->Log.lfFaceName[LF_FACESIZE - 1] = 0;
  return static_cast<HFONT>(AddObject(std::move(f)));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, const char* faceName)
{
  LOGFONTA lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = BYTE(italic != 0);
  lf.lfUnderline = BYTE(underline != 0);
  lf.lfStrikeOut = BYTE(strikeOut != 0);
  lf.lfCharSet = BYTE(charSet);
  lf.lfOutPrecision = BYTE(outPrecision);
  lf.lfClipPrecision = BYTE(clipPrecision);
  lf.lfQuality = BYTE(quality);
  lf.lfPitchAndFamily = BYTE(pitchAndFamily);
  if (faceName) std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirect(lf);
}

HGDIOBJ GetStockObject(int index) { return Stock(index); }

BOOL DeleteObject(HGDIOBJ obj)
{
  TGdiObject* o = Lookup(obj);
  if (!o || o->Kind == TObjKind::DC || o->Kind == TObjKind::EnhMetaFile) return FALSE;
  if (o->Stock) return TRUE;
  if (IsSelected(obj)) return FALSE;
  return RemoveObject(obj) ? TRUE : FALSE;
}

DWORD GetObjectType(HGDIOBJ obj)
{
  TGdiObject* o = Lookup(obj);
  if (!o) return 0;
  switch (o->Kind) {
    case TObjKind::Pen: return OBJ_PEN;
    case TObjKind::Brush: return OBJ_BRUSH;
    case TObjKind::Font: return OBJ_FONT;
    case TObjKind::Bitmap: return OBJ_BITMAP;
    case TObjKind::Region: return OBJ_REGION;
    case TObjKind::DC:
      if (static_cast<TDCObj*>(o)->Surface == TSurfaceKind::Record) return OBJ_ENHMETADC;
      return static_cast<TDCObj*>(o)->Surface == TSurfaceKind::Memory ? OBJ_MEMDC : OBJ_DC;
    case TObjKind::Icon: return OBJ_ICON;
    case TObjKind::Palette: return OBJ_PAL;
    case TObjKind::EnhMetaFile: return OBJ_ENHMETAFILE;
  }
  return 0;
}

int GetObject(HPEN pen, LOGPEN* out)
{
  TPenObj* p = GdiInternal::Pen(pen);
  if (!p) return 0;
  if (out) {
    out->lopnStyle = p->Style & PS_STYLE_MASK;
    out->lopnWidth = POINT{p->Width, 0};
    out->lopnColor = p->Color;
  }
  return int(sizeof(LOGPEN));
}

int GetObject(HBRUSH brush, LOGBRUSH* out)
{
  TBrushObj* b = GdiInternal::Brush(brush);
  if (!b) return 0;
  if (out) {
    out->lbStyle = b->Style;
    out->lbColor = b->Color;
    out->lbHatch = std::uintptr_t(b->Hatch);
  }
  return int(sizeof(LOGBRUSH));
}

int GetObject(HFONT font, LOGFONTA* out)
{
  TFontObj* f = GdiInternal::Font(font);
  if (!f) return 0;
  if (out) *out = f->Log;
  return int(sizeof(LOGFONTA));
}

int GetObject(HBITMAP bitmap, BITMAP* out)
{
  TBitmapObj* b = GdiInternal::Bitmap(bitmap);
  if (!b) return 0;
  if (out) {
    out->bmType = 0;
    out->bmWidth = b->Width;
    out->bmHeight = b->Height;
    out->bmPlanes = 1;
    out->bmBitsPixel = b->Mono ? 1 : 32;
    out->bmWidthBytes = b->Mono ? ((b->Width + 15) / 16) * 2 : b->Width * 4;
    out->bmBits = b->DibBits;
  }
  return int(sizeof(BITMAP));
}

}  // namespace Windows

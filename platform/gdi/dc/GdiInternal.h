// Internal to the drawing layer: the objects behind handles and the checked handle table.
// Higher layers use the public headers only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/draw/RegionData.h"
#include "platform/gdi/WinTypes.h"

class TFontInstance;

namespace GdiInternal {

enum class TObjKind : std::uint8_t { Pen = 1, Brush, Font, Bitmap, Region, DC, Icon, Palette, EnhMetaFile };

struct TGdiObject {
  explicit TGdiObject(TObjKind k) : Kind(k) {}
  virtual ~TGdiObject() = default;
  TObjKind Kind;
  bool Stock = false;  // never deleted
};

struct TPenObj : TGdiObject {
  TPenObj() : TGdiObject(TObjKind::Pen) {}
  UINT Style = PS_SOLID;  // with end cap, join and type bits
  int Width = 1;
  COLORREF Color = 0;
};

struct TBrushObj : TGdiObject {
  TBrushObj() : TGdiObject(TObjKind::Brush) {}
  UINT Style = BS_SOLID;
  COLORREF Color = 0;
  int Hatch = 0;
  // BS_PATTERN: the pattern's pixels (0x00RRGGBB), PatW x PatH; Mono: a two-colour pattern
  // whose black pixels take the text colour and white ones the background colour.
  std::vector<std::uint32_t> Pattern;
  int PatW = 0, PatH = 0;
  bool Mono = false;
};

struct TFontObj : TGdiObject {
  TFontObj() : TGdiObject(TObjKind::Font) {}
  LOGFONTA Log;
  // The last realisation, reused while the DC's scale stays the same.
  std::shared_ptr<TFontInstance> Realized;
  double RealizedScale = 0;
  bool RealizedOutline = false;
};

// A bitmap: 32-bit pixels 0x00RRGGBB (byte order B, G, R, X), or a monochrome bitmap held the
// same way with only black and white pixels.
struct TBitmapObj : TGdiObject {
  TBitmapObj() : TGdiObject(TObjKind::Bitmap) {}
  int Width = 0, Height = 0;
  bool Mono = false;
  std::vector<std::uint32_t> Own;
  std::uint32_t* Base = nullptr;  // row 0
  std::ptrdiff_t Stride = 0;      // in pixels; negative for a bottom-up DIB section
  void* DibBits = nullptr;        // the DIB section's memory as the caller sees it
  std::uint32_t* Row(int y) const { return Base + y * Stride; }
};

struct TRegionObj : TGdiObject {
  TRegionObj() : TGdiObject(TObjKind::Region) {}
  TRegionData Data;
};

struct TIconObj : TGdiObject {
  TIconObj() : TGdiObject(TObjKind::Icon) {}
  int Width = 0, Height = 0;
  bool IsIcon = true;
  int HotX = 0, HotY = 0;
  std::vector<std::uint32_t> Color;  // 0xAARRGGBB; alpha used when HasAlpha
  std::vector<std::uint8_t> Mask;    // 1 = transparent (AND mask)
  bool HasAlpha = false;
};

// The saved part of a device context.
struct TDCState {
  HPEN Pen = nullptr;
  HBRUSH Brush = nullptr;
  HFONT Font = nullptr;
  HBITMAP Bitmap = nullptr;
  COLORREF TextColor = 0, BkColor = 0xFFFFFF;
  COLORREF DCBrushColor = 0xFFFFFF, DCPenColor = 0;
  int BkMode = OPAQUE, Rop2 = R2_COPYPEN, PolyFillMode = ALTERNATE, StretchMode = BLACKONWHITE,
      ArcDirection = AD_COUNTERCLOCKWISE;
  UINT TextAlign = 0;
  int MapMode = MM_TEXT;
  POINT WinOrg, VpOrg, BrushOrg, CurPos;
  SIZE WinExt{1, 1}, VpExt{1, 1};
  std::optional<TRegionData> Clip;  // device coordinates
  int CharExtra = 0;
  int BreakExtra = 0, BreakCount = 0;
};

// Record: a recording DC (no pixels; drawing goes to its TMetaSink).
enum class TSurfaceKind : std::uint8_t { Memory, Buffer, Vector, Record };

class TVectorTarget;  // a recording or PDF surface
class TMetaSink;      // a metafile being recorded

struct TDCObj : TGdiObject {
  TDCObj();
  ~TDCObj() override;
  TSurfaceKind Surface = TSurfaceKind::Memory;
  TDCState State;
  std::vector<TDCState> Saved;
  // TSurfaceKind::Buffer: pixels owned by the caller.
  std::uint32_t* BufBase = nullptr;
  std::ptrdiff_t BufStride = 0;
  int BufWidth = 0, BufHeight = 0;
  int LogPixels = 96;
  std::unique_ptr<TVectorTarget> Vector;
  // The window layer's limit (a window's visible part), device coordinates; not saved.
  std::optional<TRegionData> SystemClip;
  // While a metafile plays: its device space onto this DC's (device = inner * S + O), applied
  // after the logical mapping; not saved.
  bool PlayMap = false;
  double PlaySx = 1, PlaySy = 1, PlayOx = 0, PlayOy = 0;
  // Set on a recording DC: what its drawing is recorded into.
  std::unique_ptr<TMetaSink> Meta;
};

// ---- Handle table ---------------------------------------------------------------------------
void* AddObject(std::unique_ptr<TGdiObject> obj);
// The live object of that kind behind the handle, or null for null, stale or foreign handles
// and for an object of another kind.
TGdiObject* Lookup(const void* handle);
template <class T>
T* LookupAs(const void* handle, TObjKind kind)
{
  TGdiObject* o = Lookup(handle);
  return (o && o->Kind == kind) ? static_cast<T*>(o) : nullptr;
}
inline TPenObj* Pen(HPEN h) { return LookupAs<TPenObj>(h, TObjKind::Pen); }
inline TBrushObj* Brush(HBRUSH h) { return LookupAs<TBrushObj>(h, TObjKind::Brush); }
inline TFontObj* Font(HFONT h) { return LookupAs<TFontObj>(h, TObjKind::Font); }
inline TBitmapObj* Bitmap(HBITMAP h) { return LookupAs<TBitmapObj>(h, TObjKind::Bitmap); }
inline TRegionObj* Region(HRGN h) { return LookupAs<TRegionObj>(h, TObjKind::Region); }
inline TDCObj* DC(HDC h) { return LookupAs<TDCObj>(h, TObjKind::DC); }
inline TIconObj* Icon(HICON h) { return LookupAs<TIconObj>(h, TObjKind::Icon); }
// Removes and frees the object; false for a stale handle or a stock object.
bool RemoveObject(const void* handle);
// The stock object of that index (created on first use), or null.
HGDIOBJ Stock(int index);
// True while the handle is selected into some device context.
bool IsSelected(const void* handle);

// ---- Colours --------------------------------------------------------------------------------
inline std::uint32_t ToPixel(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
inline COLORREF ToColorRef(std::uint32_t p) { return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16); }

// A 1x1 monochrome bitmap every memory DC starts with.
HBITMAP DefaultBitmap();

}  // namespace GdiInternal

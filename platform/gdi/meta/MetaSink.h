// Internal to the drawing layer: the recorder behind a recording DC (CreateEnhMetaFile).
//
// The drawing calls hand their arguments to it instead of painting: it first brings the
// recorded state (colours, modes, mapping, clip, selected objects) in line with the DC's, then
// writes the call's record. Calls without a record of their own (DrawText, DrawEdge...) reach it
// from the raster code as device-space fills and glyph runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/dc/GdiInternal.h"

namespace GdiInternal {

struct TTextChar;
class TBrushPaint;

class TMetaSink {
public:
  TMetaSink(int refWidth, int refHeight, int dpi, const RECT* frame, const char* fileName, const char16_t* description);

  BOOL Poly(TDCObj* dc, DWORD type, const POINT* pts, int count);  // EMR_POLYGON, _POLYLINE, _POLYLINETO
  BOOL PolyPoly(TDCObj* dc, const POINT* pts, const int* counts, int polys);
  // EMR_RECTANGLE, _ELLIPSE (no extra), _ROUNDRECT (2), _ARC, _CHORD, _PIE (4).
  BOOL Box(TDCObj* dc, DWORD type, const RECT& box, const LONG* extra, int extraCount);
  BOOL Line(TDCObj* dc, int x, int y);
  BOOL Pixel(TDCObj* dc, int x, int y, COLORREF c);
  // One of `ansi` / `wide` is given; `dx` (optional) per byte / unit as the caller gave it.
  BOOL Text(TDCObj* dc, int x, int y, UINT options, const RECT* rect, const char* ansi, const char16_t* wide, int count,
            const int* dx);
  // EMR_FILLRGN, _FRAMERGN, _INVERTRGN, _PAINTRGN of a logical region.
  BOOL Region(TDCObj* dc, DWORD type, const TRegionData& logical, HBRUSH brush, int w, int h);
  BOOL PatBlt(TDCObj* dc, int x, int y, int w, int h, DWORD rop);
  // kind 0: EMR_BITBLT, 1: EMR_STRETCHBLT, 2: EMR_TRANSPARENTBLT (`rop` is then the key colour).
  BOOL Blt(TDCObj* dc, int x, int y, int w, int h, TDCObj* src, int xs, int ys, int ws, int hs, DWORD rop, int kind);
  BOOL Dib(TDCObj* dc, int x, int y, int w, int h, int xs, int ys, int ws, int hs, const void* bits,
           const BITMAPINFO* bmi, DWORD rop);
  // From the raster code: a device-space fill and a device-space glyph run on the baseline.
  void DeviceFill(TDCObj* dc, const TRegionData& shape, const TBrushPaint& brush);
  void DeviceText(TDCObj* dc, double x, double y, const std::vector<TTextChar>& chars, const std::vector<int>& advances,
                  std::uint32_t color, const RECT* clip);

  // The whole binary form with its header and end record.
  std::vector<std::uint8_t> Finish() const;
  const std::string& FileName() const { return FFileName; }

private:
  struct TMirror {
    COLORREF TextColor = 0, BkColor = 0xFFFFFF;
    int BkMode = OPAQUE, Rop2 = R2_COPYPEN, PolyFill = ALTERNATE, Stretch = BLACKONWHITE, ArcDir = AD_COUNTERCLOCKWISE;
    UINT Align = 0;
    int MapMode = MM_TEXT;
    POINT WinOrg, VpOrg, BrushOrg, Cur;
    SIZE WinExt{1, 1}, VpExt{1, 1};
    std::optional<TRegionData> Clip;
    std::vector<std::uint8_t> Keys[3];  // pen, brush, font as last recorded
    int Slot[3] = {0, 0, 0};            // their table entries (0: a stock object)
  };
  enum : unsigned { kPen = 0, kBrush = 1, kFont = 2 };

  std::vector<std::uint8_t> FOut;  // the records after the header
  std::uint32_t FRecords = 0;
  RECT FBounds{0, 0, -1, -1};
  int FRefW, FRefH, FDpi;
  std::optional<RECT> FFrame;
  std::string FFileName;
  std::u16string FDescription;
  TMirror FM;

  std::size_t Begin(DWORD type);
  void End(std::size_t start);
  void Put32(std::uint32_t v);
  void PutRect(const RECT& r);
  // Points as 16-bit pairs when `small`, else 32-bit.
  void PutPoints(const POINT* pts, std::size_t count, bool small);
  void Simple(DWORD type, std::initializer_list<std::uint32_t> values);
  void Sync(TDCObj* dc, bool deviceSpace, bool position);
  void SyncObject(TDCObj* dc, unsigned kind);
  // A brush for one record: a stock index, or a table entry made now and freed by DropTemp.
  std::uint32_t TempBrush(TDCObj* dc, HBRUSH brush);
  void DropTemp(std::uint32_t index);
  void WriteRegion(const TRegionData& rgn);
  // Adds a drawn area (device, right/bottom exclusive) to the bounds; answers it inclusive.
  RECT AddBounds(const RECT& device);
  RECT AddLogicalBounds(TDCObj* dc, const POINT* pts, int count, bool withPen);
  void DibRecord(TDCObj* dc, DWORD type, int x, int y, int w, int h, int xs, int ys, int ws, int hs,
                 const std::vector<std::uint32_t>& topDown, int bw, int bh, DWORD rop);
};

}  // namespace GdiInternal

// Internal to the drawing layer: pixel access, coordinate mapping and painting of device-space
// shapes with brushes, pens and raster operations.
#pragma once

#include <cstdint>

#include "platform/gdi/dc/GdiInternal.h"

namespace GdiInternal {

struct TSurface {
  std::uint32_t* Base = nullptr;
  std::ptrdiff_t Stride = 0;  // pixels
  int Width = 0, Height = 0;
  bool Mono = false;
  std::uint32_t* Row(int y) const { return Base + y * Stride; }
};

// The pixels the DC draws into; false for a DC without pixels.
bool GetSurface(TDCObj* dc, TSurface& out);

// Logical to device mapping.
struct TMapping {
  double Sx = 1, Sy = 1, Ox = 0, Oy = 0;  // device = logical * S + O
  bool Identity() const { return Sx == 1 && Sy == 1; }
};
TMapping MappingOf(const TDCObj* dc);
POINT ToDevice(const TDCObj* dc, int x, int y);
// A logical rectangle in device coordinates (normalised).
RECT RectToDevice(const TDCObj* dc, const RECT& r);
// The device area painting may touch: the clip region within the surface.
TRegionData DrawableArea(TDCObj* dc, const TSurface& s);

// The device rectangle drawing can touch (surface or page, within the clip), with a margin.
RECT DrawableBounds(TDCObj* dc);
// Limits shape building to the rows drawing can touch, for the guard's lifetime.
inline TRowWindow DrawRows(TDCObj* dc)
{
  RECT b = DrawableBounds(dc);
  return TRowWindow(b.top, b.bottom);
}

std::uint32_t Rop2(int rop2, std::uint32_t pen, std::uint32_t dst);
// Any ternary raster operation on pattern, source and destination.
std::uint32_t Rop3(DWORD rop, std::uint32_t pat, std::uint32_t src, std::uint32_t dst);
inline std::uint32_t MonoOf(std::uint32_t p)
{
  unsigned lum = ((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11;
  return lum >= 12800 ? 0xFFFFFFu & 0xFFFFFF : 0;
}

// The colour a brush paints at device pixel (x, y); false where a hatched brush in transparent
// background mode leaves the pixel alone.
class TBrushPaint {
public:
  TBrushPaint(const TDCObj* dc, const TBrushObj* brush);
  bool IsNull() const { return FNull; }
  bool At(int x, int y, std::uint32_t& out) const;
  bool IsSolid() const { return FSolid; }
  std::uint32_t Solid() const { return FColor; }

private:
  const TBrushObj* FBrush = nullptr;
  bool FNull = false, FSolid = true, FOpaque = true;
  std::uint32_t FColor = 0, FFore = 0, FBack = 0;
  POINT FOrg;
};

const TBrushObj* SelectedBrush(const TDCObj* dc, COLORREF* dcColor);
const TPenObj* SelectedPen(const TDCObj* dc);
COLORREF PenColor(const TDCObj* dc, const TPenObj* pen);

// Paints the device-space shape with the brush through ROP2 (or a ternary rop when rop3 != 0),
// within the DC's clip and surface.
void PaintShape(TDCObj* dc, const TRegionData& shape, const TBrushPaint& brush, int rop2, DWORD rop3 = 0);
// Paints the shape in one colour through ROP2.
void PaintShapeColor(TDCObj* dc, const TRegionData& shape, std::uint32_t color, int rop2);

}  // namespace GdiInternal

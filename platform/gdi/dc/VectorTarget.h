// Internal to the drawing layer: a device context's drawing on a surface without pixels of
// its own (a PDF or PostScript page). The raster code hands it device-space shapes, glyph runs
// and images.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/dc/GdiInternal.h"

namespace GdiInternal {

class TBrushPaint;

struct TPlacedGlyph {
  unsigned GlyphIndex = 0;
  double X = 0, Y = 0;  // device pixels, on the baseline
};

class TVectorTarget {
public:
  virtual ~TVectorTarget() = default;
  // The drawable (printable) area in device pixels; device (0, 0) is its corner.
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // The whole page, and where the drawable area starts on it.
  virtual int PhysicalWidth() const { return Width(); }
  virtual int PhysicalHeight() const { return Height(); }
  virtual int OffsetX() const { return 0; }
  virtual int OffsetY() const { return 0; }
  virtual void FillRegion(TDCObj* dc, const TRegionData& shape, const TBrushPaint& brush, int rop2, DWORD rop3) = 0;
  // Glyphs of one face at one size, in one colour, rotated by `angle` radians counter-clockwise.
  virtual void DrawGlyphs(TDCObj* dc, const TFontInstance& font, bool fallback, const std::vector<TPlacedGlyph>& glyphs,
                          std::uint32_t color, double angle) = 0;
  // 32-bit pixels scaled into the device rectangle.
  virtual void DrawImage(TDCObj* dc, const std::uint32_t* pixels, int w, int h, std::ptrdiff_t stride,
                         const RECT& dest) = 0;
};

}  // namespace GdiInternal

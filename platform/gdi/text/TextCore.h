// Internal to the drawing layer: decoding text into characters and drawing glyph runs.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/text/FontEngine.h"
#include "platform/gdi/dc/GdiInternal.h"

namespace GdiInternal {

struct TTextChar {
  char32_t Cp = 0;
  int Units = 1;  // bytes (A) or UTF-16 units (W) it takes in the caller's text
};

std::vector<TTextChar> DecodeAnsi(const char* s, int count);
std::vector<TTextChar> DecodeWide(const char16_t* s, int count);

// The run's glyphs at device (x, y) on the baseline, along the font's escapement, with the given
// device advances, in the colour, clipped to the DC's clip and to `clip` when given (device).
// Underline and strike-out follow the font. Honours no background: callers fill it.
void DrawGlyphRun(TDCObj* dc, TFontInstance& font, double x, double y, const std::vector<TTextChar>& chars,
                  const std::vector<int>& advances, std::uint32_t color, const RECT* clip);

// Device advances of the characters with the DC's character extra and justification.
std::vector<int> Advances(TDCObj* dc, TFontInstance& font, const std::vector<TTextChar>& chars);

int ToLogicalX(const TDCObj* dc, double v);
int ToLogicalY(const TDCObj* dc, double v);

}  // namespace GdiInternal

// The face of the glyph buttons (TBitBtn, TSpeedButton): a glyph and a caption laid out side by
// side or one above the other. A glyph holds NumGlyphs images side by side (up, disabled, down,
// held down); a missing disabled image is made from the up one, embossed in the shadow and
// highlight colours. The glyph's bottom-left pixel is its transparent colour.
#pragma once

#include "platform/stdctrls/StdCtrlsTypes.h"

class TCanvas;
class TBitmap;

namespace ButtonGlyph {

struct TGlyphFace {
  AnsiString Caption;
  TBitmap* Glyph = nullptr;  // borrowed; may be null or empty
  int NumGlyphs = 1;
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;  // from the edge to the glyph; -1 centres glyph and caption together
  int Spacing = 4;  // between glyph and caption
  TButtonState State = bsUp;
};

// Draws the face into Client, everything moved by Offset (a pressed button's shift). Answers
// the caption's rectangle (for the focus frame).
RECT Draw(TCanvas* Canvas, const RECT& Client, POINT Offset, const TGlyphFace& Face);
// The images a newly set glyph holds: as many square ones as fit side by side (1 to 4), else
// Current.
int ImageCount(TBitmap* Glyph, int Current);

}  // namespace ButtonGlyph

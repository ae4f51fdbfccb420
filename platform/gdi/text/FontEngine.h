// Internal to the drawing layer: a LOGFONT realised at a pixel size, through fontconfig (with
// the classic face aliases) and FreeType. Instances are cached and shared; all metrics are in
// device pixels. Characters the face lacks come from the Chinese fallback face, as font linking
// does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/WinTypes.h"

class TFontInstance {
public:
  struct TGlyph {
    int Advance = 0;
    int Left = 0, Top = 0;  // bitmap origin relative to the pen position (Top upwards)
    int Width = 0, Height = 0;
    std::vector<std::uint8_t> Alpha;
    unsigned Index = 0;
    bool Fallback = false;
  };

  // The instance for a font at a vertical scale (device pixels per logical unit). `outline`
  // instances use unhinted design advances, as pages for print and PDF need. Null only when not
  // even the fallback face can be opened.
  static std::shared_ptr<TFontInstance> Get(const LOGFONTA& lf, double scaleY, bool outline = false);
  ~TFontInstance();

  const LOGFONTA& Log() const { return FLog; }
  TEXTMETRICA Metrics() const { return FMetrics; }
  double EmPixels() const { return FEm; }
  double Angle() const { return FAngle; }             // radians, counter-clockwise
  int UnderlinePos() const { return FUnderlinePos; }  // below the baseline
  int UnderlineSize() const { return FUnderlineSize; }
  int StrikeOutPos() const { return FStrikePos; }  // above the baseline
  int StrikeOutSize() const { return FStrikeSize; }

  int Advance(char32_t cp);
  // The unrotated glyph (cached).
  const TGlyph& Glyph(char32_t cp);
  // The glyph rendered turned by the font's escapement.
  TGlyph RotatedGlyph(char32_t cp);
  // ABC widths of a character: A the left bearing, B the ink width, C the rest of the advance.
  ABC AbcWidths(char32_t cp);

  // The face actually used, for GetTextFace and the PDF font name.
  std::string FaceNameAnsi() const;
  // The sfnt table with that tag (0: the whole font, a standalone font for a face inside a
  // collection). Empty when missing.
  std::vector<std::uint8_t> FontData(std::uint32_t tag) const;
  bool FillOutline(OUTLINETEXTMETRICA& otm) const;
  // The font file and face index behind the main or the fallback face (false when there is no
  // fallback face), for surfaces that open the face themselves.
  bool FaceSource(bool fallback, std::string& file, int& index) const;
  // Bold or italic made from a regular face.
  bool SyntheticBold() const;
  bool SyntheticItalic() const;

  struct TImpl;

private:
  TFontInstance() = default;
  LOGFONTA FLog;
  TEXTMETRICA FMetrics;
  double FEm = 12, FAngle = 0;
  int FUnderlinePos = 1, FUnderlineSize = 1, FStrikePos = 3, FStrikeSize = 1;
  std::unique_ptr<TImpl> FImpl;
};

namespace GdiInternal {
struct TDCObj;

// One installed scalable family as the font listing reports it.
struct TFamilyInfo {
  std::string Name;  // CP936: the zh-cn name when the family has one, else its first
  bool FixedPitch = false;
  std::vector<BYTE> Charsets;  // the character sets its languages cover, ascending
};
// The installed scalable families whose names CP936 can hold, then the classic faces the
// drawing layer maps ("宋体", "Arial", ...) whose stand-in is installed, each with the
// charsets of its stand-in. Sorted by name (CP936 bytes, ASCII case ignored), one entry per
// name. The fonts are those found when the drawing layer first needed fonts, the same set that
// text output draws with.
std::vector<TFamilyInfo> InstalledFamilies();
// The font selected into the DC, realised for the DC's mapping.
std::shared_ptr<TFontInstance> FontOf(TDCObj* dc);
}  // namespace GdiInternal

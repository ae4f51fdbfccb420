// The PDF objects of one font of the exported text. Two kinds:
//  - single-byte text: a TrueType font dictionary with the widths of its codes and an encoding
//    by character set (a Type0 font with a CNS1 descendant for Big5 fonts), a descriptor and,
//    with EmbeddedFonts, the whole font program;
//  - text holding double-byte (code page 936) characters: a Type0 font with Identity-H encoding
//    over a CIDFontType2 descendant whose CIDs are the glyph numbers of the face that draws those
//    characters, the widths of the glyphs used, a descriptor, a ToUnicode map (the fourth object
//    number of the font, unused otherwise) and a subset of the face, always embedded so that the
//    text shows on machines without the face.
// Font i owns the object numbers FontsBase + 5i + 1 .. + 5: dictionary, descendant, descriptor,
// ToUnicode, program. Metrics come from the drawing layer (fontconfig and FreeType).
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/forms/graphics/Font.h"
#include "report/engine/pdf/frxPDFFile.h"

namespace frxPDFFont {
struct TFace;
}

class TfrxPDFFont : public TfrxPDFElement {
public:
  // A font of the file's for single-byte text; copies Font.
  TfrxPDFFont(TfrxPDFFile* PDFFile, const TFont* Font);
  // A Type0 font over Face for double-byte text; copies Font (name, style, size, colour).
  TfrxPDFFont(TfrxPDFFile* PDFFile, const TFont* Font, std::shared_ptr<frxPDFFont::TFace> Face);
  ~TfrxPDFFont() override;

  void SaveToStream(TStream* Stream) override;

  const TFont* GetFont() const { return FFont.get(); }
  bool IsCID() const { return FFace != nullptr; }
  const frxPDFFont::TFace* GetFace() const { return FFace.get(); }
  // The text as a hexadecimal string of glyph numbers ("<0012ABCD>"), remembering the glyphs for
  // the widths, the ToUnicode map and the subset. Type0 fonts only.
  AnsiString EncodeText(const AnsiString& Text);
  // Glyphs used so far, each with the text it stands for (UTF-16).
  const std::map<unsigned, std::u16string>& GetUsedGlyphs() const { return FUsed; }

private:
  void SaveTrueType(TStream* Stream);
  void SaveCID(TStream* Stream);
  void SaveProgram(TStream* Stream, Integer Number, const std::string& Program);

  TfrxPDFFile* FPDFFile;
  std::unique_ptr<TFont> FFont;
  std::shared_ptr<frxPDFFont::TFace> FFace;
  std::map<unsigned, std::u16string> FUsed;
};

namespace frxPDFFont {

// A face loaded for glyph lookup and subsetting, shared by the fonts that draw with it.
struct TFace {
  TFace();
  ~TFace();
  TFace(const TFace&) = delete;
  TFace& operator=(const TFace&) = delete;

  AnsiString Name;            // the family as the drawing layer names it
  AnsiString PostScriptName;  // from the face's name table; the family less blanks when it has none
  bool Bold = false, Italic = false;
  std::string Data;  // the whole font file (a standalone font for a face inside a collection)
  unsigned UnitsPerEm = 1000;
  // Metrics at 1,000 units to the em.
  int Ascent = 0, Descent = 0, CapHeight = 0, Weight = 400, ItalicAngle = 0;
  RECT BBox{};
  struct THb;
  std::unique_ptr<THb> Hb;

  // The glyph of a character; 0 when the face has none.
  unsigned Glyph(char32_t Ch) const;
  // The advance of a glyph at 1,000 units to the em.
  int Width(unsigned Glyph) const;
  // Whether the face has a glyph for every character of Text (CP936).
  bool Covers(const AnsiString& Text) const;
  // The face cut down to Glyphs (glyph numbers kept); raises EInvalidOperation when the face
  // cannot be cut.
  std::string Subset(const std::set<unsigned>& Glyphs) const;
};

// The face that draws Font's characters on screen (the font's own face when it has them, else
// the Chinese face the drawing layer falls back to), loaded once per face and style.
std::shared_ptr<TFace> FaceFor(const TFont* Font, const AnsiString& Text);

// Every byte above 127 as "#" and two upper-case hexadecimal digits.
AnsiString NameEscape(const AnsiString& Text);

}  // namespace frxPDFFont

// Laying out and drawing memo text: line breaking to a width, inline tags (<b> <i> <u>
// <strike> <sub> <sup> <font color=...>), justification, rotation and vertical alignment, and the
// measures stretching and page splitting ask for.
//
// All measuring happens once, at 600 dpi on an off-screen canvas, whatever the output device;
// drawing spreads the difference between that ideal width and the device's own widths over the
// characters, so screen, printer and exports break lines the same way. Text is CP936: lines are
// only ever broken between whole characters.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/graphics/Font.h"
#include "platform/gdi/WinTypes.h"
#include "platform/rtl/StringList.h"

// The state of one visible byte (both bytes of a double-byte character carry the same state).
struct TfrxHTMLTag {
  Integer CharPos = 0;    // index in the input line, tags counted
  Integer PointSize = 0;  // points
  Integer Lowered = 0;    // 1 for subscript
  Integer StyleBits = 0;  // 1 bold, 2 italic, 4 underline, 8 strike-out
  TColor TextColor = 0;
  bool SameAsPrevious = false;
  bool Reduced = false;  // size differs from the default
};

using TfrxHTMLTags = std::vector<TfrxHTMLTag>;

// Interprets the tags of one input line. Unrecognised '<' stay as ordinary characters.
class TfrxHTMLTagsList {
public:
  void SetDefaults(TColor Color, Integer Size, Integer StyleBits);
  // Back to the defaults (called before each text).
  void Reset();
  // The visible text of Line; Tags gets one entry per visible byte. LineStart is the input
  // position of the line's first byte.
  AnsiString ExpandLine(const AnsiString& Line, TfrxHTMLTags& Tags);
  bool AllowTags = true;

private:
  // Length of a recognised tag at Pos (0: an ordinary '<'); applies it.
  size_t ApplyTag(const AnsiString& Line, size_t Pos);
  TColor FDefColor = 0, FColor = 0;
  Integer FDefSize = 10, FSize = 10, FDefStyle = 0, FStyle = 0, FLowered = 0;
};

PELTO_ENUM(TfrxHAlign, haLeft, haRight, haCenter, haBlock)
PELTO_ENUM(TfrxVAlign, vaTop, vaBottom, vaCenter)

class TfrxDrawText {
public:
  TfrxDrawText();
  ~TfrxDrawText();
  TfrxDrawText(const TfrxDrawText&) = delete;
  TfrxDrawText& operator=(const TfrxDrawText&) = delete;

  // One user lays out and draws at a time; Lock raises EInvalidOperation when the instance is
  // already held (a nested layout would overwrite the lines of the outer one).
  void Lock();
  void Unlock();
  bool IsLocked() const { return FLocked; }

  void SetFont(const TFont* Font);
  void SetOptions(bool WordWrap, bool HTMLTags, Integer Rotation, bool WordBreak, bool RTLReading);
  // Pixels at 96 dpi.
  void SetGaps(Extended ParagraphGap, Extended CharSpacing, Extended LineSpacing);
  // LayoutRect in pixels at 96 dpi; DeviceRect on the output canvas; Scale: device pixels per
  // layout pixel.
  void SetDimensions(Extended ScaleX, Extended ScaleY, const RECT& LayoutRect, const RECT& DeviceRect);
  // Lays the lines out.
  void SetText(TStrings* Lines);
  void DrawText(HDC Canvas, TfrxHAlign HAlign, TfrxVAlign VAlign);

  // In layout pixels.
  Extended CalcHeight() const;
  Extended LineHeight() const;
  Extended CalcWidth() const;
  Extended UnusedSpace() const;
  // Keeps the lines that fit the layout height and answers the text that did not, led by the
  // tags restoring its first character's colour, style and sub- or superscript.
  AnsiString GetRemainingText();
  // The laid-out lines, one per line, each with the input's tags around its characters, so the
  // part of a split text that stays keeps its look (a dropped break blank stays dropped).
  AnsiString GetText() const;
  Integer GetLineCount() const { return static_cast<Integer>(FLines.size()); }
  const AnsiString& GetLine(Integer Index) const { return FLines.at(static_cast<size_t>(Index)).Text; }
  // 1 first line of a paragraph, 2 last, 3 both.
  Integer GetLineFlags(Integer Index) const { return FLines.at(static_cast<size_t>(Index)).Flags; }
  AnsiString RemoveTags(const AnsiString& Text);
  static bool IsPrinter(HDC Canvas);

private:
  struct TLine {
    AnsiString Text;
    TfrxHTMLTags Tags;
    std::vector<int> Widths;  // measuring-resolution width of each byte (a character's on its last byte)
    Integer Flags = 0;
    size_t InputPos = 0;  // position of the first byte in the joined input text
    AnsiString Tagged;    // the line's input text, tags kept
    bool Hyphen = false;  // ends in an added hyphen
  };
  // Fills Tagged for the lines from First on, all laid out from the input line Source.
  void TagLines(const AnsiString& Source, const TfrxHTMLTags& SourceTags, size_t First);
  void MeasureLine(const AnsiString& Text, const TfrxHTMLTags& Tags, std::vector<int>& Widths);
  void SelectMeasureFont(Integer Size, Integer StyleBits);
  HFONT MakeFont(Integer Height, Integer StyleBits, Integer Rotation) const;
  void DrawLine(HDC Canvas, const TLine& Line, int X, int Y, int AvailWidth, int Type, int FontSize);
  int DeviceFontHeight(HDC Canvas, Integer Size) const;

  HDC FDC = nullptr;
  HBITMAP FBitmap = nullptr;
  HFONT FMeasureFont = nullptr;
  AnsiString FFontName;
  Integer FCharset = 1;
  Integer FFontSize = 10;
  Integer FDefStyle = 0;
  TColor FDefColor = 0;
  Extended FParagraphGap = 0, FCharSpacing = 0, FLineSpacing = 0;
  bool FWordWrap = true, FHTMLTags = false, FWordBreak = false, FRTLReading = false;
  Integer FRotation = 0;
  Extended FScaleX = 1, FScaleY = 1;
  RECT FLayoutRect{}, FDeviceRect{};
  AnsiString FText;
  std::vector<TLine> FLines;
  TfrxHTMLTagsList FTags;
  bool FLocked = false;
};

namespace frxGraphicUtils {
// The shared instance, made by Initialize and freed by Finalize.
TfrxDrawText* frxDrawText();
void Initialize();
void Finalize();
}  // namespace frxGraphicUtils

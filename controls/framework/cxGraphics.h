// The canvas every painter of the family draws through: frames of chosen sides, 3-D edges in
// the system colours, glyphs, tiled bitmap fills, text with the family's alignment flags, and
// clipping through TcxRegion. Also the two highlight colours blended from the system colours.
//
// A TcxCanvas works on a class-library canvas it does not own and uses that canvas's brush, pen
// and font; its own drawing realises them on the canvas's device context for each call and puts
// back what the context had selected.
#pragma once

#include <memory>

#include "platform/classes/ClassDecl.h"
#include "platform/classes/Sets.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Pen.h"

PELTO_ENUM(TcxBorder, bLeft, bTop, bRight, bBottom)
PELTO_SET(TcxBorders, TcxBorder)
inline constexpr TcxBorders cxBordersAll{bLeft, bTop, bRight, bBottom};
PELTO_ENUM(TcxGridLines, glBoth, glNone, glVertical, glHorizontal)
PELTO_ENUM(TcxRegionCombineMode, rcmCopy, rcmAdd, rcmSubtract, rcmIntersect)

// The family's text flags; a caller may combine them.
constexpr int tfAlignLeft = 1, tfAlignRight = 2, tfAlignHCenter = 4, tfAlignTop = 8, tfAlignBottom = 16,
              tfAlignVCenter = 32, tfSingleLine = 64, tfNoClip = 128, tfExpandTabs = 256, tfShowPrefix = 512,
              tfWordBreak = 1024, tfEndEllipsis = 2048, tfCalcOnly = 4096, tfPathEllipsis = 8192;

// A region handle owned by the object (deleted with it).
class TcxRegion : public TObject {
public:
  // Takes over Handle.
  explicit TcxRegion(HRGN Handle);
  explicit TcxRegion(const RECT& Rect);
  TcxRegion(int Left, int Top, int Right, int Bottom);
  static TcxRegion* CreateEmpty() { return new TcxRegion(0, 0, 0, 0); }
  ~TcxRegion() override;
  TcxRegion(const TcxRegion&) = delete;
  TcxRegion& operator=(const TcxRegion&) = delete;
  HRGN GetHandle() const { return FHandle; }
  bool IsEmpty() const;
  // rcmCopy makes this region a copy of the other; the other modes combine in place. With
  // DestroyRegion the other object is deleted afterwards.
  void Combine(TcxRegion* Region, TcxRegionCombineMode Mode, bool DestroyRegion = true);
  void Offset(int DX, int DY);

private:
  HRGN FHandle;
};

class TcxCanvas : public TObject {
public:
  // ACanvas is not owned and must outlive this object.
  explicit TcxCanvas(TCanvas* ACanvas);
  ~TcxCanvas() override;
  TcxCanvas(const TcxCanvas&) = delete;
  TcxCanvas& operator=(const TcxCanvas&) = delete;

  TCanvas* GetCanvas() const { return FCanvas; }
  // The wrapped canvas's device context (made on first use by canvases that make their own).
  HDC GetHandle() const { return FCanvas->GetHandle(); }
  // The wrapped canvas's objects, owned by it.
  TBrush* GetBrush() const { return FCanvas->GetBrush(); }
  TPen* GetPen() const { return FCanvas->GetPen(); }
  TFont* GetFont() const { return FCanvas->GetFont(); }
  // Copies Font into the canvas's font; nullptr is ignored.
  void SetFont(TFont* Font);
  TColor GetBrushColor() const { return GetBrush()->GetColor(); }
  // Sets the brush colour only when it differs from the current one.
  void SetBrushColor(TColor Color);
  TBrushStyle GetBrushStyle() const { return GetBrush()->GetStyle(); }
  void SetBrushStyle(TBrushStyle Value) { GetBrush()->SetStyle(Value); }
  TColor GetPenColor() const { return GetPen()->GetColor(); }
  void SetPenColor(TColor Color) { GetPen()->SetColor(Color); }

  // Without a bitmap (or an empty one) fills with the brush; with one, tiles it on a grid
  // anchored at the canvas origin. An empty rectangle draws nothing. Only the bitmap's pixels
  // are read (its canvas makes a device context on first use).
  void FillRect(const RECT& R, TBitmap* Bitmap = nullptr);
  void FillRectColor(const RECT& R, TColor Color);
  // Bands LineWidth wide along the sides in Borders (left, right, top, bottom); clDefault keeps
  // the brush colour.
  void FrameRect(const RECT& R, TColor Color = clDefault, int LineWidth = 1, TcxBorders Borders = cxBordersAll);
  // Left and top in TopLeftColor, right and bottom in BottomRightColor (drawn last).
  void DrawTwoColorFrame(const RECT& R, TColor TopLeftColor, TColor BottomRightColor, TcxBorders Borders = cxBordersAll,
                         int Width = 1);
  void DrawEdge(const RECT& R, bool Sunken, bool Outer, TcxBorders Borders = cxBordersAll);
  void DrawFocusRect(const RECT& R);
  void InvertRect(const RECT& R);
  // The glyph's bottom-left pixel is its transparent colour. Enabled: copied with that colour
  // replaced by BackgroundColor (clNone: left transparent). Disabled: drawn greyed.
  void DrawGlyph(int X, int Y, TBitmap& Glyph, bool Enabled = true, TColor BackgroundColor = clNone);

  // Flags are the tf* bits. An empty text draws nothing and changes nothing.
  void DrawText(const AnsiString& Text, const RECT& R, int Flags, bool Enabled = true);
  // Resizes R to the text and moves it back into the area given, by the alignment flags.
  void CalculateTextRect(const AnsiString& Text, RECT& R, int Flags);
  SIZE TextExtent(const AnsiString& Text);
  int TextWidth(const AnsiString& Text) { return TextExtent(Text).cx; }
  int TextHeight(const AnsiString& Text) { return TextExtent(Text).cy; }
  // Takes Font (as SetFont) and answers the height of "Qq".
  int GetFontHeight(TFont* Font);

  void MoveTo(int X, int Y);
  // With the pen; the end point is not drawn.
  void LineTo(int X, int Y);
  // Filled with the brush and outlined with the pen.
  void Polygon(const POINT* Points, int Count);
  void Polyline(const POINT* Points, int Count);
  void SetPixel(int X, int Y, TColor Color);
  void CopyRectFromCanvas(const RECT& Dest, TcxCanvas* Source, const RECT& SourceRect);
  void CopyRectFromDC(const RECT& Dest, HDC Source, const RECT& SourceRect);

  void ExcludeFromClip(const RECT& R);
  void IntersectClip(const RECT& R);
  bool RectVisible(const RECT& R);
  POINT GetWindowOrg();
  // A new region the caller owns: the clip region, or (0, 0, 107374182, 107374182) when the DC
  // has none.
  TcxRegion* GetClipRegion();
  void SetClipRegion(TcxRegion* Region, TcxRegionCombineMode Mode, bool DestroyRegion = true);
  // Saves and restores the DC's state (clip region included).
  int SaveState();
  void RestoreState(int Level = -1);

private:
  HFONT MakeFont() const { return GetFont()->GetHandle(); }
  void FillWithColor(const RECT& R, COLORREF C);
  TCanvas* FCanvas;
};

// A canvas with the screen's measures: its context is a screen-compatible memory DC (a window-less
// screen DC is not to be had here), made on first use and freed with the canvas.
class TScreenCanvas : public TCanvas {
  PELTO_DECLARE_CLASS(TScreenCanvas, TCanvas)
public:
  TScreenCanvas() = default;
  ~TScreenCanvas() override;

protected:
  void CreateHandle() override;

private:
  void FreeHandle();
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOld = nullptr;
};

// For measuring text when no window is at hand; owns its TScreenCanvas.
class TcxScreenCanvas : public TcxCanvas {
public:
  TcxScreenCanvas();
  ~TcxScreenCanvas() override;

private:
  explicit TcxScreenCanvas(std::unique_ptr<TScreenCanvas> Canvas);
  std::unique_ptr<TScreenCanvas> FScreenCanvas;
};

namespace cxGraphics {
unsigned ToWindowsTextFlags(int Flags);
// Weights are percentages; black or white clBtnFace answers clHighlight.
COLORREF BlendSystemColors(int WeightBtnFace, int WeightHighlight, int WeightWindow);
COLORREF GetPressedHighlightColor();
COLORREF GetHotHighlightColor();
RECT Rect(int Left, int Top, int Right, int Bottom);
RECT InflatedRect(const RECT& R, int DX, int DY);
RECT OffsetRect(const RECT& R, int DX, int DY);
bool IsRectEmpty(const RECT& R);
}  // namespace cxGraphics

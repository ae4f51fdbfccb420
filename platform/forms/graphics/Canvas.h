// TCanvas: drawing with a pen, a brush and a font on a device context.
//
// The canvas owns its pen, brush and font and selects their handles into the device context only
// when a drawing call needs them; a change to one of them takes it out of the context again, and
// the next call selects the new handle. The device context itself is not owned by TCanvas (it is
// by descendants that make their own, such as a bitmap's canvas). Drawing with no context raises
// EInvalidOperation "Canvas does not allow drawing".
//
// Coordinates are the context's logical units; rectangles exclude their right and bottom edges.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/classes/Persistent.h"
#include "platform/forms/graphics/Colors.h"

class TBrush;
class TFont;
class TGraphic;
class TPen;

using TCopyMode = DWORD;
constexpr TCopyMode cmBlackness = 0x00000042, cmDstInvert = 0x00550009, cmMergeCopy = 0x00C000CA,
                    cmMergePaint = 0x00BB0226, cmNotSrcCopy = 0x00330008, cmNotSrcErase = 0x001100A6,
                    cmPatCopy = 0x00F00021, cmPatInvert = 0x005A0049, cmPatPaint = 0x00FB0A09, cmSrcAnd = 0x008800C6,
                    cmSrcCopy = 0x00CC0020, cmSrcErase = 0x00440328, cmSrcInvert = 0x00660046, cmSrcPaint = 0x00EE0086,
                    cmWhiteness = 0x00FF0062;

class TCanvas : public TPersistent {
  PELTO_CLASS(TCanvas, TPersistent)
public:
  TCanvas();
  // Takes its pen, brush and font out of the context, putting back what was selected before.
  ~TCanvas() override;

  // The device context; a descendant makes one on first use. Null when there is none.
  HDC GetHandle();
  // Works on Value from now on (not owned); the objects selected into the old context are taken
  // out of it first. Null detaches the canvas.
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  // Owned by the canvas; the setters copy Value.
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value);
  TPen* GetPen() const { return FPen.get(); }
  void SetPen(TPen* Value);
  TBrush* GetBrush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value);

  POINT GetPenPos();
  void SetPenPos(POINT Value) { MoveTo(Value.x, Value.y); }
  // The raster operation of CopyRect and of drawing bitmaps.
  TCopyMode GetCopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  // The bounds of the visible part, logical units.
  RECT GetClipRect();
  // The Pixels property: the colour at a point; clNone outside the surface.
  TColor GetPixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Value);

  // ---- Shapes: outlined with the pen, filled with the brush.
  void MoveTo(int X, int Y);
  // A line from the pen position, excluding the end point, which becomes the pen position.
  void LineTo(int X, int Y);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const RECT& Rect) { Rectangle(Rect.left, Rect.top, Rect.right, Rect.bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const RECT& Rect) { Ellipse(Rect.left, Rect.top, Rect.right, Rect.bottom); }
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Polygon(const std::vector<POINT>& Points);
  void Polyline(const std::vector<POINT>& Points);
  // With the brush only.
  void FillRect(const RECT& Rect);
  void FrameRect(const RECT& Rect);
  void DrawFocusRect(const RECT& Rect);

  // ---- Text in the font; the background is the brush's colour unless the brush is clear.
  // Moves the pen position to the end of the text.
  void TextOut(int X, int Y, const AnsiString& Text);
  // The text at X, Y clipped to Rect, which is first filled when the brush is solid.
  void TextRect(const RECT& Rect, int X, int Y, const AnsiString& Text);
  SIZE TextExtent(const AnsiString& Text);
  int TextWidth(const AnsiString& Text) { return TextExtent(Text).cx; }
  int TextHeight(const AnsiString& Text) { return TextExtent(Text).cy; }

  // ---- Pictures. Nothing is drawn for a null or empty graphic.
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const RECT& Rect, TGraphic* Graphic);
  // Copies Source of Canvas into Dest with CopyMode, stretching when the sizes differ.
  void CopyRect(const RECT& Dest, TCanvas* Canvas, const RECT& Source);

  // Serialises drawing from several threads; Lock may nest in one thread.
  void Lock();
  void Unlock();
  bool TryLock();
  int GetLockCount() const { return FLockCount; }

  // Told before and after each drawing call.
  std::function<void(TObject* Sender)> OnChange;
  std::function<void(TObject* Sender)> OnChanging;

  // Brush, Font and Pen (defined beside the drawing code, where their classes are complete).
  PELTO_PUBLISHED(p);

protected:
  // Makes the context when the canvas has none (a bitmap's canvas); nothing here.
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();

  enum TState { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
  // Makes sure the context exists and the named objects are selected into it.
  void RequiredState(int State);

private:
  void DeselectFont();
  void DeselectPen();
  void DeselectBrush();

  HDC FHandle = nullptr;
  int FState = 0;
  HGDIOBJ FOldFont = nullptr, FOldPen = nullptr, FOldBrush = nullptr;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TCopyMode FCopyMode = cmSrcCopy;
  std::recursive_mutex FLock;
  int FLockCount = 0;
};

// Colours, fonts and bitmaps as the control family needs them, until the class library's
// graphics unit (TColor, TFont, TBitmap of platform/forms) exists. Kept small and by value so
// that moving to the class library's types later touches only this file and its users' types.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/gdi/WinTypes.h"
#include "platform/rtl/System.h"

// A colour: 0x00BBGGRR, or a system colour (0xFF000000 | COLOR_ index), or one of the two
// special values clNone and clDefault.
using TColor = std::int32_t;

constexpr TColor clSystemColor = TColor(0xFF000000u);
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clRed = 0x0000FF, clLime = 0x00FF00,
                 clBlue = 0xFF0000, clNavy = 0x800000;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

namespace GraphicsSeam {
// The RGB value of a colour: system colours resolve through the current scheme; clNone and
// clDefault answer black (callers decide what they mean before asking).
COLORREF ColorToRGB(TColor Color);
}  // namespace GraphicsSeam

enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A font description by value. Height is the character height in pixels (as a negative
// LOGFONT height); 8 points at 96 dpi is 11.
struct TcxFontData {
  AnsiString Name = "Tahoma";
  int Height = 11;
  int Style = 0;  // TFontStyle bits
  TColor Color = clWindowText;
  bool operator==(const TcxFontData&) const = default;
};

// A colour bitmap owned by the object; empty when it has no pixels. Copying copies the pixels.
class TcxBitmap {
public:
  TcxBitmap() = default;
  TcxBitmap(int Width, int Height);
  ~TcxBitmap();
  TcxBitmap(const TcxBitmap& Other);
  TcxBitmap& operator=(const TcxBitmap& Other);
  bool Empty() const { return FHandle == nullptr; }
  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  // A new bitmap of that size (contents undefined until drawn); 0 x 0 empties it.
  void SetSize(int Width, int Height);
  HBITMAP GetHandle() const { return FHandle; }
  // A memory DC with the bitmap selected, created on first use and kept while the bitmap lives.
  HDC GetDC();
  // Called after SetSize and assignment, so owners see every change.
  std::function<void()> OnChange;

private:
  void Release();
  HBITMAP FHandle = nullptr;
  HDC FDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  int FWidth = 0, FHeight = 0;
};

// Horizontal alignment of the class library.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

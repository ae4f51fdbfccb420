// Sections: shared primitives; editor geometry; text; painting editors (frame, buttons, content);
// check box; spin buttons; pop-up window; unit state.
#include "controls/editors/paint/cxEditUtils.h"

#include <algorithm>
#include <vector>

#include "controls/editors/paint/cxEditPaintUtils.h"
#include "controls/editors/paint/cxEditTextUtils.h"
#include "controls/framework/cxContainer.h"
#include "controls/framework/cxFlatLookAndFeelPainter.h"
#include "controls/framework/cxStandardLookAndFeelPainter.h"
#include "controls/framework/cxUltraFlatLookAndFeelPainter.h"
#include "controls/framework/cxWinXPLookAndFeelPainter.h"
#include "controls/framework/dxThemeManager.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/SystemBitmaps.h"
#include "platform/sys/Version.h"
#include "platform/win/window/Metrics.h"

namespace cxEditUtils {

namespace {

SIZE CheckImageSize{13, 13};
// Freed by Finalize, never by a static destructor (the drawing layer may be gone by then).
TBitmap* MarkMask = nullptr;
bool HotLightAvailable = true;
bool UnitReady = false;

void EnsureUnit()
{
  if (!UnitReady) Initialize();
}

RECT Deflated(const RECT& R, int D = 1) { return RECT{R.left + D, R.top + D, R.right - D, R.bottom - D}; }
bool Empty(const RECT& R) { return R.right <= R.left || R.bottom <= R.top; }
bool Same(const RECT& A, const RECT& B)
{
  return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}

// One pixel-wide line from (X1, Y1) to (X2, Y2), both ends included.
void Line(TcxCanvas* C, int X1, int Y1, int X2, int Y2, TColor Color)
{
  POINT pts[2] = {{X1, Y1}, {X2, Y2}};
  PaintPixelLines(C, pts, Color, true);
}
void Frame(TcxCanvas* C, const RECT& R, TColor Color, int W = 1) { C->FrameRect(R, Color, W); }

// Holds a copy of the clip region for a scope and selects it back at the end.
class TClipKeeper {
public:
  explicit TClipKeeper(TcxCanvas* C) : FDC(C->GetHandle()), FLevel(Windows::SaveDC(FDC)) {}
  ~TClipKeeper()
  {
    if (FLevel > 0) Windows::RestoreDC(FDC, FLevel);
  }
  TClipKeeper(const TClipKeeper&) = delete;
  TClipKeeper& operator=(const TClipKeeper&) = delete;

private:
  HDC FDC;
  int FLevel;
};

int ButtonThemeState(int State)
{
  switch (State) {
    case cxEditButtonDisabled: return 4;
    case cxEditButtonPressed: return 3;
    case cxEditButtonHot: return 2;
    default: return 1;
  }
}

TColor ButtonFace(const TcxEditButtonPaintInfo& B)
{
  return (B.Transparent && B.State != cxEditButtonDisabled) ? B.BackgroundColor : clBtnFace;
}

constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;

TColor UltraFlatColor(TcxButtonState S) { return TcxUltraFlatLookAndFeelPainter::Class()->GetButtonFaceColor(S); }

// The face of a hot-flat button, by state (disabled, normal, pressed, hot).
TColor HotFlatFace(const TcxEditButtonPaintInfo& B)
{
  static constexpr TColor kFaces[] = {clBtnFace, clBtnFace, clBtnText, clBtnShadow};
  return (B.Transparent && B.State != cxEditButtonDisabled) ? B.BackgroundColor : kFaces[std::clamp(B.State, 0, 3)];
}

TColor UltraFlatFace(const TcxEditButtonPaintInfo& B)
{
  switch (B.State) {
    case cxEditButtonDisabled: return clBtnFace;
    case cxEditButtonPressed: return B.Transparent ? B.BackgroundColor : UltraFlatColor(cxbsPressed);
    case cxEditButtonHot: return B.Transparent ? B.BackgroundColor : UltraFlatColor(cxbsHot);
    default: return B.Transparent ? B.BackgroundColor : clBtnFace;
  }
}

// The one-colour frame of an ultra-flat button that is disabled, normal or in place; false for a
// stand-alone pressed or hot one, whose sides the caller draws.
bool UltraFlatPlainFrame(TcxCanvas* C, const TcxEditPaintViewInfo& VI, const TcxEditButtonPaintInfo& B, RECT& R)
{
  const bool active = B.State == cxEditButtonPressed || B.State == cxEditButtonHot;
  if (active && !B.IsInplace) return false;
  if (active)
    Frame(C, R, clHighlight);
  else if (!VI.Transparent)
    Frame(C, R, B.BackgroundColor);
  R = Deflated(R);
  return true;
}
}  // namespace

// ==== Shared primitives =======================================================================

bool CanDrawNativePart(bool NativeStyle, int ThemeClass)
{
  return NativeStyle && dxThemeManager::OpenTheme(TdxThemeClass(ThemeClass)) != 0;
}

int GetBorderWidth(TcxEditBorderStyle BorderStyle)
{
  static constexpr int kWidths[] = {0, 1, 2, 2, 2, 1};
  return (BorderStyle >= ebsNone && BorderStyle <= ebsUltraFlat) ? kWidths[BorderStyle] : 0;
}

void InternalFillRect(HDC DC, const RECT& R, HBRUSH Brush) { Windows::FillRect(DC, &R, Brush); }

void FillRectColor(TcxCanvas* Canvas, const RECT& R, TColor Color)
{
  if (Empty(R)) return;
  InternalFillRect(Canvas->GetHandle(), R, cxEditPaintUtils::GetSolidBrush(Color));
}

void PaintPixelLines(TcxCanvas* Canvas, std::span<const POINT> Points, TColor Color, bool AsRects)
{
  if (Points.empty()) return;
  if (AsRects) {
    HBRUSH brush = cxEditPaintUtils::GetSolidBrush(Color);
    HDC dc = Canvas->GetHandle();
    for (std::size_t i = 0; i + 1 < Points.size(); ++i) {
      const POINT a = Points[i], b = Points[i + 1];
      RECT r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
      InternalFillRect(dc, r, brush);
    }
    const POINT last = Points.back();
    InternalFillRect(dc, RECT{last.x, last.y, last.x + 1, last.y + 1}, brush);
    return;
  }
  Canvas->SetPenColor(Color);
  Canvas->Polyline(Points.data(), int(Points.size()));
  Canvas->SetPixel(Points.back().x, Points.back().y, Color);
}

void FillRectExcept(TcxCanvas* Canvas, const RECT& Outer, const RECT& Inner, HBRUSH Brush)
{
  if (Empty(Outer) || Same(Outer, Inner)) return;
  HDC dc = Canvas->GetHandle();
  if (Empty(Inner)) {
    InternalFillRect(dc, Outer, Brush);
    return;
  }
  auto fill = [&](RECT r) {
    if (!Empty(r)) InternalFillRect(dc, r, Brush);
  };
  fill(RECT{Outer.left, Outer.top, Inner.left, Outer.bottom});
  fill(RECT{Inner.left, Outer.top, Inner.right, Inner.top});
  fill(RECT{Inner.left, Inner.bottom, Inner.right, Outer.bottom});
  fill(RECT{Inner.right, Outer.top, Outer.right, Outer.bottom});
}

void GetCenteredOrigin(const RECT& R, SIZE Size, int& X, int& Y, bool Pressed)
{
  const int freeX = (R.right - R.left) - Size.cx, freeY = (R.bottom - R.top) - Size.cy;
  X = R.left + freeX / 2;
  Y = R.top + freeY / 2;
  if (Pressed) {
    if (freeX % 2 != 0) ++X;
    if (freeY % 2 != 0) ++Y;
  }
}

bool IsGlyphUsable(TBitmap* Bitmap)
{
  return Bitmap && !Bitmap->GetEmpty() && Bitmap->GetWidth() > 0 && Bitmap->GetHeight() > 0;
}

void PaintGlyph(TcxCanvas* Canvas, int X, int Y, TBitmap* Glyph, bool Enabled, TColor BackgroundColor)
{
  if (!IsGlyphUsable(Glyph)) return;
  Canvas->DrawGlyph(X, Y, *Glyph, Enabled, BackgroundColor);
}

void DrawImageListGlyph(TcxCanvas* Canvas, TCustomImageList* ImageList, int ImageIndex, const RECT& R,
                        TColor BackgroundColor, bool Enabled, TBitmap* Bitmap)
{
  if (!ImageList || ImageIndex < 0 || ImageIndex >= ImageList->GetCount()) return;
  std::unique_ptr<TBitmap> own;
  if (!Bitmap) {
    own = std::make_unique<TBitmap>();
    own->SetSize(ImageList->GetWidth(), ImageList->GetHeight());
    own->GetCanvas()->GetBrush()->SetColor(BackgroundColor);
    own->GetCanvas()->FillRect(RECT{0, 0, own->GetWidth(), own->GetHeight()});
    Bitmap = own.get();
  }
  ImageList->Draw(Bitmap->GetCanvas(), 0, 0, ImageIndex, Enabled);
  Canvas->GetCanvas()->Draw(R.left, R.top, Bitmap);
}

TcxCustomLookAndFeelPainterClass GetPainterClass(bool NativeStyle, TcxLookAndFeelKind Kind)
{
  if (NativeStyle && dxThemeManager::AreThemesAvailable()) return TcxWinXPLookAndFeelPainter::Class();
  switch (Kind) {
    case lfFlat: return TcxFlatLookAndFeelPainter::Class();
    case lfStandard: return TcxStandardLookAndFeelPainter::Class();
    default: return TcxUltraFlatLookAndFeelPainter::Class();
  }
}

TColor GetHotLightColor()
{
  EnsureUnit();
  return HotLightAvailable ? TColor(Windows::GetSysColor(COLOR_HOTLIGHT)) : TColor(0xFF0000);
}

// ==== Editor geometry =========================================================================

RECT CalculateBorderWidths(bool IsInplace, const RECT& Margins, bool TransparentBorder, bool HotTrack, bool NativeEdit,
                           TcxEditBorderStyle BorderStyle, bool HasShadow)
{
  if (IsInplace) return Margins;
  const int w = (TransparentBorder || HotTrack || NativeEdit) ? 2 : GetBorderWidth(BorderStyle);
  RECT r{w, w, w, w};
  if (HasShadow) {
    r.right += 3;
    r.bottom += 3;
  }
  return r;
}

bool EditHasShadow(bool Shadow, bool NativeEdit) { return Shadow && !NativeEdit; }

int GetMouseArea(const TcxEditPaintViewInfo& VI, const RECT& Bounds, RECT& R)
{
  R = Bounds;
  if (VI.IsInplace || VI.EditThemeState == 0) {
    R.left += VI.BorderWidths.left;
    R.top += VI.BorderWidths.top;
    R.right -= VI.BorderWidths.right;
    R.bottom -= VI.BorderWidths.bottom;
  }
  const int w = VI.EditThemeState != 0 ? 0 : GetBorderWidth(VI.GetEditBorderStyle());
  if (VI.Edges.Contains(bLeft)) R.left -= w;
  if (VI.Edges.Contains(bTop)) R.top -= w;
  if (VI.Edges.Contains(bRight)) R.right += w;
  if (VI.Edges.Contains(bBottom)) R.bottom += w;
  return w;
}

void GetPopupOwnerRect(const TcxEditPaintViewInfo& VI, RECT& R)
{
  R = VI.Bounds;
  if (VI.NativeStyle) return;
  if (VI.Shadow) R.bottom -= 3;
  if (VI.IsInplace) return;
  const int w = GetBorderWidth(VI.GetEditBorderStyle());
  R = cxGraphics::InflatedRect(R, w - 2, w - 2);
  if (!VI.Edges.Contains(bLeft)) R.left += w;
  if (!VI.Edges.Contains(bTop)) R.top += w;
  if (!VI.Edges.Contains(bRight)) R.right -= w;
  if (!VI.Edges.Contains(bBottom)) R.bottom -= w;
}

RECT GetEditWindowRegionRect(const TcxEditPaintViewInfo& VI)
{
  RECT r = VI.FrameRect;
  const int w = GetBorderWidth(VI.GetEditBorderStyle());
  if (VI.Edges.Contains(bLeft)) r.left -= w;
  if (VI.Edges.Contains(bTop)) r.top -= w;
  if (VI.Edges.Contains(bRight)) r.right += w;
  if (VI.Edges.Contains(bBottom)) r.bottom += w;
  return r;
}

void UpdateEditWindowRegion(const TcxEditPaintViewInfo& VI, HWND Wnd)
{
  cxContainer::SetWindowRegion(Wnd, GetEditWindowRegionRect(VI), VI.NativeStyle, VI.Shadow);
}

void CalculateButtonThemeInfo(TcxEditButtonPaintInfo& Button)
{
  Button.NativePart = Button.NativeState = 0;
  Button.NativePartIsTransparent = false;
  if (!Button.NativeStyle) return;
  const int cls = Button.DropDownArrowOnly ? totComboBox : totButton;
  if (!CanDrawNativePart(true, cls)) return;
  Button.NativePart = 1;
  Button.NativeState = ButtonThemeState(Button.State);
  // Opening a theme needs the theme library; without it the branch above has returned.
  Button.NativePartIsTransparent = false;
}

int GetButtonHorzExtent(TcxEditButtonStyle Style)
{
  static constexpr int kExtents[] = {2, 4, 3, 3, 2, 2};
  return (Style >= btsDefault && Style <= btsUltraFlat) ? kExtents[Style] : 2;
}

int GetButtonWidth(TcxCanvas*, TcxEditButtonPaintInfo& Button)
{
  if (Button.NativeStyle && !CanDrawNativePart(true, Button.DropDownArrowOnly ? totComboBox : totButton))
    Button.NativeStyle = false;
  const int e = GetButtonHorzExtent(Button.Style);
  if (Button.Width > 0) return std::max(Button.Width, e);
  if (Button.Kind == bkGlyph && IsGlyphUsable(Button.Glyph)) return Button.Glyph->GetWidth() + e;
  return Windows::GetSystemMetrics(SM_CYHSCROLL);
}

int GetButtonVertExtent(const TcxEditPaintViewInfo& VI)
{
  static constexpr int kExtents[] = {0, 4, 2, 2, 2, 2};
  if (VI.ButtonsInfo.empty()) return 0;
  const TcxEditButtonStyle s = VI.ButtonsInfo.front()->Style;
  return (s >= btsDefault && s <= btsUltraFlat) ? kExtents[s] : 0;
}

// ==== Text ====================================================================================

RECT GetTextOffsets(TAlignment Alignment, bool IsInplace, bool FixedList, bool TopAligned)
{
  RECT r{1, 1, Alignment == taRightJustify ? 2 : 1, IsInplace ? 1 : 3};
  if (!IsInplace && FixedList) {
    ++r.left;
    if (TopAligned) {
      ++r.top;
      --r.bottom;
    }
  }
  return r;
}

RECT GetMemoTextOffsets(TAlignment Alignment)
{
  if (Alignment == taRightJustify) return RECT{0, 1, 2, 1};
  return RECT{1, 1, 1, 1};
}

SIZE GetTextExtraSize(bool IsInplace, bool NativeEdit) { return SIZE{3, !IsInplace ? 4 : (NativeEdit ? 3 : 2)}; }

int EditTextFlagsToTextFlags(int Flags)
{
  int r = 0;
  if ((Flags & 7) == cxEditTextUtils::etfAlignCenter) r |= tfAlignHCenter;
  if ((Flags & 7) == cxEditTextUtils::etfAlignRight) r |= tfAlignRight;
  if ((Flags & 0x30) == cxEditTextUtils::etfAlignVCenter) r |= tfAlignVCenter;
  if ((Flags & 0x30) == cxEditTextUtils::etfAlignBottom) r |= tfAlignBottom;
  if (Flags & cxEditTextUtils::etfSingleLine) r |= tfSingleLine;
  return r;
}

int TextFlagsToEditTextFlags(int Flags)
{
  int r = 0;
  if (Flags & tfAlignHCenter) r |= cxEditTextUtils::etfAlignCenter;
  if (Flags & tfAlignRight) r |= cxEditTextUtils::etfAlignRight;
  if (Flags & tfAlignVCenter) r |= cxEditTextUtils::etfAlignVCenter;
  if (Flags & tfAlignBottom) r |= cxEditTextUtils::etfAlignBottom;
  if (Flags & tfSingleLine) r |= cxEditTextUtils::etfSingleLine;
  return r;
}

AnsiString RemoveAccelChars(const AnsiString& Text)
{
  AnsiString r;
  r.reserve(Text.size());
  for (std::size_t i = 0; i < Text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(Text[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < Text.size()) {
      // A double-byte character: its trail byte may look like '&'.
      r += Text[i];
      r += Text[++i];
      continue;
    }
    if (c != '&') {
      r += Text[i];
      continue;
    }
    if (i + 1 == Text.size()) {
      r += '_';
      break;
    }
    r += Text[++i];
    if (static_cast<unsigned char>(Text[i]) >= 0x81 && static_cast<unsigned char>(Text[i]) <= 0xFE &&
        i + 1 < Text.size())
      r += Text[++i];
  }
  return r;
}

SIZE CalculateTextContentSize(TcxCanvas* Canvas, const TcxTextContentSizeParams& P, const AnsiString& Text,
                              int TextFlags, bool AddExtraWidth)
{
  using namespace cxEditTextUtils;
  if (P.Font) Canvas->SetFont(P.Font);
  const SIZE e = GetTextExtraSize(P.IsInplace, P.NativeEdit);
  const int h = Canvas->TextHeight("Zg");
  constexpr int kUnbounded = 2147483647;
  SIZE size{};
  if (P.WidthLimit < 0) {
    if (TextFlags & etfSingleLine) {
      size.cy = h;
      if (!Text.empty()) {
        RECT r{0, 0, kUnbounded, 0};
        Canvas->CalculateTextRect(Text, r, EditTextFlagsToTextFlags(TextFlags));
        size.cx = r.right - r.left;
      }
    } else {
      TcxTextParams params;
      TcxTextRows rows;
      int count = 0;
      PrepareTextParamsForCanvas(Canvas->GetCanvas(), TextFlags | etfCalcRect, params);
      MakeTextRowsForCanvas(Canvas->GetCanvas(), Text.data(), int(Text.size()), RECT{0, 0, kUnbounded, kUnbounded},
                            P.MaxLineCount, count, rows, params);
      if (P.MaxLineCount > 0) count = std::min(count, P.MaxLineCount);
      size.cx = GetMaxRowWidth(rows, count);
      size.cy = h;
    }
    if (P.AlignmentAllowance) ++size.cx;
    if (AddExtraWidth) size.cx += e.cx;
  } else {
    const int w = P.WidthLimit - (P.IsInplace ? 2 : 0) - (P.AlignmentAllowance ? 1 : 0);
    if (w > 0) {
      size.cx = P.WidthLimit;
      if (Text.empty()) {
        size.cy = P.EmptyTextNoHeight ? 0 : h;
      } else {
        int flags = (TextFlags & ~0x30) | etfCalcRect | etfReturnRowCount;
        if (flags & etfSingleLine) flags = (flags & ~etfSingleLine) | etfWordBreak | etfWholeRowsOnly;
        RECT r{0, 0, w, kUnbounded};
        int rows = cxTextOut(Canvas, Text, r, flags, P.MaxLineCount);
        if (P.MaxLineCount > 0) rows = std::min(rows, P.MaxLineCount);
        size.cy = h * rows;
      }
    } else {
      size.cy = (Text.empty() && P.EmptyTextNoHeight) ? 0 : h;
    }
  }
  if (size.cy > 0) size.cy += e.cy;
  return size;
}

int CalculateMultiLineTextFlags(TcxCanvas* Canvas, TFont* Font, const AnsiString& Text, int DrawTextFlags,
                                const RECT& TextRect, const RECT& TextOffsets, SIZE ExtraSize, const RECT& Margins,
                                TAlignment Alignment)
{
  using namespace cxEditTextUtils;
  if (!Font) return DrawTextFlags;
  Canvas->SetFont(Font);
  if (!(DrawTextFlags & etfSingleLine)) return DrawTextFlags;
  int w = (TextRect.right - TextRect.left) + TextOffsets.left + TextOffsets.right - ExtraSize.cx - Margins.left -
          Margins.right;
  if (Alignment == taRightJustify) ++w;
  RECT r{0, 0, w, 2147483647};
  const int rows = cxTextOut(Canvas, Text, r,
                             (DrawTextFlags & ~etfSingleLine) | etfWordBreak | etfWholeRowsOnly | etfReturnRowCount);
  if (rows <= 1) return DrawTextFlags;
  int flags = (DrawTextFlags & ~etfSingleLine) | etfWordBreak | etfWholeRowsOnly;
  TcxTextParams params;
  PrepareTextParamsForCanvas(Canvas->GetCanvas(), flags, params);
  if (TextRect.bottom - TextRect.top < rows * params.RowHeight) flags &= ~0x30;
  return flags;
}

// ==== Painting editors ========================================================================

namespace {

void PaintClassicFrame(TcxCanvas* C, TcxEditPaintViewInfo& VI, bool FillContent, HBRUSH Brush)
{
  const TcxEditBorderStyle style = VI.GetEditBorderStyle();
  const int w = GetBorderWidth(style);
  RECT r = VI.BorderRect;
  r.left -= w;
  r.top -= w;
  if (VI.Edges.Contains(bRight)) r.right += w;
  if (VI.Edges.Contains(bBottom)) r.bottom += w;
  if (VI.Shadow) cxContainer::DrawContainerShadow(C, r);
  if (!VI.Edges.Contains(bRight)) r.right += w;
  if (!VI.Edges.Contains(bBottom)) r.bottom += w;
  switch (style) {
    case ebsSingle:
    case ebsThick: Frame(C, r, VI.BorderColor, w); break;
    case ebsFlat:
      C->DrawEdge(r, true, true, VI.Edges);
      Frame(C, Deflated(r), clBtnFace);
      break;
    case ebs3D:
      C->DrawEdge(r, true, true, VI.Edges);
      C->DrawTwoColorFrame(Deflated(r), cl3DDkShadow, cl3DLight, VI.Edges);
      break;
    default: break;
  }
  if (VI.Transparent) return;
  HDC dc = C->GetHandle();
  if (VI.IsInplace) {
    if (FillContent)
      InternalFillRect(dc, VI.Bounds, Brush);
    else if (VI.HasMargins)
      FillRectExcept(C, VI.Bounds, VI.BorderRect, Brush);
  } else if (FillContent) {
    InternalFillRect(dc, VI.BorderRect, Brush);
  }
}

}  // namespace

void PaintEditViewInfo(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, bool FillContent, int)
{
  HBRUSH brush = cxEditPaintUtils::GetSolidBrush(VI.BackgroundColor);
  HDC dc = Canvas->GetHandle();
  {
    std::unique_ptr<TSavedDC> saved;
    if (!VI.ButtonsInfo.empty() && !VI.ButtonsInfo.front()->NativePartIsTransparent) {
      saved = std::make_unique<TSavedDC>(dc);
      for (auto& b : VI.ButtonsInfo) Canvas->ExcludeFromClip(b->VisibleBounds);
    }
    // Native frames need the "Edit" theme, absent here: CanDrawNativePart sends them this way.
    PaintClassicFrame(Canvas, VI, FillContent, brush);
  }
  for (int i = 0; i < int(VI.ButtonsInfo.size()); ++i) {
    TcxEditButtonPaintInfo& b = *VI.ButtonsInfo[i];
    b.BackgroundColor = VI.BackgroundColor;
    if (Empty(b.VisibleBounds)) continue;
    const RECT& br = VI.BorderRect;
    const bool outside =
        b.Bounds.left < br.left || b.Bounds.top < br.top || b.Bounds.right > br.right || b.Bounds.bottom > br.bottom;
    std::unique_ptr<TClipKeeper> clip;
    if (outside) {
      clip = std::make_unique<TClipKeeper>(Canvas);
      Canvas->IntersectClip(b.VisibleBounds);
    }
    VI.PaintButton(Canvas, i);
  }
}

void PaintEditButton(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, int Index)
{
  const TcxEditButtonPaintInfo& b = *VI.ButtonsInfo[Index];
  TcxEditButtonStyle style = b.Style;
  if (style == btsSimple && b.NativePart == 0 && (b.State == cxEditButtonPressed || b.State == cxEditButtonHot))
    style = btsFlat;
  VI.PaintButtonFrame(Canvas, Index, style, b.Bounds);
}

void PaintButtonFrame(TcxCanvas* C, TcxEditPaintViewInfo& VI, int Index, TcxEditButtonStyle Style, const RECT& Rect)
{
  const TcxEditButtonPaintInfo& b = *VI.ButtonsInfo[Index];
  RECT r = Rect;
  const bool pressed = b.State == cxEditButtonPressed, hot = b.State == cxEditButtonHot;
  const bool disabled = b.State == cxEditButtonDisabled;
  TColor face = ButtonFace(b), content = clBtnText;
  switch (Style) {
    case btsDefault: return;
    case bts3D:
      if (pressed) {
        Frame(C, r, clBtnShadow);
        r = Deflated(r);
        Frame(C, r, face);
      } else {
        C->DrawTwoColorFrame(r, cl3DLight, cl3DDkShadow);
        r = Deflated(r);
        C->DrawTwoColorFrame(r, clBtnHighlight, clBtnShadow);
      }
      r = Deflated(r);
      break;
    case btsFlat:
      Line(C, r.left, r.top, r.left, r.bottom - 1, face);
      ++r.left;
      if (pressed)
        C->DrawTwoColorFrame(r, clBtnShadow, clBtnHighlight);
      else
        C->DrawTwoColorFrame(r, clBtnHighlight, clBtnShadow);
      r = Deflated(r);
      break;
    case btsSimple: {
      const TColor f = disabled ? clBtnFace : b.BackgroundColor;
      if (!VI.Transparent) {
        Frame(C, r, f);
        r = Deflated(r);
      }
      Line(C, r.left, r.top, r.left, r.bottom - 1, (!VI.Transparent || b.Transparent) ? f : clBtnFace);
      ++r.left;
      face = b.Transparent ? f : clBtnFace;
      break;
    }
    case btsHotFlat: {
      face = HotFlatFace(b);
      if (pressed)
        content = clWindow;
      else if (hot)
        content = b.Transparent ? clBtnShadow : clWindow;
      if ((b.LeftAlignment && b.RightEdge) || (!b.LeftAlignment && b.LeftEdge)) {
        Frame(C, r, clBtnShadow);
        r = Deflated(r);
      } else if (!b.LeftAlignment) {
        Line(C, r.left, r.top, r.right - 1, r.top, clBtnShadow);
        Line(C, r.right - 1, r.top, r.right - 1, r.bottom - 1, clBtnShadow);
        Line(C, r.left, r.bottom - 1, r.right - 1, r.bottom - 1, clBtnShadow);
        r = RECT{r.left, r.top + 1, r.right - 1, r.bottom - 1};
      } else {
        Line(C, r.left, r.top, r.right - 1, r.top, clBtnShadow);
        Line(C, r.left, r.top, r.left, r.bottom - 1, clBtnShadow);
        Line(C, r.left, r.bottom - 1, r.right - 1, r.bottom - 1, clBtnShadow);
        r = RECT{r.left + 1, r.top + 1, r.right, r.bottom - 1};
      }
      break;
    }
    case btsUltraFlat: {
      face = UltraFlatFace(b);
      if (!UltraFlatPlainFrame(C, VI, b, r)) {
        if (b.LeftAlignment) {
          Line(C, r.left, r.top, r.left, r.bottom - 1, b.LeftEdge ? face : clHighlight);
          ++r.left;
          Line(C, r.right - 1, r.top, r.right - 1, r.bottom - 1,
               b.Bounds.right == VI.BorderRect.right ? face : clHighlight);
          --r.right;
        } else {
          Line(C, r.right - 1, r.top, r.right - 1, r.bottom - 1, b.RightEdge ? face : clHighlight);
          --r.right;
          Line(C, r.left, r.top, r.left, r.bottom - 1, b.Bounds.left == VI.BorderRect.left ? face : clHighlight);
          ++r.left;
        }
        Line(C, r.left, r.top, r.right - 1, r.top, face);
        ++r.top;
        Line(C, r.left, r.bottom - 1, r.right - 1, r.bottom - 1, face);
        --r.bottom;
      }
      break;
    }
  }
  VI.PaintButtonContent(C, Index, r, content, face);
}

int GetEllipsisDotSize(int ContentWidth) { return ContentWidth >= 12 ? 2 : 1; }

void PaintButtonContent(TcxCanvas* C, TcxEditPaintViewInfo& VI, int Index, const RECT& R, TColor ContentColor,
                        TColor FaceColor)
{
  if (Empty(R)) return;
  const TcxEditButtonPaintInfo& b = *VI.ButtonsInfo[Index];
  const bool pressed = b.State == cxEditButtonPressed, disabled = b.State == cxEditButtonDisabled;
  const bool glyph = b.Kind == bkGlyph && IsGlyphUsable(b.Glyph);
  if (b.NativeState == 0 && !glyph) FillRectColor(C, R, FaceColor);
  switch (b.Kind) {
    case bkEllipsis: {
      const int d = GetEllipsisDotSize(R.right - R.left);
      int x, y;
      GetCenteredOrigin(R, SIZE{3 * d + 4, d}, x, y, pressed);
      auto dots = [&](int dx, TColor color) {
        for (int i = 0; i < 3; ++i) {
          const int left = x + dx + i * (d + 2);
          FillRectColor(C, RECT{left, y + dx, left + d, y + dx + d}, color);
        }
      };
      if (disabled) {
        dots(1, clBtnHighlight);
        dots(0, clBtnShadow);
      } else {
        dots(0, ContentColor);
      }
      break;
    }
    case bkDown: {
      RECT a = R;
      int d = (b.Bounds.right - b.Bounds.left) - (R.right - R.left);
      if (b.NativeState == 0 && b.Style == btsHotFlat) d -= int(b.LeftEdge) + int(b.RightEdge);
      a.left -= d / 2;
      a.right += d / 2;
      if (d % 2 != 0) {
        if (pressed)
          a.right += 1;
        else
          a.left -= 1;
      } else if (pressed) {
        a = cxGraphics::OffsetRect(a, 1, 0);
      }
      if (pressed) a = cxGraphics::OffsetRect(a, 0, 1);
      if (VI.IsInplace) {
        const int dv = (b.Bounds.bottom - b.Bounds.top) - (a.bottom - a.top);
        a.top -= dv / 2;
        a.bottom += dv / 2;
        if (dv % 2 != 0) {
          if (pressed)
            a.bottom += 1;
          else
            a.top -= 1;
        }
      }
      const TcxCustomLookAndFeelPainterClass painter = TcxStandardLookAndFeelPainter::Class();
      if (disabled) {
        painter->DrawArrow(C, cxGraphics::OffsetRect(a, 1, 1), clBtnHighlight, TcxArrowKind::akDown);
        painter->DrawArrow(C, a, clBtnShadow, TcxArrowKind::akDown);
      } else {
        painter->DrawArrow(C, a, ContentColor, TcxArrowKind::akDown);
      }
      break;
    }
    case bkGlyph: {
      if (!glyph) break;
      const SIZE visible{std::min(b.Glyph->GetWidth(), int(R.right - R.left)),
                         std::min(b.Glyph->GetHeight(), int(R.bottom - R.top))};
      int x, y;
      GetCenteredOrigin(R, visible, x, y, pressed);
      const RECT g{x, y, std::min<int>(x + b.Glyph->GetWidth(), R.right),
                   std::min<int>(y + b.Glyph->GetHeight(), R.bottom)};
      FillRectExcept(C, R, g, cxEditPaintUtils::GetSolidBrush(FaceColor));
      TClipKeeper clip(C);
      C->IntersectClip(g);
      PaintGlyph(C, x, y, b.Glyph, !disabled, FaceColor);
      break;
    }
  }
}

// ==== Text editors ============================================================================

void PaintTextEditViewInfo(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, TcxTextPaintInfo& T)
{
  const int comboKind = !T.ComboBoxStyle ? 0 : ((T.EditingStyle == 2 || T.EditingStyle == 3) ? 2 : 1);
  PaintEditViewInfo(Canvas, VI, !(VI.Transparent || T.SelectedLook), comboKind);
  RECT r = VI.ClientRect;
  if (!VI.IsInplace) {
    if (VI.EditThemeState == 0 && !VI.Transparent && T.EditingStyle != 3) Frame(Canvas, r, VI.BackgroundColor);
    r = Deflated(r);
  }
  if (T.SelectedLook) FillRectColor(Canvas, r, clHighlight);
  if (!(T.InnerEditVisible && T.EditWindowShown)) PaintTextEditText(Canvas, VI, T);
  if (!T.EditWindowShown && VI.Focused && !VI.IsInplace && !T.KeepsFocusOnTab) {
    Canvas->GetFont()->SetColor(T.SelectedLook ? clHighlightText : clBtnText);
    Canvas->SetBrushColor(T.SelectedLook ? clHighlight : VI.BackgroundColor);
    Canvas->DrawFocusRect(r);
  }
}

namespace {

void DrawPreparedText(TcxCanvas* Canvas, TcxTextPaintInfo& T, TColor Color, bool PrepareFont)
{
  if (T.Text.empty()) return;
  if (T.Font) Canvas->SetFont(T.Font);
  Canvas->GetFont()->SetColor(Color);
  if (PrepareFont && T.PrepareCanvasFont) T.PrepareCanvasFont(Canvas);
  cxEditTextUtils::TextOutPrepared(Canvas, T.Text, T.TextOutData, T.TextFlags, T.TextRect, 0, 0, 0, T.SelStart,
                                   T.SelLength, T.SelBkColor, T.SelTextColor);
}

}  // namespace

void PaintTextEditText(TcxCanvas* Canvas, const TcxEditPaintViewInfo& VI, TcxTextPaintInfo& T)
{
  DrawPreparedText(Canvas, T, T.SelectedLook ? clHighlightText : VI.TextColor, true);
}

void PaintMemoText(TcxCanvas* Canvas, const TcxEditPaintViewInfo& VI, TcxTextPaintInfo& T)
{
  DrawPreparedText(Canvas, T, VI.TextColor, false);
}

void PaintSpinEditViewInfo(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, TcxTextPaintInfo& T,
                           TcxSpinEditButtonsPosition Position, POINT SeparatorFrom, POINT SeparatorTo)
{
  PaintTextEditViewInfo(Canvas, VI, T);
  if (!VI.ButtonsInfo.empty() && VI.ButtonsInfo.front()->NativePart != 0 && Position != sbpHorzLeftRight) {
    const POINT pts[2] = {SeparatorFrom, SeparatorTo};
    PaintPixelLines(Canvas, pts, VI.BackgroundColor, true);
  }
}

// ==== Check box ===============================================================================

SIZE GetCheckImageSize()
{
  EnsureUnit();
  return CheckImageSize;
}

TBitmap* CheckMarkMask()
{
  EnsureUnit();
  return MarkMask;
}

void GetCheckSize(bool NativeStyle, TBitmap* Glyph, int GlyphCount, SIZE& Size)
{
  if (IsGlyphUsable(Glyph) && GlyphCount > 0) {
    Size = SIZE{Glyph->GetWidth() / GlyphCount, Glyph->GetHeight()};
    return;
  }
  // A themed check part's size needs the theme library; CanDrawNativePart says it is absent.
  (void)NativeStyle;
  Size = GetCheckImageSize();
}

int GetCheckGlyphIndex(TcxCheckBoxState State, TcxCheckMarkState MarkState, int GlyphCount)
{
  if (GlyphCount <= 0) return 0;
  int index = int(State) + (MarkState == cmsPressed ? 3 : 0);
  while (index >= GlyphCount && index > 2) index %= 3;
  // With one or two images the rule above can still point past them.
  if (index >= GlyphCount) index %= GlyphCount;
  return index;
}

void PaintCheck(TcxCanvas* C, const RECT& R, TcxCheckBoxState State, TcxCheckMarkState MarkState, TBitmap* Glyph,
                int GlyphCount, TcxEditBorderStyle BorderStyle, bool NativeStyle, TColor BorderColor,
                TColor BackgroundColor, bool Opaque, bool IsDesigning, bool Focused,
                TcxCheckBoxNullValueShowingStyle NullStyle)
{
  if (Empty(R)) return;
  if (State == cbsGrayed && NullStyle == nssUnchecked) State = cbsUnchecked;
  if (GlyphCount > 0 && IsGlyphUsable(Glyph)) {
    const int index = GetCheckGlyphIndex(State, MarkState, GlyphCount);
    const int w = R.right - R.left, h = R.bottom - R.top;
    TBitmap part;
    part.SetSize(w, h);
    part.GetCanvas()->GetBrush()->SetColor(BackgroundColor == clNone ? clWindow : BackgroundColor);
    part.GetCanvas()->FillRect(RECT{0, 0, w, h});
    const int sx = index * (Glyph->GetWidth() / GlyphCount), sy = (Glyph->GetHeight() - h) / 2;
    part.GetCanvas()->CopyRect(RECT{0, 0, w, h}, Glyph->GetCanvas(), RECT{sx, sy, sx + w, sy + h});
    PaintGlyph(C, R.left, R.top, &part, MarkState != cmsDisabled, BackgroundColor);
    return;
  }
  // Native check parts need the "Button" theme; without it the classic drawing follows.
  (void)NativeStyle;
  const int w = GetBorderWidth(BorderStyle);
  RECT r = R;
  if (Opaque && w < 2) Frame(C, r, BackgroundColor, 2 - w);
  r = Deflated(r, 2 - w);
  switch (BorderStyle) {
    case ebsSingle: Frame(C, r, BorderColor, 1); break;
    case ebsThick: Frame(C, r, BorderColor, 2); break;
    case ebsFlat:
      C->DrawEdge(r, true, true);
      Frame(C, Deflated(r), clBtnFace);
      break;
    case ebs3D:
      C->DrawEdge(r, true, true);
      C->DrawTwoColorFrame(Deflated(r), cl3DDkShadow, cl3DLight);
      break;
    case ebsUltraFlat: {
      const bool hl = MarkState == cmsHot || MarkState == cmsPressed || (IsDesigning && MarkState != cmsDisabled) ||
                      (MarkState == cmsNormal && Focused);
      Frame(C, r, hl ? clHighlight : clBtnShadow);
      break;
    }
    default: break;
  }
  const RECT inner = Deflated(R, 2);
  const bool checkedLook = State == cbsChecked || (State == cbsGrayed && NullStyle == nssGrayedChecked);
  if (BorderStyle == ebsUltraFlat) {
    TColor face;
    switch (MarkState) {
      case cmsHot: face = UltraFlatColor(cxbsHot); break;
      case cmsPressed: face = UltraFlatColor(cxbsPressed); break;
      case cmsDisabled: face = clBtnFace; break;
      default: face = (State == cbsGrayed && NullStyle == nssInactive) ? clBtnFace : clWindow; break;
    }
    FillRectColor(C, inner, face);
    if (!checkedLook) return;
    const TColor mark = (State == cbsGrayed || MarkState == cmsDisabled) ? clBtnShadow : clBtnText;
    TBitmap* mask = CheckMarkMask();
    if (!mask) return;
    TClipKeeper clip(C);
    C->IntersectClip(inner);
    HDC dc = C->GetHandle();
    HGDIOBJ oldBrush = Windows::SelectObject(dc, cxEditPaintUtils::GetSolidBrush(mark));
    Windows::BitBlt(dc, R.left, R.top, mask->GetWidth(), mask->GetHeight(), mask->GetCanvas()->GetHandle(), 0, 0,
                    0xB8074A);
    Windows::SelectObject(dc, oldBrush);
    return;
  }
  UINT flags = DFCS_BUTTONCHECK;
  if (MarkState == cmsDisabled) {
    flags |= DFCS_BUTTON3STATE | DFCS_PUSHED;
    flags |= checkedLook ? DFCS_CHECKED : DFCS_INACTIVE;
  } else {
    if (State == cbsChecked)
      flags |= DFCS_CHECKED;
    else if (State == cbsGrayed)
      flags |= DFCS_BUTTON3STATE | (NullStyle == nssInactive ? DFCS_INACTIVE : DFCS_CHECKED);
    if (MarkState == cmsPressed) flags |= DFCS_PUSHED;
  }
  if (BorderStyle != ebs3D) flags |= DFCS_FLAT;
  TClipKeeper clip(C);
  C->IntersectClip(inner);
  RECT fr = R;
  Windows::DrawFrameControl(C->GetHandle(), &fr, DFC_BUTTON, flags);
}

int GetCheckThemeState(TcxCheckBoxState State, TcxCheckMarkState MarkState, TcxCheckBoxNullValueShowingStyle NullStyle)
{
  int first;
  if (State == cbsGrayed) {
    if (NullStyle == nssInactive) return 4;
    first = NullStyle == nssUnchecked ? 1 : 9;
  } else {
    first = State == cbsChecked ? 5 : 1;
  }
  return first + std::clamp(int(MarkState), 0, 3);
}

void CalculateCheckBoxMarkInfo(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, TcxCheckBoxPaintInfo& CB, bool NativeStyle)
{
  CB.ThemedCheckState =
      CanDrawNativePart(NativeStyle, totButton) ? GetCheckThemeState(CB.State, CB.MarkState, CB.NullStyle) : 0;
  if (CB.Alignment == taCenter || !VI.Focused) return;
  if (CB.Caption.empty()) {
    CB.FocusRect = RECT{};
    return;
  }
  const RECT& c = CB.CaptionRect;
  RECT f = c;
  if (!CB.FullFocusRect) {
    if (CB.Font) Canvas->SetFont(CB.Font);
    Canvas->CalculateTextRect(CB.Caption, f, CB.TextFlags);
  }
  f = cxGraphics::InflatedRect(f, 1, 1);
  f.left = std::max<LONG>(f.left, c.left - 1);
  f.top = std::max<LONG>(f.top, VI.IsInplace ? c.top + 1 : c.top - 1);
  f.right = std::min<LONG>(f.right, c.right + 1);
  f.bottom = std::min<LONG>(f.bottom, VI.IsInplace ? c.bottom - 1 : c.bottom + 1);
  f.right = std::min<LONG>(f.right, VI.BorderRect.right - 1);
  CB.FocusRect = f;
}

void PaintCheckBoxText(TcxCanvas* Canvas, const TcxEditPaintViewInfo& VI, const TcxCheckBoxPaintInfo& CB)
{
  if (CB.Font) Canvas->SetFont(CB.Font);
  Canvas->GetFont()->SetColor(VI.TextColor);
  Canvas->SetBrushStyle(bsClear);
  Canvas->DrawText(CB.Caption, CB.CaptionRect, CB.TextFlags, VI.Enabled || CB.IsInnerControl);
  Canvas->SetBrushStyle(bsSolid);
}

void PaintCheckBoxViewInfo(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, TcxCheckBoxPaintInfo& CB)
{
  {
    // The themed check part would be drawn over a partly transparent background; the classic
    // mark is opaque, so the background leaves its rectangle alone.
    TSavedDC saved(Canvas->GetHandle());
    if (CB.ThemedCheckState == 0) Canvas->ExcludeFromClip(CB.CheckRect);
    if (CB.ThemedCheckState == 0 || !VI.NativeStyle)
      PaintEditViewInfo(Canvas, VI, true, 0);
    else if (!VI.Transparent)
      FillRectColor(Canvas, VI.Bounds, VI.BackgroundColor);
  }
  PaintCheck(Canvas, CB.CheckRect, CB.State, CB.MarkState, CB.Glyph, CB.GlyphCount, CB.CheckBorderStyle, VI.NativeStyle,
             VI.BorderColor, VI.BackgroundColor, !VI.Transparent, VI.IsDesigning, VI.Focused, CB.NullStyle);
  if (CB.Alignment == taCenter) return;
  PaintCheckBoxText(Canvas, VI, CB);
  if (VI.Focused) Canvas->DrawFocusRect(CB.FocusRect);
}

// ==== Spin buttons ============================================================================

void CalculateArrowSize(SIZE Size, TcxArrowKind Direction, SIZE& ArrowSize)
{
  const int m = std::min(Size.cx, Size.cy);
  int w = (m - 1) / 2;
  if (w % 2 == 0) ++w;
  const int h = w / 2 + 1;
  if (Direction == TcxArrowKind::akUp || Direction == TcxArrowKind::akDown)
    ArrowSize = SIZE{w, h};
  else
    ArrowSize = SIZE{h, w};
}

void PaintArrows(TcxCanvas* C, int A, const RECT& R, TcxArrowKind Direction, bool Double, bool Pressed, TColor Color)
{
  if (A <= 0) return;
  const int n = Double ? 2 : 1;
  const bool vert = Direction == TcxArrowKind::akUp || Direction == TcxArrowKind::akDown;
  const int bw = vert ? 2 * A - 1 : n * A, bh = vert ? n * A : 2 * A - 1;
  int x0 = R.left + ((R.right - R.left) - bw) / 2, y0 = R.top + ((R.bottom - R.top) - bh) / 2;
  if (Pressed) {
    ++x0;
    ++y0;
  }
  HBRUSH brush = cxEditPaintUtils::GetSolidBrush(Color);
  HDC dc = C->GetHandle();
  for (int arrow = 0; arrow < n; ++arrow) {
    const int x = x0 + (vert ? 0 : arrow * A), y = y0 + (vert ? arrow * A : 0);
    for (int k = 0; k < A; ++k) {
      RECT line{};
      switch (Direction) {
        case TcxArrowKind::akUp: line = RECT{x + A - 1 - k, y + k, x + A + k, y + k + 1}; break;
        case TcxArrowKind::akDown: line = RECT{x + k, y + k, x + 2 * A - 1 - k, y + k + 1}; break;
        case TcxArrowKind::akLeft: line = RECT{x + k, y + A - 1 - k, x + k + 1, y + A + k}; break;
        case TcxArrowKind::akRight: line = RECT{x + k, y + k, x + k + 1, y + 2 * A - 1 - k}; break;
      }
      InternalFillRect(dc, line, brush);
    }
  }
}

int GetHotFlatSpinFrameKind(int Index, int ButtonCount, TcxSpinEditButtonsPosition Position)
{
  const int col = Position == sbpHorzLeftRight ? 0 : (Position == sbpHorzRight ? 1 : 2);
  static constexpr int kTwo[2][3] = {{1, 3, 7}, {3, 2, 6}};
  static constexpr int kFour[4][3] = {{1, 2, 5}, {3, 2, 4}, {0, 3, 3}, {2, 2, 2}};
  if (ButtonCount > 2) return kFour[std::clamp(Index, 0, 3)][col];
  return Index >= 2 ? kFour[std::clamp(Index, 0, 3)][col] : kTwo[std::clamp(Index, 0, 1)][col];
}

namespace {

// Lines of a frame kind in clBtnShadow; sides named in Open keep their column or row.
RECT HotFlatSpinFrame(TcxCanvas* C, RECT r, int Kind)
{
  // Which sides are drawn: left, top, right, bottom.
  struct TSides {
    bool L, T, R, B;
  };
  static constexpr TSides kSides[] = {
      {true, true, false, true},   // 0: open right
      {true, true, true, true},    // 1
      {false, true, true, true},   // 2: open left
      {true, true, true, true},    // 3
      {false, true, true, true},   // 4: open left
      {false, false, true, true},  // 5: open left and top
      {true, true, true, true},    // 6
      {true, false, true, true},   // 7: open top
  };
  const TSides s = kSides[std::clamp(Kind, 0, 7)];
  if (s.L) Line(C, r.left, r.top, r.left, r.bottom - 1, clBtnShadow);
  if (s.T) Line(C, r.left, r.top, r.right - 1, r.top, clBtnShadow);
  if (s.R) Line(C, r.right - 1, r.top, r.right - 1, r.bottom - 1, clBtnShadow);
  if (s.B) Line(C, r.left, r.bottom - 1, r.right - 1, r.bottom - 1, clBtnShadow);
  return RECT{r.left + (s.L ? 1 : 0), r.top + (s.T ? 1 : 0), r.right - (s.R ? 1 : 0), r.bottom - (s.B ? 1 : 0)};
}

int UltraFlatSpinKind(int Index, int ButtonCount, TcxSpinEditButtonsPosition Position)
{
  const bool four = ButtonCount > 2;
  switch (Index) {
    case 0:
      if (Position == sbpVert) return four ? 4 : 6;
      return (!four && Position == sbpHorzLeftRight) ? 0 : 1;
    case 1:
      if (Position == sbpVert) return four ? 3 : 5;
      return four ? 1 : 2;
    case 2: return Position == sbpHorzLeftRight ? 0 : 1;
    default: return 2;
  }
}

RECT UltraFlatSpinFrame(TcxCanvas* C, RECT r, int Kind, TColor F, bool AtBorderLeft)
{
  const TColor H = clHighlight;
  auto left = [&](TColor c) { Line(C, r.left, r.top, r.left, r.bottom - 1, c), ++r.left; };
  auto right = [&](TColor c) { Line(C, r.right - 1, r.top, r.right - 1, r.bottom - 1, c), --r.right; };
  auto top = [&](TColor c) { Line(C, r.left, r.top, r.right - 1, r.top, c), ++r.top; };
  auto bottom = [&](TColor c) { Line(C, r.left, r.bottom - 1, r.right - 1, r.bottom - 1, c), --r.bottom; };
  if (Kind == 1 && AtBorderLeft) Kind = 0;
  switch (Kind) {
    case 0: left(F), right(H), top(F), bottom(F); break;
    case 1: left(H), right(H), top(F), bottom(F); break;
    case 2: left(H), right(F), top(F), bottom(F); break;
    case 3:
      Line(C, r.left, r.top, r.left, r.bottom - 1, H);
      Line(C, r.left, r.bottom - 1, r.right - 1, r.bottom - 1, H);
      Line(C, r.right - 1, r.top, r.right - 1, r.bottom - 1, H);
      Line(C, r.left + 1, r.top, r.right - 2, r.top, F);
      r = Deflated(r);
      break;
    case 4:
      Line(C, r.left, r.top, r.left, r.bottom - 1, H);
      Line(C, r.left, r.top, r.right - 1, r.top, H);
      Line(C, r.right - 1, r.top, r.right - 1, r.bottom - 1, H);
      Line(C, r.left + 1, r.bottom - 1, r.right - 2, r.bottom - 1, F);
      r = Deflated(r);
      break;
    case 5:
      if (AtBorderLeft) {
        Line(C, r.left, r.top, r.left, r.bottom - 2, F);
        Line(C, r.left, r.bottom - 1, r.right - 1, r.bottom - 1, H);
      } else {
        Line(C, r.left, r.top, r.left, r.bottom - 1, H);
        Line(C, r.left, r.bottom - 1, r.right - 1, r.bottom - 1, H);
      }
      Line(C, r.left, r.top, r.right - 1, r.top, F);
      Line(C, r.right - 1, r.top, r.right - 1, r.bottom - 2, F);
      r = Deflated(r);
      break;
    case 6:
      if (AtBorderLeft) {
        Line(C, r.left, r.top + 1, r.left, r.bottom - 1, F);
        Line(C, r.left, r.top, r.right - 1, r.top, H);
      } else {
        Line(C, r.left, r.top, r.left, r.bottom - 1, H);
        Line(C, r.left, r.top, r.right - 1, r.top, H);
      }
      Line(C, r.left, r.bottom - 1, r.right - 1, r.bottom - 1, F);
      Line(C, r.right - 1, r.top + 1, r.right - 1, r.bottom - 1, F);
      r = Deflated(r);
      break;
  }
  return r;
}

}  // namespace

void PaintSpinButton(TcxCanvas* C, TcxEditPaintViewInfo& VI, int Index, TcxEditButtonStyle Style, const RECT& Rect,
                     TcxSpinEditButtonsPosition Position, int ArrowSize)
{
  TcxEditButtonPaintInfo& b = *VI.ButtonsInfo[Index];
  // Themed spin parts need the theme library; without it every button is classic.
  if (Style != btsHotFlat && Style != btsUltraFlat) {
    PaintButtonFrame(C, VI, Index, Style, Rect);
    return;
  }
  const int count = int(VI.ButtonsInfo.size());
  const bool pressed = b.State == cxEditButtonPressed, hot = b.State == cxEditButtonHot;
  RECT r = Rect;
  TColor face, content = clBtnText;
  if (Style == btsHotFlat) {
    r = HotFlatSpinFrame(C, r, GetHotFlatSpinFrameKind(Index, count, Position));
    face = HotFlatFace(b);
    if (pressed)
      content = clBtnHighlight;
    else if (hot)
      content = b.Transparent ? clBtnShadow : clBtnHighlight;
  } else {
    face = UltraFlatFace(b);
    if (!UltraFlatPlainFrame(C, VI, b, r)) {
      r = UltraFlatSpinFrame(C, r, UltraFlatSpinKind(Index, count, Position), face,
                             b.Bounds.left == VI.BorderRect.left);
    }
  }
  VI.PaintButtonContent(C, Index, r, content, face);
}

void PaintSpinButtonContent(TcxCanvas* C, TcxEditPaintViewInfo& VI, int Index, const RECT& R, TColor ContentColor,
                            TColor FaceColor, TcxSpinEditButtonsPosition Position, int ArrowSize)
{
  if (Empty(R)) return;
  const TcxEditButtonPaintInfo& b = *VI.ButtonsInfo[Index];
  FillRectColor(C, R, FaceColor);
  static constexpr TcxArrowKind kVert[] = {TcxArrowKind::akDown, TcxArrowKind::akUp, TcxArrowKind::akLeft,
                                           TcxArrowKind::akRight};
  static constexpr TcxArrowKind kHorz[] = {TcxArrowKind::akLeft, TcxArrowKind::akRight, TcxArrowKind::akLeft,
                                           TcxArrowKind::akRight};
  const int i = std::clamp(Index, 0, 3);
  const TcxArrowKind dir = Position == sbpVert ? kVert[i] : kHorz[i];
  const bool dbl = Index >= 2;
  if (b.State != cxEditButtonDisabled) {
    PaintArrows(C, ArrowSize, R, dir, dbl, b.State == cxEditButtonPressed, ContentColor);
  } else {
    PaintArrows(C, ArrowSize, cxGraphics::OffsetRect(R, 1, 1), dir, dbl, false, clBtnHighlight);
    PaintArrows(C, ArrowSize, R, dir, dbl, false, clBtnShadow);
  }
}

// ==== Pop-up window ===========================================================================

int GetPopupClientEdgeWidth(const TcxEditPopupPaintInfo& VI)
{
  if (!VI.ClientEdge) return 0;
  if (VI.NativeStyle) return 2;
  static constexpr int kWidths[] = {0, 2, 2, 1};
  return kWidths[std::clamp(int(VI.BorderStyle), 0, 3)];
}

int GetPopupBorderWidth(const TcxEditPopupPaintInfo& VI, bool WithClientEdge)
{
  static constexpr int kWidths[] = {0, 1, 4, 2};
  int w = VI.NativeStyle ? 1 : kWidths[std::clamp(int(VI.BorderStyle), 0, 3)];
  if (WithClientEdge) w += GetPopupClientEdgeWidth(VI);
  return w;
}

int GetSysPanelNaturalHeight(const TcxEditPopupPaintInfo&)
{
  // The themed close button and size box would raise it; they need the theme library.
  return std::max(Windows::GetSystemMetrics(SM_CYHSCROLL), Windows::GetSystemMetrics(SM_CYSIZE));
}

int GetSysPanelHeight(const TcxEditPopupPaintInfo& VI)
{
  const int h = GetSysPanelNaturalHeight(VI);
  return VI.MinSysPanelHeight > 0 ? std::max(h, VI.MinSysPanelHeight) : h;
}

void CalculatePopupBorderExtents(TcxEditPopupPaintInfo& VI, RECT& E)
{
  const int w = GetPopupBorderWidth(VI, true);
  E = RECT{w, w, w, w};
  if (VI.Shadow) {
    E.right += 3;
    E.bottom += 3;
  }
  if (VI.SysPanel) {
    VI.SysPanelHeight = GetSysPanelHeight(VI);
    const int add = VI.SysPanelHeight + ((VI.NativeStyle || VI.BorderStyle == epbsSingle) ? 1 : 0);
    if (VI.SizeGripCorner <= 1)
      E.top += add;
    else
      E.bottom += add;
  } else {
    VI.SysPanelHeight = 0;
  }
  VI.SizingRegionBandWidth = std::max(Windows::GetSystemMetrics(SM_CYHSCROLL), Windows::GetSystemMetrics(SM_CYSIZE));
}

void CalculatePopupLayout(TcxEditPopupPaintInfo& VI)
{
  RECT e;
  CalculatePopupBorderExtents(VI, e);
  const int w = VI.Bounds.right - VI.Bounds.left, h = VI.Bounds.bottom - VI.Bounds.top;
  VI.ClientRect = RECT{e.left, e.top, w - e.right, h - e.bottom};
  const int b = GetPopupBorderWidth(VI, !VI.SysPanel);
  VI.SizingRegionBounds = RECT{b, b, w - b, h - b};
  if (VI.Shadow) {
    VI.SizingRegionBounds.right -= 3;
    VI.SizingRegionBounds.bottom -= 3;
  }
  VI.CloseButtonNativeState = 0;
  VI.SizeGripRect = VI.SizeGripSizingRect = RECT{};
  VI.CloseButtonRect = RECT{};
  if (!VI.SysPanel) return;
  const RECT& s = VI.SizingRegionBounds;
  const int corner = VI.SizeGripCorner;
  const bool right = corner == 1 || corner == 3, bottom = corner == 2 || corner == 3;
  if (VI.Sizeable) {
    const int g = GetSysPanelNaturalHeight(VI) - 2;
    RECT q;
    q.left = right ? s.right - g : s.left;
    q.right = q.left + g;
    q.top = bottom ? s.bottom - g : s.top;
    q.bottom = q.top + g;
    VI.SizeGripSizingRect = q;
    VI.SizeGripRect = q;
    if (right) {
      VI.SizeGripRect.left -= 2;
      VI.SizeGripRect.right -= 2;
    } else {
      VI.SizeGripRect.left += 2;
      VI.SizeGripRect.right += 2;
    }
    if (bottom) {
      VI.SizeGripRect.top -= 2;
      VI.SizeGripRect.bottom -= 2;
    } else {
      VI.SizeGripRect.top += 2;
      VI.SizeGripRect.bottom += 2;
    }
  }
  if (VI.CloseButton) {
    const int size = GetSysPanelNaturalHeight(VI) - 4;
    RECT c;
    if (right) {
      c.left = s.left + 2 + 1;
      c.right = c.left + size;
    } else {
      c.right = s.right - 2 - 1;
      c.left = c.right - size;
    }
    if (bottom) {
      c.bottom = s.bottom - 2;
      c.top = c.bottom - size;
    } else {
      c.top = s.top + 2;
      c.bottom = c.top + size;
    }
    VI.CloseButtonRect = c;
  }
}

void PaintPopupBorder(TcxCanvas* C, const TcxEditPopupPaintInfo& VI, RECT& R)
{
  if (VI.NativeStyle) {
    Frame(C, R, clBtnText);
  } else {
    switch (VI.BorderStyle) {
      case epbsSingle: Frame(C, R, clBtnText); break;
      case epbsFrame3D:
      case epbsFlat:
        C->DrawEdge(R, false, true);
        R = Deflated(R);
        C->DrawEdge(R, false, false);
        if (VI.BorderStyle == epbsFrame3D) {
          R = Deflated(R);
          Frame(C, R, VI.ClientEdge ? clInactiveBorder : clBtnFace);
          R = Deflated(R);
          if (VI.ClientEdge)
            Frame(C, R, clBtnFace);
          else
            C->DrawEdge(R, true, true);
        }
        break;
      default: return;  // no border: R stays
    }
  }
  R = Deflated(R);
}

void PaintPopupEditBorder(TcxCanvas* C, const TcxEditPopupPaintInfo& VI, RECT& R)
{
  if (VI.NativeStyle || VI.BorderStyle != epbsFrame3D) {
    PaintPopupBorder(C, VI, R);
    return;
  }
  C->DrawEdge(R, false, true);
  R = Deflated(R);
  C->DrawEdge(R, false, false);
  R = Deflated(R);
  Frame(C, R, clInactiveBorder);
  R = Deflated(R);
  Frame(C, R, clBtnFace);
  R = Deflated(R);
}

void PaintPopupCloseButton(TcxCanvas* C, const TcxEditPopupPaintInfo& VI)
{
  GetPainterClass(VI.NativeStyle, VI.CloseButtonLookAndFeelKind)
      ->DrawCloseButton(C, VI.CloseButtonRect, VI.CloseButtonState);
}

void PaintSizeGrip(TcxCanvas* C, const RECT& R, int Corner, bool)
{
  FillRectColor(C, R, clBtnFace);
  const int gw = Windows::GetSystemMetrics(SM_CXVSCROLL), gh = Windows::GetSystemMetrics(SM_CYHSCROLL);
  const bool right = Corner == 1 || Corner == 3, bottom = Corner == 2 || Corner == 3;
  RECT g;
  g.left = right ? R.right - gw : R.left;
  g.right = g.left + gw;
  g.top = bottom ? R.bottom - gh : R.top;
  g.bottom = g.top + gh;
  if (right)
    g.left += 2;
  else
    g.right -= 2;
  if (bottom)
    g.top += 2;
  else
    g.bottom -= 2;
  const int w = g.right - g.left, h = g.bottom - g.top;
  if (w <= 0 || h <= 0) return;
  TBitmap grip;
  grip.SetSize(w, h);
  TCanvas* gc = grip.GetCanvas();
  gc->GetBrush()->SetColor(clBtnFace);
  gc->FillRect(RECT{0, 0, w, h});
  RECT all{0, 0, w, h};
  Windows::DrawFrameControl(gc->GetHandle(), &all, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  // Drawn for the bottom-right corner; mirrored for the others.
  const int dx = right ? g.left : g.right, dy = bottom ? g.top : g.bottom;
  Windows::StretchBlt(C->GetHandle(), dx, dy, right ? w : -w, bottom ? h : -h, gc->GetHandle(), 0, 0, w, h, SRCCOPY);
}

void PaintPopupWindowViewInfo(TcxCanvas* C, TcxEditPopupPaintInfo& VI)
{
  TSavedDC saved(C->GetHandle());
  RECT r{0, 0, VI.Bounds.right - VI.Bounds.left, VI.Bounds.bottom - VI.Bounds.top};
  if (VI.Shadow) {
    r.right -= 3;
    r.bottom -= 3;
    cxContainer::DrawContainerShadow(C, r);
  }
  PaintPopupBorder(C, VI, r);
  const bool bottomPanel = VI.SizeGripCorner >= 2;
  const int ce = GetPopupClientEdgeWidth(VI);
  if (VI.SysPanel && (VI.BorderStyle == epbsSingle || VI.CloseButtonNativeState != 0)) {
    const RECT p = cxGraphics::InflatedRect(VI.ClientRect, ce, ce);
    const int y = bottomPanel ? p.bottom : p.top - 1;
    Line(C, p.left, y, p.right, y, clBtnText);
  }
  if (VI.ClientEdge) {
    RECT p = r;
    if (VI.SysPanel) {
      const int band = VI.SysPanelHeight + ((VI.NativeStyle || VI.BorderStyle == epbsSingle) ? 1 : 0);
      if (bottomPanel)
        p.bottom -= band;
      else
        p.top += band;
    }
    C->DrawEdge(p, true, true);
    if (VI.NativeStyle || VI.BorderStyle != epbsFlat) C->DrawEdge(Deflated(p), true, false);
  }
  if (VI.SysPanel) {
    if (VI.Sizeable) {
      PaintSizeGrip(C, VI.SizeGripRect, VI.SizeGripCorner, VI.NativeStyle);
      C->ExcludeFromClip(VI.SizeGripRect);
    }
    if (!Empty(VI.CloseButtonRect)) {
      PaintPopupCloseButton(C, VI);
      C->ExcludeFromClip(VI.CloseButtonRect);
    }
  }
  FillRectColor(C, VI.ClientRect, clBtnFace);
  if (VI.SysPanel) {
    RECT band = r;
    if (bottomPanel)
      band.top = band.bottom - VI.SysPanelHeight;
    else
      band.bottom = band.top + VI.SysPanelHeight;
    FillRectColor(C, band, clBtnFace);
  }
}

bool CalculatePopupWindowRegion(const TcxEditPopupPaintInfo& VI, const RECT& OwnerRect, RECT& R, RECT& Excluded)
{
  const int w = VI.Bounds.right - VI.Bounds.left, h = VI.Bounds.bottom - VI.Bounds.top;
  R = RECT{0, 0, w, h};
  Excluded = RECT{};
  if (VI.NativeStyle || !VI.Shadow) return !VI.NativeStyle;
  R.right -= 3;
  R.bottom -= 3;
  if (VI.SizeGripCorner <= 1) Excluded = RECT{OwnerRect.left, h - 3, OwnerRect.right - 3, h};
  return true;
}

void UpdatePopupWindowRegion(HWND Wnd, const TcxEditPopupPaintInfo& VI, const RECT& OwnerRect)
{
  RECT r, ex;
  CalculatePopupWindowRegion(VI, OwnerRect, r, ex);
  cxContainer::SetWindowRegion(Wnd, r, VI.NativeStyle, VI.Shadow && !VI.NativeStyle, Empty(ex) ? nullptr : &ex);
}

// ==== Unit state ==============================================================================

void Initialize()
{
  if (UnitReady) return;
  UnitReady = true;
  OSVERSIONINFO v;
  HotLightAvailable =
      SysVersion::GetVersionEx(v) && ((v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && v.dwMinorVersion != 0) ||
                                      (v.dwPlatformId == VER_PLATFORM_WIN32_NT && v.dwMajorVersion == 5));
  // The system bitmap and the memory context go on every path, also when building the mask fails.
  struct TSystemCheckBoxes {
    HBITMAP Bitmap = SystemBitmaps::CreateSystemBitmap(OBM_CHECKBOXES);
    HDC DC = nullptr;
    HGDIOBJ Old = nullptr;
    ~TSystemCheckBoxes()
    {
      if (DC) {
        Windows::SelectObject(DC, Old);
        Windows::DeleteDC(DC);
      }
      if (Bitmap) Windows::DeleteObject(Bitmap);
    }
  } sys;
  if (!sys.Bitmap) return;
  BITMAP info{};
  Windows::GetObject(sys.Bitmap, &info);
  CheckImageSize = SIZE{info.bmWidth / 4, info.bmHeight / 3};
  sys.DC = Windows::CreateCompatibleDC(nullptr);
  sys.Old = Windows::SelectObject(sys.DC, sys.Bitmap);
  auto mask = std::make_unique<TBitmap>();
  mask->SetPixelFormat(pf32bit);
  mask->SetSize(CheckImageSize.cx, CheckImageSize.cy);
  for (int y = 0; y < CheckImageSize.cy; ++y) {
    std::uint32_t* row = mask->GetScanLine(y);
    for (int x = 0; x < CheckImageSize.cx; ++x) {
      const bool same = Windows::GetPixel(sys.DC, x, y) == Windows::GetPixel(sys.DC, x + CheckImageSize.cx, y);
      row[x] = same ? 0xFFFFFF : 0;
    }
  }
  MarkMask = mask.release();
}

void Finalize()
{
  delete MarkMask;
  MarkMask = nullptr;
  UnitReady = false;
}

}  // namespace cxEditUtils

void TcxEditPaintViewInfo::InternalPaint(TcxCanvas* Canvas) { cxEditUtils::PaintEditViewInfo(Canvas, *this, true, 0); }

void TcxEditPaintViewInfo::PaintButton(TcxCanvas* Canvas, int Index)
{
  cxEditUtils::PaintEditButton(Canvas, *this, Index);
}

void TcxEditPaintViewInfo::PaintButtonFrame(TcxCanvas* Canvas, int Index, TcxEditButtonStyle Style, const RECT& R)
{
  cxEditUtils::PaintButtonFrame(Canvas, *this, Index, Style, R);
}

void TcxEditPaintViewInfo::PaintButtonContent(TcxCanvas* Canvas, int Index, const RECT& R, TColor ContentColor,
                                              TColor FaceColor)
{
  cxEditUtils::PaintButtonContent(Canvas, *this, Index, R, ContentColor, FaceColor);
}

PELTO_DEFINE_CLASS(TcxEditPaintViewInfo)

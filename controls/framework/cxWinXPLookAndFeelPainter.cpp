#include "controls/framework/cxWinXPLookAndFeelPainter.h"

#include "controls/framework/dxThemeManager.h"
#include "controls/framework/dxUxTheme.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/AnsiStrings.h"

using cxGraphics::InflatedRect;
using cxGraphics::IsRectEmpty;
using cxGraphics::OffsetRect;
using cxLookAndFeelPainters::ButtonStateToThemeState;
using namespace dxUxTheme;

namespace {

// The device context of a bitmap's own canvas, made on first use.
HDC DCOf(TBitmap& B) { return B.GetCanvas()->GetHandle(); }

constexpr HRESULT S_OK = 0;
HTHEME Theme(TdxThemeClass Class) { return dxThemeManager::OpenTheme(Class); }
// Indexed by TcxButtonState: default, normal, hot, pressed, disabled.
constexpr int CheckStates[2][5] = {{1, 1, 2, 3, 4}, {5, 5, 6, 7, 8}};
constexpr int HeaderStates[5] = {1, 1, 2, 3, 1};
constexpr int PlainStates[5] = {1, 1, 2, 3, 4};  // close, drop-down, tab, scroll-bar thumb and track
constexpr int PinStates[5] = {1, 1, 2, 3, 1};
const RECT Hundred{0, 0, 100, 100};

bool ContentRect(HTHEME T, HDC DC, int Part, int State, const RECT& Bounds, RECT& Out)
{
  return GetThemeBackgroundContentRect(T, DC, Part, State, &Bounds, &Out) == S_OK;
}

bool TrueSize(HTHEME T, int Part, int State, SIZE& Out)
{
  return GetThemePartSize(T, nullptr, Part, State, nullptr, 1, &Out) == S_OK;
}
}  // namespace

TcxCustomLookAndFeelPainterClass TcxWinXPLookAndFeelPainter::Class()
{
  static const TcxWinXPLookAndFeelPainter painter;
  return &painter;
}

void TcxWinXPLookAndFeelPainter::DrawThemedText(TcxCanvas* C, HTHEME T, int PartId, int StateId, const RECT& TextRect,
                                                TAlignment AlignmentHorz, TcxAlignmentVert AlignmentVert,
                                                bool MultiLine, bool ShowEndEllipsis, const AnsiString& Text,
                                                TFont* Font, TColor TextColor) const
{
  if (Text.empty()) return;
  C->SetFont(Font);
  C->GetFont()->SetColor(TextColor);
  static const DWORD horz[] = {0, DT_RIGHT, DT_CENTER};
  static const DWORD vert[] = {0, DT_BOTTOM, DT_VCENTER};
  DWORD flags = horz[AlignmentHorz] | vert[AlignmentVert] | (MultiLine ? DT_WORDBREAK : DT_SINGLELINE) |
                (ShowEndEllipsis ? DT_END_ELLIPSIS : 0) | DT_EDITCONTROL | DT_NOPREFIX;
  WideString text = System::AnsiToWide(Text);
  dxUxTheme::DrawThemeText(T, C->GetHandle(), PartId, StateId, text.c_str(), -1, flags, 0, &TextRect);
}

void TcxWinXPLookAndFeelPainter::DrawScrollArrowButton(TcxCanvas* C, const RECT& R, TcxButtonState State,
                                                       TcxArrowKind Direction, bool AsButton) const
{
  HTHEME t = Theme(totScrollBar);
  if (!t) return TcxCustomLookAndFeelPainter::DrawScrollArrowButton(C, R, State, Direction, AsButton);
  static const int s[] = {1, 1, 2, 3, 4};
  DrawThemeBackground(t, C->GetHandle(), 1, 4 * int(Direction) + s[State], &R, nullptr);
}

void TcxWinXPLookAndFeelPainter::DrawButton(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  HTHEME t = Theme(totButton);
  if (!t) return TcxCustomLookAndFeelPainter::DrawButton(C, R, State);
  DrawThemeBackground(t, C->GetHandle(), 1, ButtonStateToThemeState(State), &R, nullptr);
}

int TcxWinXPLookAndFeelPainter::GetBorderWidth() const
{
  return Theme(totListView) ? 1 : TcxStandardLookAndFeelPainter::GetBorderWidth();
}

void TcxWinXPLookAndFeelPainter::PaintBorder(TcxCanvas* C, const RECT& R) const
{
  HTHEME t = Theme(totListView);
  if (!t) return TcxStandardLookAndFeelPainter::PaintBorder(C, R);
  TSavedDC saved(C->GetHandle());
  C->ExcludeFromClip(InflatedRect(R, -1, -1));
  DrawThemeBackground(t, C->GetHandle(), 5, 0, &R, nullptr);
}

int TcxWinXPLookAndFeelPainter::GetButtonBorderWidth(TcxButtonState State) const
{
  HTHEME t = Theme(totButton);
  RECT c;
  if (t && ContentRect(t, nullptr, 1, ButtonStateToThemeState(State), Hundred, c)) return c.left;
  return TcxStandardLookAndFeelPainter::GetButtonBorderWidth(State);
}

TColor TcxWinXPLookAndFeelPainter::GetButtonFaceColor(TcxButtonState State) const
{
  HTHEME t = Theme(totButton);
  COLORREF c;
  if (t && GetThemeColor(t, 1, ButtonStateToThemeState(State), 204, &c) == S_OK) return TColor(c);
  return TcxCustomLookAndFeelPainter::GetButtonFaceColor(State);
}

RECT TcxWinXPLookAndFeelPainter::GetButtonFocusRect(TcxCanvas* C, const RECT& R) const
{
  HTHEME t = Theme(totButton);
  RECT c;
  if (t && ContentRect(t, C ? C->GetHandle() : nullptr, 1, 1, R, c)) return c;
  return TcxCustomLookAndFeelPainter::GetButtonFocusRect(C, R);
}

RECT TcxWinXPLookAndFeelPainter::GetButtonGroupBorders(int ButtonCount, int ButtonIndex) const
{
  HTHEME t = Theme(totButton);
  RECT c;
  TcxScreenCanvas screen;
  if (!t || !ContentRect(t, screen.GetHandle(), 1, 1, Hundred, c))
    return TcxCustomLookAndFeelPainter::GetButtonGroupBorders(ButtonCount, ButtonIndex);
  RECT r{c.left, c.top, 100 - c.right, 100 - c.bottom};
  if (IsThemeBackgroundPartiallyTransparent(t, 1, 1)) r = RECT{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
  return r;
}

TColor TcxWinXPLookAndFeelPainter::GetButtonSymbolColor(TcxButtonState State) const
{
  HTHEME t = Theme(totButton);
  COLORREF c;
  if (t && GetThemeColor(t, 1, ButtonStateToThemeState(State), 3803, &c) == S_OK) return TColor(c);
  return TcxCustomLookAndFeelPainter::GetButtonSymbolColor(State);
}

void TcxWinXPLookAndFeelPainter::DrawButtonWithText(TcxCanvas* C, const RECT& R, const AnsiString& Text,
                                                    TcxButtonState State, bool DrawBorder, TColor Color,
                                                    TColor TextColor) const
{
  HTHEME t = Theme(totButton);
  if (!t) return TcxCustomLookAndFeelPainter::DrawButtonWithText(C, R, Text, State, DrawBorder, Color, TextColor);
  int s = ButtonStateToThemeState(State);
  DrawThemeBackground(t, C->GetHandle(), 1, s, &R, nullptr);
  if (Text.empty()) return;
  WideString text = System::AnsiToWide(Text);
  dxUxTheme::DrawThemeText(t, C->GetHandle(), 1, s, text.c_str(), int(text.size()),
                           DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, &R);
}

void TcxWinXPLookAndFeelPainter::DrawExpandGlyph(TcxCanvas* C, const RECT& R, TColor Color, bool Expanded) const
{
  HTHEME t = Theme(totTreeView);
  if (!t) return TcxStandardLookAndFeelPainter::DrawExpandGlyph(C, R, Color, Expanded);
  DrawThemeBackground(t, C->GetHandle(), 2, Expanded ? 2 : 1, &R, nullptr);
  C->ExcludeFromClip(R);
}

void TcxWinXPLookAndFeelPainter::DrawGroupExpandGlyph(TcxCanvas* C, const RECT& R, bool Expanded,
                                                      TcxButtonState State) const
{
  HTHEME t = Theme(totExplorerBar);
  if (!t) return TcxStandardLookAndFeelPainter::DrawGroupExpandGlyph(C, R, Expanded, State);
  static const int states[] = {1, 1, 2, 3, 1};  // a default button is drawn as a normal one
  DrawThemeBackground(t, C->GetHandle(), Expanded ? 6 : 7, states[State], &R, nullptr);
}

void TcxWinXPLookAndFeelPainter::DrawExpandGlyphFrame(TcxCanvas* C, const RECT& R, TColor FrameColor, TColor Color,
                                                      bool Expanded) const
{
  if (Theme(totTreeView)) return DrawExpandGlyph(C, R, clDefault, Expanded);
  TcxCustomLookAndFeelPainter::DrawExpandGlyphFrame(C, R, FrameColor, Color, Expanded);
}

int TcxWinXPLookAndFeelPainter::GetExpandGlyphSize() const
{
  HTHEME t = Theme(totTreeView);
  SIZE s;
  if (t && TrueSize(t, 2, 2, s)) return s.cx;
  return TcxStandardLookAndFeelPainter::GetExpandGlyphSize();
}

int TcxWinXPLookAndFeelPainter::GetGroupExpandButtonSize() const
{
  HTHEME t = Theme(totExplorerBar);
  SIZE s;
  if (t && TrueSize(t, 7, 1, s)) return s.cx;
  return TcxCustomLookAndFeelPainter::GetGroupExpandButtonSize();
}

bool TcxWinXPLookAndFeelPainter::IsPointInGroupExpandButton(const RECT& R, POINT P) const
{
  HTHEME t = Theme(totExplorerBar);
  HRGN region = nullptr;
  if (!t || GetThemeBackgroundRegion(t, nullptr, 7, 1, &R, &region) != S_OK || !region)
    return TcxCustomLookAndFeelPainter::IsPointInGroupExpandButton(R, P);
  bool inside = Windows::PtInRegion(region, P.x, P.y) != 0;
  Windows::DeleteObject(region);
  return inside;
}

int TcxWinXPLookAndFeelPainter::GetSmallExpandGlyphSize() const
{
  return Theme(totTreeView) ? GetExpandGlyphSize() : TcxCustomLookAndFeelPainter::GetSmallExpandGlyphSize();
}

int TcxWinXPLookAndFeelPainter::GetCheckBorderWidth() const
{
  return Theme(totButton) ? 0 : TcxCustomLookAndFeelPainter::GetCheckBorderWidth();
}

void TcxWinXPLookAndFeelPainter::DrawCheckMark(TcxCanvas* C, const RECT& R, TcxButtonState State, bool Checked,
                                               TColor Color) const
{
  HTHEME t = Theme(totButton);
  if (!t) return TcxCustomLookAndFeelPainter::DrawCheckMark(C, R, State, Checked, Color);
  DrawThemeBackground(t, C->GetHandle(), 3, CheckStates[Checked][State], &R, nullptr);
}

void TcxWinXPLookAndFeelPainter::DrawCheckBoxBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  if (!Theme(totButton)) TcxStandardLookAndFeelPainter::DrawCheckBoxBorder(C, R, State);
}

void TcxWinXPLookAndFeelPainter::DrawRadioButton(TcxCanvas* C, int X, int Y, TcxButtonState State, bool Checked,
                                                 bool Focused, TColor BackgroundColor, bool IsDesigning) const
{
  HTHEME t = Theme(totButton);
  SIZE s;
  int state = CheckStates[Checked][State];
  if (!t || !TrueSize(t, 2, state, s))
    return TcxCustomLookAndFeelPainter::DrawRadioButton(C, X, Y, State, Checked, Focused, BackgroundColor, IsDesigning);
  RECT r{X, Y, X + s.cx, Y + s.cy};
  DrawThemeBackground(t, C->GetHandle(), 2, state, &r, nullptr);
}

void TcxWinXPLookAndFeelPainter::DrawHeader(TcxCanvas* C, const RECT& R, const RECT& TextRect, TcxNeighbors Neighbors,
                                            TcxBorders Borders, TcxButtonState State, TAlignment AlignmentHorz,
                                            TcxAlignmentVert AlignmentVert, bool MultiLine, bool ShowEndEllipsis,
                                            const AnsiString& Text, TFont* Font, TColor TextColor, TColor Color,
                                            const TcxDrawBackgroundEvent& OnDrawBackground) const
{
  HTHEME t = Theme(totHeader);
  if (!t)
    return TcxCustomLookAndFeelPainter::DrawHeader(C, R, TextRect, Neighbors, Borders, State, AlignmentHorz,
                                                   AlignmentVert, MultiLine, ShowEndEllipsis, Text, Font, TextColor,
                                                   Color, OnDrawBackground);
  int s = HeaderStates[State];
  DrawThemeBackground(t, C->GetHandle(), 1, s, &R, nullptr);
  RECT tr = State == cxbsPressed ? OffsetRect(TextRect, 1, 1) : TextRect;
  DrawThemedText(C, t, 1, s, tr, AlignmentHorz, AlignmentVert, MultiLine, ShowEndEllipsis, Text, Font, TextColor);
}

int TcxWinXPLookAndFeelPainter::GetHeaderBorderWidth() const
{
  HTHEME t = Theme(totHeader);
  RECT c;
  if (t && ContentRect(t, nullptr, 1, 1, Hundred, c)) return (c.left + c.top) / 2;
  return TcxStandardLookAndFeelPainter::GetHeaderBorderWidth();
}

void TcxWinXPLookAndFeelPainter::DrawPanel(TcxCanvas* C, const RECT& R, const AnsiString& Text,
                                           TAlignment AlignmentHorz, TcxAlignmentVert AlignmentVert,
                                           bool ShowEndEllipsis, TFont* Font, TColor TextColor, TColor Color,
                                           const TcxDrawBackgroundEvent& OnDrawBackground) const
{
  HTHEME t = Theme(totTrackBar);
  if (!t)
    return TcxCustomLookAndFeelPainter::DrawPanel(C, R, Text, AlignmentHorz, AlignmentVert, ShowEndEllipsis, Font,
                                                  TextColor, Color, OnDrawBackground);
  DrawThemeBackground(t, C->GetHandle(), 1, 1, &R, nullptr);
  DrawThemedText(C, t, 1, 1, GetContentTextRect(R), AlignmentHorz, AlignmentVert, false, ShowEndEllipsis, Text, Font,
                 TextColor);
}

int TcxWinXPLookAndFeelPainter::GetPanelBorderWidth() const
{
  HTHEME t = Theme(totTrackBar);
  RECT c;
  if (t && ContentRect(t, nullptr, 1, 1, Hundred, c)) return c.left;
  return TcxStandardLookAndFeelPainter::GetPanelBorderWidth();
}

void TcxWinXPLookAndFeelPainter::DrawSunkenEdge(TcxCanvas* C, const RECT& R) const
{
  HTHEME t = Theme(totEdit);
  if (!t) return TcxStandardLookAndFeelPainter::DrawSunkenEdge(C, R);
  DrawThemeEdge(t, C->GetHandle(), 0, 0, &R, 4, 15, nullptr);
}

void TcxWinXPLookAndFeelPainter::DrawCloseButton(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  HTHEME t = Theme(totWindow);
  if (!t) return TcxCustomLookAndFeelPainter::DrawCloseButton(C, R, State);
  DrawThemeBackground(t, C->GetHandle(), 19, PlainStates[State], &R, nullptr);
}

void TcxWinXPLookAndFeelPainter::DrawDropDownButton(TcxCanvas* C, const RECT& R, TcxButtonState State,
                                                    bool Active) const
{
  HTHEME t = Theme(totComboBox);
  if (!t) return TcxStandardLookAndFeelPainter::DrawDropDownButton(C, R, State, Active);
  DrawThemeBackground(t, C->GetHandle(), 1, PlainStates[State], &R, nullptr);
}

SIZE TcxWinXPLookAndFeelPainter::GetCheckBoxSize() const
{
  HTHEME t = Theme(totButton);
  SIZE s;
  if (t && TrueSize(t, 3, 5, s)) return s;
  return TcxCustomLookAndFeelPainter::GetCheckBoxSize();
}

SIZE TcxWinXPLookAndFeelPainter::GetCloseButtonSize() const
{
  HTHEME t = Theme(totWindow);
  SIZE s;
  if (t && TrueSize(t, 19, 1, s)) return SIZE{s.cx + 4, s.cy + 4};
  return TcxCustomLookAndFeelPainter::GetCloseButtonSize();
}

SIZE TcxWinXPLookAndFeelPainter::GetGlyphButtonSize() const
{
  HTHEME t = Theme(totExplorerBar);
  SIZE s;
  if (t && TrueSize(t, 3, 1, s)) return s;
  return TcxCustomLookAndFeelPainter::GetGlyphButtonSize();
}

void TcxWinXPLookAndFeelPainter::DrawButtonWithMark(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  HTHEME t = Theme(totButton);
  if (!t) return TcxCustomLookAndFeelPainter::DrawButtonWithMark(C, R, State);
  DrawThemeBackground(t, C->GetHandle(), 1, ButtonStateToThemeState(State), &R, nullptr);
  RECT r = InflatedRect(R, -2, -2);
  if (State == cxbsDisabled) r = OffsetRect(r, 1, 1);
  TcxStandardLookAndFeelPainter::DrawButtonMark(C, r, State);
}

namespace {
// Turns the pixels of a bitmap: (x, y) goes to (y, x).
void Transpose(TBitmap& B)
{
  int w = B.GetWidth(), h = B.GetHeight();
  TBitmap t;
  t.SetSize(h, w);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Windows::SetPixelV(DCOf(t), y, x, Windows::GetPixel(DCOf(B), x, y));
  B.Assign(&t);
}
}  // namespace

void TcxWinXPLookAndFeelPainter::DrawGlyphButton(TcxCanvas* C, const RECT& R, TColor BackgroundColor, bool Horizontal,
                                                 int Glyph, TcxButtonState State) const
{
  HTHEME t = Theme(totExplorerBar);
  if (!t) return TcxCustomLookAndFeelPainter::DrawGlyphButton(C, R, BackgroundColor, Horizontal, Glyph, State);
  int w = R.right - R.left, h = R.bottom - R.top;
  TBitmap b;
  b.SetSize(w, h);
  TcxCanvas bc(b.GetCanvas());
  RECT local{0, 0, w, h};
  bc.FillRectColor(local, BackgroundColor);
  DrawThemeBackground(t, DCOf(b), 3, PinStates[State], &local, nullptr);
  if (!Horizontal) {
    // A quarter turn counter-clockwise: (x, y) goes to (y, w - 1 - x).
    TBitmap turned;
    turned.SetSize(h, w);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Windows::SetPixelV(DCOf(turned), y, w - 1 - x, Windows::GetPixel(DCOf(b), x, y));
    b.Assign(&turned);
  }
  C->CopyRectFromDC({R.left, R.top, R.left + b.GetWidth(), R.top + b.GetHeight()}, DCOf(b),
                    {0, 0, b.GetWidth(), b.GetHeight()});
}

void TcxWinXPLookAndFeelPainter::DrawTab(TcxCanvas* C, const RECT& Rect, TcxBorders Borders, const AnsiString& Text,
                                         TcxButtonState State, bool Vertical, TFont* Font, TColor TextColor,
                                         TColor Color) const
{
  HTHEME t = Theme(totTab);
  if (!t) return TcxCustomLookAndFeelPainter::DrawTab(C, Rect, Borders, Text, State, Vertical, Font, TextColor, Color);
  bool selected = State == cxbsPressed;
  int s = PlainStates[State];
  RECT r = Rect;
  TBitmap bmp;
  HDC dc = C->GetHandle();
  if (Vertical) {
    r = RECT{0, 0, Rect.bottom - Rect.top, Rect.right - Rect.left};
    bmp.SetSize(r.right, r.bottom);
    dc = DCOf(bmp);
  }
  RECT b = r;
  if (!Borders.Contains(Vertical ? bTop : bLeft)) b.left -= 2;
  if (!Borders.Contains(Vertical ? bBottom : bRight)) b.right += 2;
  if (selected)
    ++b.bottom;
  else
    --r.bottom;
  DrawThemeBackground(t, dc, 1, s, &b, &r);
  if (Vertical) {
    Transpose(bmp);
    r = RECT{Rect.left + r.top, Rect.top + r.left, Rect.left + r.bottom, Rect.top + r.right};
    b = RECT{Rect.left + b.top, Rect.top + b.left, Rect.left + b.bottom, Rect.top + b.right};
    C->CopyRectFromDC({Rect.left, Rect.top, Rect.left + (r.right - r.left), Rect.top + (r.bottom - r.top)}, DCOf(bmp),
                      {0, 0, r.right - r.left, r.bottom - r.top});
  }
  RECT text = b;
  if (selected) {
    if (Vertical)
      text.right -= 2;
    else
      text.bottom -= 2;
  }
  DrawThemedText(C, t, 1, s, text, taCenter, vaCenter, false, false, Text, Font, TextColor);
}

void TcxWinXPLookAndFeelPainter::DrawTabSide(TcxCanvas* C, const RECT& R, TcxBorder Side, TcxBorders Borders,
                                             bool Vertical) const
{
  if (!Theme(totTab)) TcxStandardLookAndFeelPainter::DrawTabSide(C, R, Side, Borders, Vertical);
}

void TcxWinXPLookAndFeelPainter::DrawTabStrip(TcxCanvas* C, const RECT& R, bool Vertical, TcxBorders Borders) const
{
  HTHEME t = Theme(totTab);
  if (!t) return TcxStandardLookAndFeelPainter::DrawTabStrip(C, R, Vertical, Borders);
  RECT big = R;
  if (Vertical)
    big.right += 10;
  else
    big.bottom += 10;
  RECT c;
  if (ContentRect(t, C->GetHandle(), 9, 0, Hundred, c)) {
    if (Vertical) {
      big.top += c.top;
      big.bottom -= 100 - c.bottom;
    } else {
      big.left += c.left;
      big.right -= 100 - c.right;
    }
  }
  DrawThemeBackground(t, C->GetHandle(), 9, 0, &big, &R);
}

int TcxWinXPLookAndFeelPainter::GetTabExtraWidth1(bool Vertical) const { return Theme(totTab) ? 1 : 0; }

void TcxWinXPLookAndFeelPainter::DrawScrollBarPart(TcxCanvas* C, bool Horizontal, const RECT& R, int Part,
                                                   TcxButtonState State) const
{
  if (IsRectEmpty(R)) return;
  HTHEME t = Theme(totScrollBar);
  if (!t) return TcxStandardLookAndFeelPainter::DrawScrollBarPart(C, Horizontal, R, Part, State);
  HDC dc = C->GetHandle();
  switch (Part) {
    case cxsbpLineUp:
    case cxsbpLineDown:
      DrawScrollArrowButton(C, R, State,
                            Horizontal ? (Part == cxsbpLineUp ? TcxArrowKind::akLeft : TcxArrowKind::akRight)
                                       : (Part == cxsbpLineUp ? TcxArrowKind::akUp : TcxArrowKind::akDown),
                            true);
      break;
    case cxsbpThumb:
      DrawThemeBackground(t, dc, Horizontal ? 2 : 3, PlainStates[State], &R, nullptr);
      DrawThemeBackground(t, dc, Horizontal ? 8 : 9, 0, &R, nullptr);
      break;
    case cxsbpPageUp: DrawThemeBackground(t, dc, Horizontal ? 4 : 6, PlainStates[State], &R, nullptr); break;
    case cxsbpPageDown: DrawThemeBackground(t, dc, Horizontal ? 5 : 7, PlainStates[State], &R, nullptr); break;
    default: break;
  }
}

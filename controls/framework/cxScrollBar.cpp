#include "controls/framework/cxScrollBar.h"

#include <algorithm>

#include "controls/framework/cxGraphics.h"
#include "controls/framework/cxLookAndFeels.h"
#include "controls/framework/cxWinXPLookAndFeelPainter.h"
#include "controls/framework/dxThemeManager.h"
#include "controls/framework/dxUxTheme.h"
#include "platform/forms/app/Timer.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/rtl/MathUtils.h"
#include "platform/win/input/Focus.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

namespace {

constexpr int cxMinThumbSize = 8;
constexpr UINT cxRepeatFirstDelay = 400, cxRepeatDelay = 60;
// How far the pointer may leave the bar while dragging the thumb: along it, and across it.
constexpr int cxTrackingAlong = 34, cxTrackingAside = 136;
// The scroll-bar theme's gripper parts and the two size kinds of GetThemePartSize.
constexpr int cxGripperVert = 8, cxGripperHorz = 9, cxSizeMin = 0, cxSizeTrue = 1;

}  // namespace

SIZE cxScrollBar::GetDefaultScrollBarSize()
{
  return SIZE{Windows::GetSystemMetrics(SM_CXVSCROLL), Windows::GetSystemMetrics(SM_CYHSCROLL)};
}

// ---- Life

TcxScrollBar::TcxScrollBar(TComponent* AOwner) : TCustomControl(AOwner)
{
  FBitmap = std::make_unique<TBitmap>();
  FCanvas = std::make_unique<TcxCanvas>(FBitmap->GetCanvas());
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues) { LookAndFeelChanged(); };
  FThemeNotificator = std::make_unique<TdxThemeChangedNotificator>();
  FThemeNotificator->OnThemeChanged = [this] { ThemeChanged(); };
  FTimer = std::make_unique<TTimer>(nullptr);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(cxRepeatFirstDelay);
  FTimer->SetOnTimer([this](TObject*) { DoTimer(); });
  SetBounds(GetLeft(), GetTop(), 121, Windows::GetSystemMetrics(SM_CYHSCROLL));
  ControlStyle = TControlStyle{csCaptureMouse, csFramed, csOpaque};
  CalculateMinThumbSize();
  CalculateRects();
}

// Timer, theme notificator, look-and-feel, canvas and bitmap go in this order (members in reverse).
TcxScrollBar::~TcxScrollBar() = default;

void TcxScrollBar::SetLookAndFeel(TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }

TcxCustomLookAndFeelPainterClass TcxScrollBar::Painter() const { return FLookAndFeel->GetPainter(); }

// ---- Range and position

void TcxScrollBar::SetScrollParams(int AMin, int AMax, int APosition, int APageSize, bool ARedraw)
{
  if (AMax < AMin || AMax < APageSize) throw EInvalidOperation("Scrollbar property out of range");
  APosition = std::clamp(APosition, AMin, AMax);
  bool redraw = ARedraw && HandleAllocated() &&
                !(AMin == FMin && AMax == FMax && APosition == FPosition && APageSize == FPageSize);
  FMin = AMin;
  FMax = AMax;
  FPageSize = APageSize;
  if (APosition == FPosition) {
    CalculateThumbnailRect();
    if (redraw) Repaint();
    return;
  }
  SetEnabled(true);
  FPosition = APosition;
  CalculateThumbnailRect();
  if (redraw) Repaint();
  Change();
}

void TcxScrollBar::Change()
{
  Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
  if (OnChange) OnChange(this);
}

void TcxScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos)
{
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TcxScrollBar::ScrollByCode(TScrollCode Code)
{
  int pos = FPosition;
  switch (Code) {
    case scLineUp: pos -= FSmallChange; break;
    case scLineDown: pos += FSmallChange; break;
    case scPageUp: pos -= FLargeChange; break;
    case scPageDown: pos += FLargeChange; break;
    case scTop: pos = FMin; break;
    case scBottom: pos = FMax; break;
    default: break;
  }
  pos = std::clamp(pos, FMin, FMax);
  Scroll(Code, pos);
  pos = std::clamp(pos, FMin, FMax);
  if (pos == FPosition) return;
  if (Code == scTrack) {
    FPosition = pos;
    Repaint();
  } else {
    SetPosition(pos);
  }
}

TScrollCode TcxScrollBar::ScrollForPart(TcxScrollBarPart Part)
{
  switch (Part) {
    case sbpTopLeftArrow: return scLineUp;
    case sbpBottomRightArrow: return scLineDown;
    case sbpThumb: return scTrack;
    case sbpPageUp: return scPageUp;
    default: return scPageDown;
  }
}

// ---- Geometry

void TcxScrollBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (GetWidth() > 0 && GetHeight() > 0) {
    FBitmap->SetSize(GetWidth(), GetHeight());
    CalculateRects();
  }
}

void TcxScrollBar::SetKind(TScrollBarKind Value)
{
  if (Value == FKind) return;
  FKind = Value;
  if (GetComponentState().Contains(csLoading))
    CalculateRects();
  else
    SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
  Invalidate();
}

void TcxScrollBar::CalculateMinThumbSize()
{
  FMinThumbSize = cxMinThumbSize;
  if (Painter() != TcxWinXPLookAndFeelPainter::Class()) return;
  HTHEME theme = dxThemeManager::OpenTheme(totScrollBar);
  if (!theme) return;
  const int part = Horizontal() ? cxGripperHorz : cxGripperVert;
  SIZE minSize{}, trueSize{};
  if (dxUxTheme::GetThemePartSize(theme, nullptr, part, 1, nullptr, cxSizeMin, &minSize) != 0) return;
  const int minLength = Horizontal() ? minSize.cx : minSize.cy;
  if (dxUxTheme::GetThemePartSize(theme, nullptr, part, 1, nullptr, cxSizeTrue, &trueSize) != 0)
    FMinThumbSize = minLength;
  else
    FMinThumbSize = std::max(minLength, (Horizontal() ? trueSize.cx : trueSize.cy) + 4);
  FMinThumbSize = std::max(FMinThumbSize, cxMinThumbSize);
}

void TcxScrollBar::CalculateRects()
{
  const int w = GetWidth(), h = GetHeight();
  if (Horizontal()) {
    int arrow = std::min(Windows::GetSystemMetrics(SM_CYHSCROLL), w / 2);
    FTopLeftArrowRect = RECT{0, 0, arrow, h};
    FBottomRightArrowRect = RECT{w - arrow, 0, w, h};
  } else {
    int arrow = std::min(Windows::GetSystemMetrics(SM_CXVSCROLL), h / 2);
    FTopLeftArrowRect = RECT{0, 0, w, arrow};
    FBottomRightArrowRect = RECT{0, h - arrow, w, h};
  }
  CalculateThumbnailRect();
}

void TcxScrollBar::CalculateThumbnailRect()
{
  FThumbRect = RECT{};
  CalculatePageRects();
  if (!GetEnabled()) return;
  const int start = Horizontal() ? FTopLeftArrowRect.right : FTopLeftArrowRect.bottom;
  const int free = (Horizontal() ? FBottomRightArrowRect.left : FBottomRightArrowRect.top) - start;
  int length, offset;
  if (FPageSize != 0) {
    length = std::min(free, Math::MulDiv(FPageSize, free, FMax - FMin + 1));
    if (free < FMinThumbSize || FMax == FMin) return;
    length = std::max(length, FMinThumbSize);
    // No room to scroll (the page covers the range): the thumb stays at the start.
    const int d = FMax - FMin - FPageSize + 1;
    offset = d <= 0 ? 0 : Math::MulDiv(free - length, std::min(FPosition - FMin, d), d);
  } else {
    length = Windows::GetSystemMetrics(Horizontal() ? SM_CXHTHUMB : SM_CYVTHUMB);
    if (free < length) return;
    offset = free - length <= 0 || FMax == FMin ? 0 : Math::MulDiv(free - length, FPosition - FMin, FMax - FMin);
  }
  if (Horizontal())
    FThumbRect = RECT{start + offset, 0, start + offset + length, GetHeight()};
  else
    FThumbRect = RECT{0, start + offset, GetWidth(), start + offset + length};
  CalculatePageRects();
}

void TcxScrollBar::CalculatePageRects()
{
  if (cxGraphics::IsRectEmpty(FThumbRect)) {
    FPageUpRect = FPageDownRect = RECT{};
  } else if (Horizontal()) {
    FPageUpRect = RECT{FTopLeftArrowRect.right, 0, FThumbRect.left, GetHeight()};
    FPageDownRect = RECT{FThumbRect.right, 0, FBottomRightArrowRect.left, GetHeight()};
  } else {
    FPageUpRect = RECT{0, FTopLeftArrowRect.bottom, GetWidth(), FThumbRect.top};
    FPageDownRect = RECT{0, FThumbRect.bottom, GetWidth(), FBottomRightArrowRect.top};
  }
}

int TcxScrollBar::GetPositionFromThumb() const
{
  const int start = Horizontal() ? FTopLeftArrowRect.right : FTopLeftArrowRect.bottom;
  const int free = (Horizontal() ? FBottomRightArrowRect.left : FBottomRightArrowRect.top) - start;
  const int thumbStart = Horizontal() ? FThumbRect.left : FThumbRect.top;
  const int thumbLength = Horizontal() ? FThumbRect.right - FThumbRect.left : FThumbRect.bottom - FThumbRect.top;
  // A thumb that fills the track cannot move: the position stays.
  if (free - thumbLength <= 0) return FPosition;
  int range = FMax - FMin;
  if (FPageSize > 0) range = range + 1 - FPageSize;
  return std::clamp(FMin + Math::MulDiv(range, thumbStart - start, free - thumbLength), FMin, FMax);
}

RECT TcxScrollBar::GetPartRect(TcxScrollBarPart Part) const
{
  switch (Part) {
    case sbpTopLeftArrow: return FTopLeftArrowRect;
    case sbpBottomRightArrow: return FBottomRightArrowRect;
    case sbpThumb: return FThumbRect;
    case sbpPageUp: return FPageUpRect;
    case sbpPageDown: return FPageDownRect;
    default: return RECT{};
  }
}

TcxScrollBarPart TcxScrollBar::GetPartAt(int X, int Y) const
{
  const POINT p{X, Y};
  const RECT client{0, 0, GetWidth(), GetHeight()};
  if (!Windows::PtInRect(&client, p)) return sbpNone;
  if (Windows::PtInRect(&FTopLeftArrowRect, p)) return sbpTopLeftArrow;
  if (Windows::PtInRect(&FBottomRightArrowRect, p)) return sbpBottomRightArrow;
  if (cxGraphics::IsRectEmpty(FThumbRect)) return sbpNone;
  if (Windows::PtInRect(&FThumbRect, p)) return sbpThumb;
  if (Windows::PtInRect(&FPageUpRect, p)) return sbpPageUp;
  if (Windows::PtInRect(&FPageDownRect, p)) return sbpPageDown;
  return sbpNone;
}

// ---- Mouse and tracking

bool TcxScrollBar::HoldsCapture() const
{
  return HandleAllocated() && Windows::GetCapture() == const_cast<TcxScrollBar*>(this)->GetHandle();
}

TcxScrollBarPart TcxScrollBar::PartUnderCursor()
{
  POINT p{};
  Windows::GetCursorPos(&p);
  if (HandleAllocated()) Windows::ScreenToClient(GetHandle(), &p);
  return GetPartAt(p.x, p.y);
}

void TcxScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const TcxScrollBarPart part = GetPartAt(X, Y);
  if (part == sbpNone) return;
  if (part == sbpThumb) {
    FDownPoint = POINT{X, Y};
    FSavedPosition = FPosition;
    FSavedThumbPos = POINT{FThumbRect.left, FThumbRect.top};
    ScrollByCode(scTrack);
    FPressedPart = FHotPart = part;
  } else {
    FPressedPart = FHotPart = part;
    ScrollByCode(ScrollForPart(part));
    FTimer->SetInterval(cxRepeatFirstDelay);
    FTimer->SetEnabled(true);
  }
  Repaint();
}

void TcxScrollBar::DoTimer()
{
  if (!HoldsCapture() || FPressedPart == sbpNone || FPressedPart == sbpThumb) {
    CancelTracking();
    return;
  }
  if (FTimer->GetInterval() == cxRepeatFirstDelay) FTimer->SetInterval(cxRepeatDelay);
  ScrollByCode(ScrollForPart(FPressedPart));
  FTimer->SetEnabled(PartUnderCursor() == FPressedPart);
}

void TcxScrollBar::MouseMove(TShiftState Shift, int X, int Y)
{
  TCustomControl::MouseMove(Shift, X, Y);
  if (FPressedPart == sbpThumb) {
    DoThumbDrag(X, Y);
    return;
  }
  const TcxScrollBarPart part = GetPartAt(X, Y);
  if (FPressedPart != sbpNone) FTimer->SetEnabled(part == FPressedPart);
  if (part != FHotPart) {
    FHotPart = part;
    if (Painter()->HasButtonHotTrack()) Repaint();
  }
}

void TcxScrollBar::DoThumbDrag(int X, int Y)
{
  RECT area{0, 0, GetWidth(), GetHeight()};
  if (Horizontal())
    Windows::InflateRect(&area, cxTrackingAlong, cxTrackingAside);
  else
    Windows::InflateRect(&area, cxTrackingAside, cxTrackingAlong);
  if (!FUnlimitedTracking && !Windows::PtInRect(&area, POINT{X, Y})) {
    SetPosition(FSavedPosition);
    CalculateThumbnailRect();
    Invalidate();
    ScrollByCode(scTrack);
    return;
  }
  int delta = Horizontal() ? X - FDownPoint.x : Y - FDownPoint.y;
  if (delta == 0) return;
  const int low = Horizontal() ? FTopLeftArrowRect.right : FTopLeftArrowRect.bottom;
  const int high = Horizontal() ? FBottomRightArrowRect.left : FBottomRightArrowRect.top;
  const int length = Horizontal() ? FThumbRect.right - FThumbRect.left : FThumbRect.bottom - FThumbRect.top;
  const int origin = Horizontal() ? FSavedThumbPos.x : FSavedThumbPos.y;
  delta = std::clamp(delta, low - origin, std::max(low - origin, high - length - origin));
  if (Horizontal())
    FThumbRect = RECT{origin + delta, FThumbRect.top, origin + delta + length, FThumbRect.bottom};
  else
    FThumbRect = RECT{FThumbRect.left, origin + delta, FThumbRect.right, origin + delta + length};
  CalculatePageRects();
  Repaint();
  const int pos = GetPositionFromThumb();
  if (pos != FPosition) {
    FPosition = pos;
    ScrollByCode(scTrack);
  }
}

void TcxScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TCustomControl::MouseUp(Button, Shift, X, Y);
  CancelTracking();
  FHotPart = GetPartAt(X, Y);
}

void TcxScrollBar::CancelTracking()
{
  if (FPressedPart == sbpNone) return;
  if (FPressedPart == sbpThumb) {
    FPosition = GetPositionFromThumb();
    ScrollByCode(scPosition);
  }
  FTimer->SetEnabled(false);
  FPressedPart = FHotPart = sbpNone;
  ScrollByCode(scEndScroll);
  CalculateThumbnailRect();
  Invalidate();
}

void TcxScrollBar::MouseEnter(TControl*)
{
  if (Painter()->HasButtonHotTrack() || (FPressedPart != sbpNone && FPressedPart != sbpThumb)) Repaint();
}

void TcxScrollBar::MouseLeave(TControl*)
{
  if (FPressedPart != sbpThumb) FHotPart = sbpNone;
  if (Painter()->HasButtonHotTrack() || (FPressedPart != sbpNone && FPressedPart != sbpThumb)) Invalidate();
}

// ---- Messages

void TcxScrollBar::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      ScrollByCode(TScrollCode(LOWORD(Message.WParam)));
      Message.Result = 0;
      return;
    case CN_CTLCOLORSCROLLBAR:
      cxLookAndFeelPainters::RefreshScrollBarPatterns();
      Message.Result = Windows::DefWindowProc(GetHandle(), Message.Msg, Message.WParam, Message.LParam);
      return;
    case WM_CAPTURECHANGED:
      TCustomControl::WndProc(Message);
      if (reinterpret_cast<HWND>(Message.LParam) != (HandleAllocated() ? GetHandle() : nullptr)) CancelTracking();
      return;
    default: TCustomControl::WndProc(Message);
  }
}

void TcxScrollBar::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TcxScrollBar::WMCancelMode(TMessage& Message)
{
  CancelTracking();
  TCustomControl::WMCancelMode(Message);
}

void TcxScrollBar::CMEnabledChanged(TMessage& Message)
{
  TCustomControl::CMEnabledChanged(Message);
  CalculateRects();
  if (!GetEnabled()) CancelTracking();
  Invalidate();
}

void TcxScrollBar::CMVisibleChanged(TMessage& Message)
{
  if (!GetVisible()) CancelTracking();
  TCustomControl::CMVisibleChanged(Message);
}

void TcxScrollBar::CMSysColorChange(TMessage& Message)
{
  cxLookAndFeelPainters::RefreshScrollBarPatterns();
  TCustomControl::CMSysColorChange(Message);
}

void TcxScrollBar::CMMouseEnter(TMessage& Message)
{
  TCustomControl::CMMouseEnter(Message);
  auto* control = reinterpret_cast<TControl*>(Message.LParam);
  MouseEnter(control ? control : this);
}

void TcxScrollBar::CMMouseLeave(TMessage& Message)
{
  TCustomControl::CMMouseLeave(Message);
  auto* control = reinterpret_cast<TControl*>(Message.LParam);
  MouseLeave(control ? control : this);
}

void TcxScrollBar::LookAndFeelChanged()
{
  CalculateMinThumbSize();
  CalculateRects();
  Invalidate();
}

void TcxScrollBar::ThemeChanged()
{
  CalculateMinThumbSize();
  CalculateRects();
  Invalidate();
  cxLookAndFeelPainters::RefreshScrollBarPatterns();
  if (GetParent()) GetParent()->Realign();
}

// ---- Painting

TcxButtonState TcxScrollBar::PartState(TcxScrollBarPart Part) const
{
  if (!GetEnabled()) return cxbsDisabled;
  if (Part == sbpThumb && !Painter()->HasButtonHotTrack()) return cxbsNormal;
  if (FPressedPart != sbpNone) return Part == FPressedPart && Part == FHotPart ? cxbsPressed : cxbsNormal;
  if (Part == FHotPart && !GetComponentState().Contains(csDesigning)) return cxbsHot;
  return cxbsNormal;
}

void TcxScrollBar::Paint()
{
  const TcxCustomLookAndFeelPainterClass painter = Painter();
  const bool horizontal = Horizontal();
  if (cxGraphics::IsRectEmpty(FThumbRect))
    painter->DrawScrollBarPart(FCanvas.get(), horizontal, RECT{0, 0, GetWidth(), GetHeight()}, sbpPageUp, cxbsNormal);
  else
    painter->DrawScrollBarPart(FCanvas.get(), horizontal, FThumbRect, sbpThumb, PartState(sbpThumb));
  painter->DrawScrollBarPart(FCanvas.get(), horizontal, FTopLeftArrowRect, sbpTopLeftArrow, PartState(sbpTopLeftArrow));
  painter->DrawScrollBarPart(FCanvas.get(), horizontal, FBottomRightArrowRect, sbpBottomRightArrow,
                             PartState(sbpBottomRightArrow));
  if (!cxGraphics::IsRectEmpty(FPageUpRect))
    painter->DrawScrollBarPart(FCanvas.get(), horizontal, FPageUpRect, sbpPageUp, PartState(sbpPageUp));
  if (!cxGraphics::IsRectEmpty(FPageDownRect))
    painter->DrawScrollBarPart(FCanvas.get(), horizontal, FPageDownRect, sbpPageDown, PartState(sbpPageDown));
  Windows::BitBlt(GetCanvas()->GetHandle(), 0, 0, GetWidth(), GetHeight(), FCanvas->GetHandle(), 0, 0, SRCCOPY);
}

PELTO_DEFINE_CLASS(TcxScrollBar)
PELTO_PUBLISH(TcxScrollBar, p)
{
  p.Property("Kind", &ThisClass::GetKind, &ThisClass::SetKind).Default(sbHorizontal);
  p.Property("Max", &ThisClass::GetMax, &ThisClass::SetMax).Default(100);
  p.Property("Min", &ThisClass::GetMin, &ThisClass::SetMin).Default(0);
  p.Property("PageSize", &ThisClass::GetPageSize, &ThisClass::SetPageSize);
  p.Property("Position", &ThisClass::GetPosition, &ThisClass::SetPosition).Default(0);
  p.Property("SmallChange", TypeInfo_TScrollBarInc(), &ThisClass::GetSmallChange, &ThisClass::SetSmallChange)
      .Default(1);
  p.Property("LargeChange", TypeInfo_TScrollBarInc(), &ThisClass::GetLargeChange, &ThisClass::SetLargeChange)
      .Default(1);
  p.Property("UnlimitedTracking", &ThisClass::GetUnlimitedTracking, &ThisClass::SetUnlimitedTracking).Default(false);
  p.Property("OnChange", TypeInfo_TNotifyEvent(), &ThisClass::OnChange, &ThisClass::OnChange);
  p.Property("OnScroll", TypeInfo_TScrollEvent(), &ThisClass::OnScroll, &ThisClass::OnScroll);
}

// Sections: outline windows -> view info -> size and position -> sizing and the close button.
#include "controls/editors/dropdown/cxEditPopupWindow.h"

#include <algorithm>
#include <array>

#include "controls/editors/edit/cxEdit.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "controls/framework/cxGraphics.h"
#include "platform/forms/controls/ControlTypes.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/app/Screen.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/win/input/Focus.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/win/WinUser.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

// ==== Outline windows ==========================================================================

// Four thin borderless windows that together draw nested dotted rectangles around a screen
// rectangle, above everything and never active.
class TcxSizingOutline {
public:
  explicit TcxSizingOutline(int AWidth) : FWidth(std::max(AWidth, 2)) {}
  ~TcxSizingOutline()
  {
    for (HWND& w : FBands)
      if (w) Windows::DestroyWindow(w);
  }
  void Show(const RECT& R)
  {
    FRect = R;
    FShown = true;
    const int w = FWidth;
    const RECT bands[4] = {{R.left, R.top, R.right, R.top + w},
                           {R.left, R.bottom - w, R.right, R.bottom},
                           {R.left, R.top + w, R.left + w, R.bottom - w},
                           {R.right - w, R.top + w, R.right, R.bottom - w}};
    for (int i = 0; i < 4; ++i) {
      if (!FBands[i]) FBands[i] = MakeBand();
      const RECT& b = bands[i];
      Windows::SetWindowPos(FBands[i], HWND_TOPMOST, b.left, b.top, std::max<int>(0, b.right - b.left),
                            std::max<int>(0, b.bottom - b.top), SWP_NOACTIVATE | SWP_SHOWWINDOW);
      Windows::InvalidateRect(FBands[i], nullptr, TRUE);
      Windows::UpdateWindow(FBands[i]);
    }
  }
  void Hide()
  {
    FShown = false;
    for (HWND w : FBands)
      if (w) Windows::ShowWindow(w, SW_HIDE);
  }
  bool IsShown() const { return FShown; }
  const RECT& GetRect() const { return FRect; }

private:
  static LRESULT BandProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
  {
    if (Msg == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = Windows::BeginPaint(Wnd, &ps);
      RECT r;
      Windows::GetClientRect(Wnd, &r);
      HBRUSH white = Windows::CreateSolidBrush(RGB(255, 255, 255));
      Windows::FillRect(dc, &r, white);
      Windows::DeleteObject(white);
      // The dots of a focus rectangle, whose pattern runs on across the bands.
      RECT wr;
      Windows::GetWindowRect(Wnd, &wr);
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
          if (((x + wr.left + y + wr.top) & 1) == 0) Windows::SetPixel(dc, x, y, RGB(0, 0, 0));
      Windows::EndPaint(Wnd, &ps);
      return 0;
    }
    if (Msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    if (Msg == WM_NCHITTEST) return HTTRANSPARENT;
    return Windows::DefWindowProc(Wnd, Msg, W, L);
  }
  static HWND MakeBand()
  {
    // Registered each time: the window layer may have been started again since (a second
    // registration of a known class only fails).
    WNDCLASSEXA wc;
    wc.lpfnWndProc = BandProc;
    wc.lpszClassName = "cxSizingOutline";
    Windows::RegisterClassEx(&wc);
    return Windows::CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "cxSizingOutline", "", WS_POPUP,
                                   0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  }

  int FWidth;
  RECT FRect{};
  bool FShown = false;
  std::array<HWND, 4> FBands{};
};

// ==== View info ================================================================================

void TcxCustomEditPopupWindowViewInfo::InternalPaint(TcxCanvas* Canvas)
{
  Info.Bounds = Bounds;
  cxEditUtils::PaintPopupWindowViewInfo(Canvas, Info);
}

void TcxCustomEditPopupWindowViewInfo::Calculate(int AWidth, int AHeight)
{
  Bounds = RECT{0, 0, AWidth, AHeight};
  Info.Bounds = Bounds;
  cxEditUtils::CalculatePopupLayout(Info);
  ClientRect = Info.ClientRect;
  BorderRect = Info.ClientRect;
}

RECT TcxCustomEditPopupWindowViewInfo::GetBorderExtents()
{
  RECT e;
  cxEditUtils::CalculatePopupBorderExtents(Info, e);
  return e;
}

void TcxCustomEditPopupWindowViewInfo::GetSizingDirection(POINT P, int& DX, int& DY)
{
  DX = DY = 0;
  if (!Info.Sizeable || !Windows::PtInRect(&Bounds, P)) return;
  const int corner = Info.SizeGripCorner;
  const int gripDX = (corner == 1 || corner == 3) ? 1 : -1, gripDY = (corner == 2 || corner == 3) ? 1 : -1;
  if (Windows::PtInRect(&Info.SizeGripSizingRect, P)) {
    DX = gripDX;
    DY = gripDY;
    return;
  }
  // The border bands outside the content; the system panel is no band.
  const RECT& c = Info.ClientRect;
  const RECT& s = Info.SizingRegionBounds;
  const int band = std::max(1, std::min<int>(Info.SizingRegionBandWidth, 4));
  if (gripDX < 0 ? P.x < s.left + band && P.x < c.left : P.x >= s.right - band && P.x >= c.right) DX = gripDX;
  const bool panelSide = Info.SysPanel;
  if (gripDY < 0) {
    if (P.y < c.top && (!panelSide || P.y < s.top + 1)) DY = gripDY;
  } else {
    if (P.y >= c.bottom && (!panelSide || P.y >= s.bottom - 1)) DY = gripDY;
  }
}

// ==== Window ===================================================================================

TcxCustomEditPopupWindow::TcxCustomEditPopupWindow(TcxCustomEdit* AOwnerEdit)
    : TcxCustomPopupWindow(AOwnerEdit), FEdit(AOwnerEdit)
{
  SetFitToControls(false);
}

TcxCustomEditPopupWindow::~TcxCustomEditPopupWindow() { FOutline.reset(); }

std::unique_ptr<TcxContainerViewInfo> TcxCustomEditPopupWindow::CreateViewInfo()
{
  return std::make_unique<TcxCustomEditPopupWindowViewInfo>();
}

TcxCustomEditPopupWindowViewInfo* TcxCustomEditPopupWindow::GetPopupViewInfo()
{
  return static_cast<TcxCustomEditPopupWindowViewInfo*>(GetViewInfo());
}

const TcxCustomEditPopupWindowViewInfo& TcxCustomEditPopupWindow::GetViewInfoConst() const
{
  return *const_cast<TcxCustomEditPopupWindow*>(this)->GetPopupViewInfo();
}

void TcxCustomEditPopupWindow::FillViewInfo()
{
  TcxEditPopupPaintInfo& i = GetPopupViewInfo()->Info;
  i.BorderStyle = FBorderStyle;
  i.ClientEdge = FClientEdge;
  i.CloseButton = FSysPanelStyle;
  i.CloseButtonLookAndFeelKind = FCloseButtonKind;
  i.MinSysPanelHeight = FMinSysPanelHeight;
  i.NativeStyle = FNativeStyle;
  i.Shadow = FShadow;
  i.Sizeable = FSizeable;
  i.SysPanel = FSysPanelStyle;
  i.SizeGripCorner = FGripCorner;
}

SIZE TcxCustomEditPopupWindow::GetMinSize()
{
  FillViewInfo();
  const RECT e = GetPopupViewInfo()->GetBorderExtents();
  SIZE s{e.left + e.right, e.top + e.bottom};
  if (FSizeable && FSysPanelStyle) {
    const int panel = cxEditUtils::GetSysPanelNaturalHeight(GetPopupViewInfo()->Info);
    s.cx += (panel - 4) + (panel - 2) + 10;
  }
  return s;
}

RECT TcxCustomEditPopupWindow::GetEditScreenRect()
{
  RECT r{0, 0, FEdit->GetWidth(), FEdit->GetHeight()};
  if (auto* vi = dynamic_cast<TcxCustomEditViewInfo*>(FEdit->GetViewInfo()); vi && vi->Bounds.right > vi->Bounds.left)
    cxEditUtils::GetPopupOwnerRect(*vi, r);
  const POINT tl = FEdit->ClientToScreen(POINT{r.left, r.top});
  return RECT{tl.x, tl.y, tl.x + (r.right - r.left), tl.y + (r.bottom - r.top)};
}

void TcxCustomEditPopupWindow::CalculateSize()
{
  const SIZE minSize = GetMinSize();
  const RECT e = GetPopupViewInfo()->GetBorderExtents();
  SIZE content{0, 0};
  if (FPopupAutoSize) {
    if (OnGetContentSize)
      OnGetContentSize(this, content);
    else if (Content)
      content = SIZE{Content->GetWidth(), Content->GetHeight()};
  }
  int w, h;
  if (FPopupAutoSize) {
    w = content.cx + e.left + e.right;
  } else {
    w = FPopupWidth > 0 ? FPopupWidth : FEdit->GetWidth();
    if (FSizeable) w = std::max(w, FMinWidth);
  }
  if (FPopupAutoSize) {
    h = content.cy + e.top + e.bottom;
  } else {
    h = FPopupHeight > 0 ? FPopupHeight : std::max<int>(FMinHeight, minSize.cy);
    if (FSizeable) h = std::max(h, FMinHeight);
  }
  SetBounds(GetLeft(), GetTop(), std::max<int>(w, minSize.cx), std::max<int>(h, minSize.cy));
}

POINT TcxCustomEditPopupWindow::CalculatePosition()
{
  const RECT owner = GetEditScreenRect();
  SetAnchorControl(nullptr);
  SetAnchorBounds(owner);
  SetHorzPlacement(FAlignHorz);
  SetVertPlacement(2);
  SetPopupAxis(1);
  POINT p = TcxCustomPopupWindow::CalculatePosition();
  const int w = GetWidth();
  const RECT work = cxControls::GetDesktopWorkArea(POINT{owner.left, owner.bottom});
  const bool below = p.y >= owner.bottom;
  bool right;
  switch (FAlignHorz) {
    case 0: right = p.x == owner.left || owner.left < work.left; break;
    case 2: right = p.x != owner.right - w || owner.left < work.left; break;
    default: right = work.right - owner.right >= owner.left - work.left || owner.left < work.left; break;
  }
  FGripCorner = (below ? 2 : 0) + (right ? 1 : 0);
  if (FShadow && !below) p.y += 3;
  return p;
}

void TcxCustomEditPopupWindow::RecalculateLayout()
{
  FillViewInfo();
  GetPopupViewInfo()->Calculate(GetWidth(), GetHeight());
  GetPopupViewInfo()->BackgroundColor = GetColor();
  if (Content) Content->SetBoundsRect(GetPopupViewInfo()->ClientRect);
  if (HandleAllocated()) {
    // A pop-up above its editor leaves the part of its shadow over the editor out.
    RECT owner = GetEditScreenRect();
    Windows::OffsetRect(&owner, -GetLeft(), -GetTop());
    cxEditUtils::UpdatePopupWindowRegion(GetHandle(), GetPopupViewInfo()->Info, owner);
    Invalidate();
  }
}

void TcxCustomEditPopupWindow::Resize()
{
  TcxCustomPopupWindow::Resize();
  RecalculateLayout();
}

void TcxCustomEditPopupWindow::ClosePopup(bool AskCloseQuery)
{
  EndSizing(false);
  TcxCustomPopupWindow::ClosePopup(AskCloseQuery);
  if (!IsShown()) {
    FCloseButtonPressed = false;
    GetPopupViewInfo()->Info.CloseButtonState = cxbsNormal;
  }
}

// ==== Sizing and the close button ==============================================================

bool TcxCustomEditPopupWindow::IsOutlineShown() const { return FOutline && FOutline->IsShown(); }

RECT TcxCustomEditPopupWindow::GetOutlineRect() const { return FOutline ? FOutline->GetRect() : RECT{}; }

RECT TcxCustomEditPopupWindow::TrackRect(int DX, int DY)
{
  RECT r = FSizingStartRect;
  const SIZE minSize = GetMinSize();
  const int minW = std::max<int>(minSize.cx, FMinWidth), minH = std::max<int>(minSize.cy, FMinHeight);
  const RECT owner = GetEditScreenRect();
  const RECT work = cxControls::GetDesktopWorkArea(POINT{owner.left, owner.bottom});
  if (FSizingDX > 0) {
    r.right = std::min<int>(r.right + DX, work.right);
    r.right = std::max<int>(r.right, std::max<int>(r.left + minW, owner.left + 1));
  } else if (FSizingDX < 0) {
    r.left = std::max<int>(r.left + DX, work.left);
    r.left = std::min<int>(r.left, std::min<int>(r.right - minW, owner.right - 1));
  }
  if (FSizingDY > 0) {
    r.bottom = std::min<int>(r.bottom + DY, work.bottom);
    r.bottom = std::max<int>(r.bottom, r.top + minH);
  } else if (FSizingDY < 0) {
    r.top = std::max<int>(r.top + DY, work.top);
    r.top = std::min<int>(r.top, r.bottom - minH);
  }
  return r;
}

void TcxCustomEditPopupWindow::EndSizing(bool Apply)
{
  if (!IsSizing()) return;
  FSizingDX = FSizingDY = 0;
  if (FOutline) FOutline->Hide();
  if (HasCapture()) Controls::SetCaptureControl(nullptr);
  if (!Apply) return;
  const RECT r = FSizingRect;
  const bool changed = (r.right - r.left) != GetWidth() || (r.bottom - r.top) != GetHeight();
  SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  RecalculateLayout();
  if (changed && OnUserResized) OnUserResized(this);
}

void TcxCustomEditPopupWindow::SetCloseButtonState(TcxButtonState State)
{
  TcxEditPopupPaintInfo& i = GetPopupViewInfo()->Info;
  if (i.CloseButtonState == State) return;
  i.CloseButtonState = State;
  if (HandleAllocated()) cxContainer::InvalidateControlRect(this, i.CloseButtonRect, false);
}

void TcxCustomEditPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TcxCustomPopupWindow::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  TcxCustomEditPopupWindowViewInfo* vi = GetPopupViewInfo();
  const POINT p{X, Y};
  if (vi->Info.CloseButton && Windows::PtInRect(&vi->Info.CloseButtonRect, p)) {
    FCloseButtonPressed = true;
    SetCloseButtonState(cxbsPressed);
    Controls::SetCaptureControl(this);
    return;
  }
  int dx, dy;
  vi->GetSizingDirection(p, dx, dy);
  if (dx == 0 && dy == 0) return;
  FSizingDX = dx;
  FSizingDY = dy;
  FSizingStart = ClientToScreen(p);
  FSizingStartRect = FSizingRect = RECT{GetLeft(), GetTop(), GetLeft() + GetWidth(), GetTop() + GetHeight()};
  Controls::SetCaptureControl(this);
  const int border = cxEditUtils::GetPopupBorderWidth(vi->Info, true);
  if (!FOutline) FOutline = std::make_unique<TcxSizingOutline>(border);
  RECT shown = FSizingRect;
  if (FShadow) {
    shown.right -= 3;
    shown.bottom -= 3;
  }
  FOutline->Show(shown);
}

void TcxCustomEditPopupWindow::MouseMove(TShiftState Shift, int X, int Y)
{
  TcxCustomPopupWindow::MouseMove(Shift, X, Y);
  const POINT p{X, Y};
  if (IsSizing() && !Shift.Contains(ssLeft)) {
    // The button went up elsewhere (the capture was taken away).
    EndSizing(false);
  } else if (IsSizing()) {
    const POINT s = ClientToScreen(p);
    FSizingRect = TrackRect(s.x - FSizingStart.x, s.y - FSizingStart.y);
    RECT shown = FSizingRect;
    if (FShadow) {
      shown.right -= 3;
      shown.bottom -= 3;
    }
    FOutline->Show(shown);
    return;
  }
  TcxEditPopupPaintInfo& i = GetPopupViewInfo()->Info;
  if (!i.CloseButton) return;
  const bool over = Windows::PtInRect(&i.CloseButtonRect, p);
  if (FCloseButtonPressed)
    SetCloseButtonState(over ? cxbsPressed : cxbsNormal);
  else
    SetCloseButtonState(over && !Shift.Contains(ssLeft) ? cxbsHot : cxbsNormal);
}

void TcxCustomEditPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TcxCustomPopupWindow::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (IsSizing()) {
    EndSizing(true);
    return;
  }
  if (!FCloseButtonPressed) return;
  FCloseButtonPressed = false;
  if (HasCapture()) Controls::SetCaptureControl(nullptr);
  TcxEditPopupPaintInfo& i = GetPopupViewInfo()->Info;
  if (i.CloseButtonState != cxbsPressed) return;
  if (!CloseQuery()) {
    SetCloseButtonState(cxbsHot);
    return;
  }
  if (OnCloseButtonClick)
    OnCloseButtonClick(this);
  else
    ClosePopup(false);
  if (IsShown()) SetCloseButtonState(cxbsHot);
}

void TcxCustomEditPopupWindow::Dispatch(TMessage& Message)
{
  if (Message.Msg == WM_SETCURSOR && HandleAllocated() && reinterpret_cast<HWND>(Message.WParam) == GetHandle()) {
    POINT p;
    Windows::GetCursorPos(&p);
    p = ScreenToClient(p);
    int dx = FSizingDX, dy = FSizingDY;
    if (!IsSizing()) GetPopupViewInfo()->GetSizingDirection(p, dx, dy);
    TCursor c = crDefault;
    if (dx != 0 && dy != 0)
      c = dx == dy ? crSizeNWSE : crSizeNESW;
    else if (dx != 0)
      c = crSizeWE;
    else if (dy != 0)
      c = crSizeNS;
    if (c != crDefault) {
      Windows::SetCursor(Forms::Screen->GetCursors(c));
      Message.Result = 1;
      return;
    }
  }
  if (Message.Msg == WM_CANCELMODE) EndSizing(false);
  if (Message.Msg == 0x806B) {
    // A character typed into the editor belongs to the control focused in the pop-up.
    TWinControl* f = GetFocusedControl();
    if (f && f->HandleAllocated()) Windows::SendMessage(f->GetHandle(), WM_CHAR, Message.WParam, 0);
    return;
  }
  TcxCustomPopupWindow::Dispatch(Message);
}

PELTO_DEFINE_CLASS(TcxCustomEditPopupWindowViewInfo)

PELTO_DEFINE_CLASS(TcxCustomEditPopupWindow)

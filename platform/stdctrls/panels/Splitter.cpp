#include "platform/stdctrls/panels/Splitter.h"

#include <algorithm>

#include "platform/forms/controls/WinControl.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/win/paint/Painting.h"

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner)
{
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
  SetCursor(crHSplit);
}

TSplitter::~TSplitter() = default;

void TSplitter::SetMinSize(int Value) { FMinSize = std::max(Value, 1); }

void TSplitter::SetBeveled(bool Value)
{
  if (Value == FBeveled) return;
  FBeveled = Value;
  Invalidate();
}

void TSplitter::RequestAlign()
{
  TGraphicControl::RequestAlign();
  SetCursor(Horizontal() ? crHSplit : crVSplit);
}

void TSplitter::Notification(TComponent* AComponent, TOperation Operation)
{
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FControl) FControl = nullptr;
}

TControl* TSplitter::FindControl()
{
  TWinControl* parent = GetParent();
  if (!parent) return nullptr;
  // The point just outside the splitter on the side of its alignment.
  POINT p{GetLeft(), GetTop()};
  switch (GetAlign()) {
    case alLeft: p.x -= 1; break;
    case alRight: p.x = GetLeft() + GetWidth(); break;
    case alTop: p.y -= 1; break;
    case alBottom: p.y = GetTop() + GetHeight(); break;
    default: return nullptr;
  }
  for (int i = 0; i < parent->GetControlCount(); ++i) {
    TControl* c = parent->GetControl(i);
    if (c == this || !c->GetVisible() || c->GetAlign() != GetAlign()) continue;
    RECT r = c->GetBoundsRect();
    // A collapsed control still counts as the one at the splitter's edge.
    bool atEdge = Horizontal() ? (GetAlign() == alLeft ? r.right == GetLeft() : r.left == GetLeft() + GetWidth())
                               : (GetAlign() == alTop ? r.bottom == GetTop() : r.top == GetTop() + GetHeight());
    bool across = Horizontal() ? p.y >= r.top && p.y < r.bottom : p.x >= r.left && p.x < r.right;
    if (atEdge && (across || r.right == r.left || r.bottom == r.top)) return c;
  }
  return nullptr;
}

int TSplitter::FitSize(int Size) const
{
  if (Size > FMaxSize) Size = FMaxSize;
  if (Size < FMinSize) Size = FAutoSnap && Size < FMinSize / 2 ? 0 : FMinSize;
  return std::max(Size, 0);
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FControl = FindControl();
  if (!FControl) return;
  FControl->FreeNotification(this);
  TWinControl* parent = GetParent();
  // The room: the parent less MinSize for what remains and every other control aligned to the
  // same axis (this one included).
  bool h = Horizontal();
  FMaxSize = (h ? parent->GetClientWidth() : parent->GetClientHeight()) - FMinSize;
  for (int i = 0; i < parent->GetControlCount(); ++i) {
    TControl* c = parent->GetControl(i);
    if (!c->GetVisible()) continue;
    if (h && (c->GetAlign() == alLeft || c->GetAlign() == alRight)) FMaxSize -= c->GetWidth();
    if (!h && (c->GetAlign() == alTop || c->GetAlign() == alBottom)) FMaxSize -= c->GetHeight();
  }
  FOldSize = h ? FControl->GetWidth() : FControl->GetHeight();
  FMaxSize += FOldSize;
  FNewSize = FOldSize;
  FDownPos = POINT{GetLeft() + X, GetTop() + Y};
  if (FResizeStyle == rsLine || FResizeStyle == rsPattern) DrawLine();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FControl || !Shift.Contains(ssLeft)) return;
  POINT p{GetLeft() + X, GetTop() + Y};
  int delta = 0;
  switch (GetAlign()) {
    case alLeft: delta = p.x - FDownPos.x; break;
    case alRight: delta = FDownPos.x - p.x; break;
    case alTop: delta = p.y - FDownPos.y; break;
    case alBottom: delta = FDownPos.y - p.y; break;
    default: break;
  }
  int size = FitSize(FOldSize + delta);
  bool accept = true;
  if (OnCanResize) OnCanResize(this, size, accept);
  if (!accept || size == FNewSize) return;
  bool line = FLineVisible;
  if (line) DrawLine();  // away from the old place
  FNewSize = size;
  if (FResizeStyle == rsUpdate)
    ApplySize();
  else if (line)
    DrawLine();
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FControl || Button != mbLeft) return;
  if (FLineVisible) DrawLine();
  if (FResizeStyle != rsUpdate) ApplySize();
  StopSizing();
}

void TSplitter::StopSizing()
{
  if (FControl) FControl->RemoveFreeNotification(this);
  FControl = nullptr;
}

void TSplitter::ApplySize()
{
  if (!FControl) return;
  int current = Horizontal() ? FControl->GetWidth() : FControl->GetHeight();
  if (current == FNewSize) return;
  // A control on the far side grows towards the splitter: its left (top) edge moves.
  switch (GetAlign()) {
    case alLeft: FControl->SetWidth(FNewSize); break;
    case alTop: FControl->SetHeight(FNewSize); break;
    case alRight:
      FControl->SetBounds(FControl->GetLeft() + current - FNewSize, FControl->GetTop(), FNewSize,
                          FControl->GetHeight());
      break;
    case alBottom:
      FControl->SetBounds(FControl->GetLeft(), FControl->GetTop() + current - FNewSize, FControl->GetWidth(), FNewSize);
      break;
    default: break;
  }
  Update();
  if (OnMoved) OnMoved(this);
}

void TSplitter::DrawLine()
{
  TWinControl* parent = GetParent();
  if (!parent || !parent->HandleAllocated()) return;
  bool h = Horizontal();
  int delta = FNewSize - FOldSize;
  if (GetAlign() == alRight || GetAlign() == alBottom) delta = -delta;
  FLinePos = (h ? GetLeft() : GetTop()) + delta;
  FLineVisible = !FLineVisible;
  HDC dc = Windows::GetDC(parent->GetHandle());
  if (h)
    Windows::PatBlt(dc, FLinePos, GetTop(), GetWidth(), GetHeight(), DSTINVERT);
  else
    Windows::PatBlt(dc, GetLeft(), FLinePos, GetWidth(), GetHeight(), DSTINVERT);
  Windows::ReleaseDC(parent->GetHandle(), dc);
}

void TSplitter::Paint()
{
  TCanvas* canvas = GetCanvas();
  RECT r = GetClientRect();
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(r);
  if (!FBeveled) return;
  // Raised edges along the splitter's length.
  if (Horizontal())
    r = RECT{r.left + 1, r.top, r.right - 1, r.bottom};
  else
    r = RECT{r.left, r.top + 1, r.right, r.bottom - 1};
  ExtCtrls::Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
}

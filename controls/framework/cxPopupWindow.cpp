#include "controls/framework/cxPopupWindow.h"

#include <algorithm>

#include "controls/framework/cxGraphics.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

TcxPopupWindow::TcxPopupWindow(TComponent* AOwner) : TForm(AOwner)
{
  SetBorderStyle(bsNone);
  FcxCanvas = std::make_unique<TcxCanvas>(GetCanvas());
}

TcxPopupWindow::~TcxPopupWindow() = default;

void TcxPopupWindow::CreateParams(TCreateParams& Params)
{
  TForm::CreateParams(Params);
  Params.Style |= WS_POPUP;
}

int TcxPopupWindow::GetBorderWidth(int)
{
  switch (FFrameStyle) {
    case 1:
    case 2: return 1;
    case 3: return 2;
    default: return 0;
  }
}

void TcxPopupWindow::SetFrameStyle(int Value)
{
  const int dx = GetFrameWidth(0), dy = GetFrameWidth(1);
  for (int i = 0; i < GetControlCount(); ++i) {
    TControl* c = GetControl(i);
    c->SetBounds(c->GetLeft() - dx, c->GetTop() - dy, c->GetWidth(), c->GetHeight());
  }
  FFrameStyle = Value;
}

void TcxPopupWindow::InitPopup()
{
  if (FAnchorControl) GetFont()->Assign(FAnchorControl->GetFont());
}

void TcxPopupWindow::CalculateSize()
{
  if (!FFitToControls) return;
  const int left = GetFrameWidth(0), top = GetFrameWidth(1);
  int right = 0, bottom = 0;
  for (int i = 0; i < GetControlCount(); ++i) {
    TControl* c = GetControl(i);
    right = std::max(right, c->GetLeft() + c->GetWidth());
    bottom = std::max(bottom, c->GetTop() + c->GetHeight());
    c->SetBounds(c->GetLeft() + left, c->GetTop() + top, c->GetWidth(), c->GetHeight());
  }
  if (right > 0) SetWidth(left + right + GetFrameWidth(2));
  if (bottom > 0) SetHeight(top + bottom + GetFrameWidth(3));
}

POINT TcxPopupWindow::CalculatePosition()
{
  RECT o = FAnchorBounds;
  if (FAnchorControl) {
    POINT tl = FAnchorControl->ClientToScreen(POINT{o.left, o.top});
    POINT br = FAnchorControl->ClientToScreen(POINT{o.right, o.bottom});
    o = RECT{tl.x, tl.y, br.x, br.y};
  }
  const int w = GetWidth(), h = GetHeight();
  int horz = FHorzPlacement, vert = FVertPlacement;
  int x = 0, y = 0;
  POINT anchor{o.left, o.top};
  auto place = [&] {
    if (horz == 1) {
      x = (o.left + o.right - w) / 2;
      anchor.x = (o.left + o.right) / 2;
    }
    if (vert == 1) {
      y = (o.top + o.bottom - h) / 2;
      anchor.y = (o.top + o.bottom) / 2;
    }
    if (FPopupAxis == 1) {
      if (horz == 0) x = anchor.x = o.left;
      if (horz == 2) x = o.right - w, anchor.x = o.right;
      if (vert == 0) y = o.top - h, anchor.y = o.top;
      if (vert == 2) y = anchor.y = o.bottom;
    } else {
      if (horz == 0) x = o.left - w, anchor.x = o.left;
      if (horz == 2) x = anchor.x = o.right;
      if (vert == 0) y = anchor.y = o.top;
      if (vert == 2) y = o.bottom - h, anchor.y = o.bottom;
    }
  };
  place();
  const RECT work = cxControls::GetDesktopWorkArea(anchor);
  if (FPopupAxis == 1) {
    const bool moreRoomAbove = work.bottom - o.bottom < o.top - work.top;
    if (vert == 2 && y + h > work.bottom && moreRoomAbove) {
      vert = 0;
      place();
    } else if (vert == 0 && y < work.top && !moreRoomAbove) {
      vert = 2;
      place();
    }
  } else {
    const bool moreRoomLeft = work.right - o.right < o.left - work.left;
    if (horz == 2 && x + w > work.right && moreRoomLeft) {
      horz = 0;
      place();
    } else if (horz == 0 && x < work.left && !moreRoomLeft) {
      horz = 2;
      place();
    }
  }
  if (FPopupAxis == 1 || horz == 1) {
    if (x + w > work.right) x = work.right - w;
    if (x < work.left) x = work.left;
  }
  if (FPopupAxis == 0 || vert == 1) {
    if (y + h > work.bottom) y = work.bottom - h;
    if (y < work.top) y = work.top;
  }
  return POINT{x, y};
}

void TcxPopupWindow::ShowPopup()
{
  InitPopup();
  CalculateSize();
  POINT p = CalculatePosition();
  SetBounds(p.x, p.y, GetWidth(), GetHeight());
  Show();
}

void TcxPopupWindow::DrawFrame()
{
  RECT r{0, 0, GetWidth(), GetHeight()};
  switch (FFrameStyle) {
    case 1: FcxCanvas->FrameRect(r, FFrameLineColor); break;
    case 2: FcxCanvas->DrawEdge(r, false, true); break;
    case 3: {
      FcxCanvas->DrawEdge(r, false, true);
      RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
      FcxCanvas->DrawEdge(inner, false, false);
      break;
    }
    default: break;
  }
}

void TcxPopupWindow::Paint()
{
  TForm::Paint();
  DrawFrame();
}

void TcxPopupWindow::Deactivate()
{
  TForm::Deactivate();
  HidePopup();
}

void TcxPopupWindow::Dispatch(TMessage& Message)
{
  if (Message.Msg == WM_ACTIVATE && LOWORD(Message.WParam) != WA_INACTIVE) {
    // The window that lost the activation keeps its active caption.
    FPrevActiveWindow = reinterpret_cast<HWND>(Message.LParam);
    if (FPrevActiveWindow) Windows::SendMessage(FPrevActiveWindow, WM_NCACTIVATE, TRUE, 0);
  } else if (Message.Msg == WM_ACTIVATEAPP && !Message.WParam) {
    if (FPrevActiveWindow) Windows::SendMessage(FPrevActiveWindow, WM_NCACTIVATE, FALSE, 0);
    HidePopup();
  }
  TForm::Dispatch(Message);
}

PELTO_DEFINE_CLASS(TcxPopupWindow)
